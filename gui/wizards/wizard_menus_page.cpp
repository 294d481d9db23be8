// The wizard's page "Menús": the list of the menus of the drive's context menu, and its commands
// on the tool bar and in the list's context menu.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include "base/dialog_widgets.h"
#include "base/image_list.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/menu_editor_dialog.h"
#include "wizards/new_project.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_widgets.h"

namespace kmr::gui {

namespace {

const QString kDeleteQuestion = QStringLiteral("¿Seguro que desea eliminar el menú seleccionado?");

}  // namespace

QAction* NewProjectWizard::makeMenuCommand(const char* name, const QString& caption, const QString& hint, Picture image,
                                           const ImageList& images, void (NewProjectWizard::*handler)()) {
    auto* a = new QAction(images.icon(image), caption, this);
    a->setObjectName(QLatin1String(name));
    setHint(a, hint);
    connect(a, &QAction::triggered, this, handler);
    return a;
}

QWidget* NewProjectWizard::makeMenusPage(const ImageList& images) {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina2"));
    page->setAccessibleName(QStringLiteral("Menús"));

    const QList<QAction*> commands = {
        makeMenuCommand("Nuevo", QStringLiteral("&Nuevo"),
                        QStringLiteral("Nuevo|Crea un nuevo menú y lo añade al final de la lista"), Picture::Menu,
                        images, &NewProjectWizard::newMenu),
        makeMenuCommand("Propiedades", QStringLiteral("&Propiedades"),
                        QStringLiteral("Propiedades|Edita las propiedades del menú seleccionado"), Picture::Options,
                        images, &NewProjectWizard::editMenu),
        makeMenuCommand("Eliminar", QStringLiteral("&Eliminar"),
                        QStringLiteral("Eliminar|Elimina el menú seleccionado"), Picture::Delete, images,
                        &NewProjectWizard::deleteMenu),
        makeMenuCommand("Subir", QStringLiteral("&Subir"),
                        QStringLiteral("Subir|Sube una posición el menú seleccionado"), Picture::Up, images,
                        &NewProjectWizard::moveMenuUp),
        makeMenuCommand("Bajar", QStringLiteral("&Bajar"),
                        QStringLiteral("Bajar|Baja una posición el menú seleccionado"), Picture::Down, images,
                        &NewProjectWizard::moveMenuDown),
        makeMenuCommand("Clave", QStringLiteral("&Clave"),
                        QStringLiteral("Clave|Fija el menú seleccionado como predeterminado"), Picture::DefaultMenu,
                        images, &NewProjectWizard::toggleDefaultMenu),
    };
    m_clave = commands.last();
    m_clave->setCheckable(true);

    // The tool bar and the list's context menu offer the same commands with the same separators.
    auto* toolBar = new QToolBar(page);
    toolBar->setObjectName(QStringLiteral("BarraMenus"));
    toolBar->setIconSize(QSize(16, 16));
    m_menuPopup = new QMenu(this);
    m_menuPopup->setObjectName(QStringLiteral("MenuContextual"));
    for (qsizetype i = 0; i < commands.size(); ++i) {
        toolBar->addAction(commands[i]);
        m_menuPopup->addAction(commands[i]);
        // After "Nuevo", after "Eliminar" and after "Bajar".
        if (i == 0 || i == 2 || i == 4) {
            toolBar->addSeparator();
            m_menuPopup->addSeparator();
        }
    }
    // The context menu shows each entry's long hint as the mouse passes over it.
    connect(m_menuPopup, &QMenu::hovered, this, [this](QAction* a) { setStatusText(a->statusTip()); });

    m_menuList = new QTreeWidget(page);
    m_menuList->setObjectName(QStringLiteral("ListaMenus"));
    m_menuList->setColumnCount(3);
    m_menuList->setHeaderLabels(
        {QStringLiteral("Nombre"), QStringLiteral("Programa"), QStringLiteral("Nombre interno")});
    m_menuList->setRootIsDecorated(false);
    m_menuList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_menuList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_menuList->setIconSize(QSize(16, 16));
    // Room for a menu's words and a usual command; the internal name takes the rest.
    const int charWidth = m_menuList->fontMetrics().averageCharWidth();
    m_menuList->setColumnWidth(0, 32 * charWidth);
    m_menuList->setColumnWidth(1, 32 * charWidth);
    m_menuList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_menuList->setMinimumHeight(200);
    setHint(m_menuList, QStringLiteral("Lista de menús creados"));
    connect(m_menuList, &QTreeWidget::itemSelectionChanged, this, &NewProjectWizard::updateClaveButton);
    connect(m_menuList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menuPopup->exec(m_menuList->viewport()->mapToGlobal(pos)); });

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Comandos a incluir en el menú contextual de la unidad:"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("En el menú contextual de la unidad de CD-ROM puede incluir funciones varias, útiles para "
                       "incluir la ejecución alternativa de otros programas o funciones."),
        page));
    layout->addWidget(new QLabel(QStringLiteral("Funciones a incluir en el menú contextual:"), page));
    layout->addWidget(toolBar);
    layout->addWidget(m_menuList, 1);
    return page;
}

int NewProjectWizard::selectedMenu() const {
    const auto items = m_menuList->selectedItems();
    return items.isEmpty() ? -1 : m_menuList->indexOfTopLevelItem(items.constFirst());
}

void NewProjectWizard::selectMenu(int index) {
    QTreeWidgetItem* item = index >= 0 ? m_menuList->topLevelItem(index) : nullptr;
    m_menuList->clearSelection();
    if (item != nullptr) {
        m_menuList->setCurrentItem(item);
        item->setSelected(true);
    }
    updateClaveButton();
}

void NewProjectWizard::refreshMenuList(int selection) {
    m_menuList->clear();
    for (const kmr::WizardMenu& m : m_menus) {
        auto* item = new QTreeWidgetItem(m_menuList, {qs(m.text), qs(m.command), qs(m.name)});
        item->setIcon(0, m_images.icon(pictureOf(m.kind)));
    }
    selectMenu(selection);
}

void NewProjectWizard::updateClaveButton() {
    const int i = selectedMenu();
    m_clave->setChecked(i >= 0 && m_menus[static_cast<std::size_t>(i)].kind == kmr::Kind::DefaultMenu);
}

void NewProjectWizard::newMenu() {
    m_menuEditor.setEntry({qs(kmr::kNewMenuText), qs(kmr::kNewMenuCommand), qs(kmr::newMenuName(m_menus)), false});
    m_shared.edit.initialInternalName.clear();
    m_shared.edit.editContext = kEditFromWizard;
    m_menuEditor.exec();
    if (!m_shared.edit.accepted()) {
        updateClaveButton();
        return;
    }
    const MenuEntry e = m_menuEditor.entry();
    m_menus.push_back({utf8(e.text), utf8(e.command), utf8(e.internalName), kmr::Kind::PlainMenu});
    refreshMenuList(static_cast<int>(m_menus.size()) - 1);
    if (e.isDefault) toggleDefaultMenu();
}

void NewProjectWizard::editMenu() {
    const int i = selectedMenu();
    if (i < 0) return;
    const kmr::WizardMenu& m = m_menus[static_cast<std::size_t>(i)];
    const bool wasDefault = m.kind == kmr::Kind::DefaultMenu;
    m_menuEditor.setEntry({qs(m.text), qs(m.command), qs(m.name), wasDefault});
    m_shared.edit.initialInternalName = qs(m.name);
    m_shared.edit.editContext = kEditFromWizard;
    m_menuEditor.exec();
    if (!m_shared.edit.accepted()) {
        updateClaveButton();
        return;
    }
    const MenuEntry e = m_menuEditor.entry();
    kmr::WizardMenu& changed = m_menus[static_cast<std::size_t>(i)];
    changed.text = utf8(e.text);
    changed.command = utf8(e.command);
    changed.name = utf8(e.internalName);
    refreshMenuList(i);
    // "Clave" toggles, so it runs only when the box was changed.
    if (e.isDefault != wasDefault) toggleDefaultMenu();
}

void NewProjectWizard::deleteMenu() {
    const int i = selectedMenu();
    if (i < 0) return;
    if (m_prompts.message(kDeleteQuestion, QStringLiteral("Confirmación"), MessageIcon::Question,
                          MessageButtons::YesNo) == Answer::No) {
        return;
    }
    m_menus.erase(m_menus.begin() + i);
    refreshMenuList(-1);
}

void NewProjectWizard::moveMenuUp() {
    const int i = selectedMenu();
    if (i <= 0) return;
    std::swap(m_menus[static_cast<std::size_t>(i) - 1], m_menus[static_cast<std::size_t>(i)]);
    refreshMenuList(i - 1);
}

void NewProjectWizard::moveMenuDown() {
    const int i = selectedMenu();
    if (i < 0 || i + 1 >= static_cast<int>(m_menus.size())) return;
    std::swap(m_menus[static_cast<std::size_t>(i)], m_menus[static_cast<std::size_t>(i) + 1]);
    refreshMenuList(i + 1);
}

void NewProjectWizard::toggleDefaultMenu() {
    const int i = selectedMenu();
    if (i >= 0) {
        kmr::toggleDefaultMenu(m_menus, static_cast<std::size_t>(i));
        refreshMenuList(i);
    }
    // Also without a selection: a press on the button must not leave it showing pressed.
    updateClaveButton();
}

}  // namespace kmr::gui
