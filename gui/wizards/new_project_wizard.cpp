#include "wizards/new_project_wizard.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include "base/command_composer.h"
#include "base/dialog_placement.h"
#include "base/dialog_widgets.h"
#include "base/image_list.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/menu_editor_dialog.h"
#include "wizards/new_project.h"

namespace kmr::gui {

namespace {

const QString kLeaveQuestion =
    QStringLiteral("Si abandona así el asistente no se guardará la información recopilada. ¿Desea salir sin guardar?");
const QString kDeleteQuestion = QStringLiteral("¿Seguro que desea eliminar el menú seleccionado?");

// A hint holds a short part for the tool tip and a long part for the status line, split by "|";
// a hint without a bar serves for both.
template <class Hinted>
void setHint(Hinted* w, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QPushButton* makeButton(const QString& caption, const char* name, const QString& hint, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

// The template list shows no current item until the user picks one: by default a list that takes the
// focus marks its first entry, which looks like a choice but applies nothing.
class TemplateList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QListWidget::focusInEvent(event);
        if (selectedItems().isEmpty()) selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
};

QPlainTextEdit* makeReadOnlyText(const char* name, QWidget* parent) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    return t;
}

}  // namespace

NewProjectWizard::NewProjectWizard(SharedValues& shared, Prompts& prompts, const ImageList& images,
                                   MenuEditorDialog& menuEditor, CommandComposer& builder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_shared(shared),
      m_prompts(prompts),
      m_images(images),
      m_menuEditor(menuEditor),
      m_builder(builder),
      m_programFolder(QCoreApplication::applicationDirPath()) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Asistente de Quillmere"));

    // Pages without tabs: only the buttons below move between them.
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Paginas"));
    m_pages->addWidget(makeWelcomePage());
    m_pages->addWidget(makeGeneralPage());
    m_pages->addWidget(makeMenusPage(images));
    m_pages->addWidget(makeSummaryPage());

    auto* help =
        makeButton(QStringLiteral("&Ayuda"), "Ayuda",
                   QStringLiteral("Pulse aquí para obtener ayuda sobre el proceso de recopilación de datos"), this);
    m_previous = makeButton(QStringLiteral("A&nterior"), "Anterior",
                            QStringLiteral("Pulse aquí para seleccionar la pantalla anterior del asistente"), this);
    m_main = makeButton(QStringLiteral("&Siguiente"), "Siguiente",
                        QStringLiteral("Pulse aquí para seleccionar la pantalla siguiente del asistente o para "
                                       "finalizar el proceso (según texto)"),
                        this);
    m_main->setDefault(true);
    auto* cancel = makeButton(QStringLiteral("Cancelar"), "Cancelar",
                              QStringLiteral("Pulse aquí para cancelar el proceso de recopilación de datos"), this);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Estado"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setTextFormat(Qt::PlainText);
    // Two lines high, also while empty: the longest hints need them, and the buttons do not move
    // when a hint appears. Nor does a long hint widen the window: it wraps.
    m_status->setWordWrap(true);
    m_status->setFixedHeight(2 * m_status->fontMetrics().lineSpacing() + 2 * m_status->frameWidth() + 2);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_previous);
    buttons->addWidget(m_main);
    buttons->addSpacing(12);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    // A fixed frame, as large as the widest page needs in the interface font.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(help, &QPushButton::clicked, this, &NewProjectWizard::requestHelp);
    // F1 asks for the same topic as "Ayuda", on every page.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &NewProjectWizard::requestHelp);
    connect(m_previous, &QPushButton::clicked, this, &NewProjectWizard::goBack);
    connect(m_main, &QPushButton::clicked, this, &NewProjectWizard::advance);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The menu editor, opened from here, tests a new internal name against this list.
    m_menuEditor.setNameSource(kEditFromWizard, [this] { return menuInternalNames(m_menus); });
    updateButtons();
}

// ---------------------------------------------------------------------------------------------
// Pages

QWidget* NewProjectWizard::makeWelcomePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina0"));
    page->setAccessibleName(QStringLiteral("Bienvenido"));

    m_templateList = new TemplateList(page);
    m_templateList->setObjectName(QStringLiteral("Plantillas"));
    m_templateList->setViewMode(QListView::IconMode);
    m_templateList->setIconSize(QSize(TemplatePictures::kSize, TemplatePictures::kSize));
    m_templateList->setGridSize(QSize(96, 72));
    m_templateList->setMovement(QListView::Static);
    m_templateList->setResizeMode(QListView::Adjust);
    m_templateList->setWordWrap(true);
    m_templateList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_templateList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_templateList->viewport()->installEventFilter(this);
    m_templateList->setMinimumSize(520, 150);
    // Arrow keys and Space pick a template as a click does; a click applies it itself (also when it
    // picks the template already selected).
    connect(m_templateList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = m_templateList->selectedItems();
        if (!picked.isEmpty()) templateClicked(picked.constFirst());
    });

    m_explanation = makeReadOnlyText("Explicacion", page);
    m_explanation->setMaximumHeight(64);

    auto* open =
        makeButton(QStringLiteral("A&brir..."), "Abrir", QStringLiteral("Abre un proyecto KMR guardado"), page);
    auto* import = makeButton(QStringLiteral("&Importar..."), "Importar",
                              QStringLiteral("Importa un fichero AUTORUN.INF guardado"), page);
    m_noEdit = new QCheckBox(QStringLiteral("No &editar"), page);
    m_noEdit->setObjectName(QStringLiteral("NoEditar"));
    setHint(m_noEdit, QStringLiteral("No continuar con el asistente de recopilación de datos"));
    connect(open, &QPushButton::clicked, this, &NewProjectWizard::openProject);
    connect(import, &QPushButton::clicked, this, &NewProjectWizard::importAutorun);

    auto* row = new QHBoxLayout;
    row->addWidget(open);
    row->addWidget(import);
    row->addStretch();
    row->addWidget(m_noEdit);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Bienvenido:"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Este asistente le ayudará paso a paso a crear un fichero de autoarranque para Windows. "
                       "Rellene los datos que se le soliciten y recuerde que tiene a su disposición la ayuda "
                       "contextual del sistema."),
        page));
    QLabel* kind = makeHeadline(QStringLiteral("&Tipo de autorun que desea crear:"), page);
    kind->setBuddy(m_templateList);
    layout->addWidget(kind);
    layout->addWidget(makeExplanation(
        QStringLiteral("Seleccione el tipo de autorun que desea crear para que el asistente le guíe correctamente "
                       "en la selección de datos para su creación."),
        page));
    layout->addWidget(m_templateList, 1);
    layout->addWidget(m_explanation);
    layout->addLayout(row);
    return page;
}

QWidget* NewProjectWizard::makeGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina1"));
    page->setAccessibleName(QStringLiteral("Datos generales"));

    m_program = makeTextField(QStringLiteral("Programa"), page);
    setHint(m_program, QStringLiteral("Escriba aquí el comando que desea ejecutar"));
    auto* editProgram = makeButton(QStringLiteral("Editar"), "EditarPrograma",
                                   QStringLiteral("Pulse aquí para editar el comando de forma asistida"), page);
    m_resource = new QCheckBox(QStringLiteral("&Recurso con programa asociado"), page);
    m_resource->setObjectName(QStringLiteral("Recurso"));
    setHint(m_resource, QStringLiteral("Debe seleccionarlo para ficheros no ejecutables o páginas web"));
    m_icon = makeTextField(QStringLiteral("Icono"), page);
    setHint(m_icon, QStringLiteral("Escriba aquí el camino del icono que desea mostrar"));
    auto* editIcon = makeButton(QStringLiteral("Editar"), "EditarIcono",
                                QStringLiteral("Pulse aquí para editar el camino del icono de forma asistida"), page);
    m_label = makeTextField(QStringLiteral("Etiqueta"), page);
    setHint(m_label, QStringLiteral("Escriba aquí la etiqueta del CD que desea mostrar"));
    connect(editProgram, &QPushButton::clicked, this, &NewProjectWizard::composeProgram);
    connect(editIcon, &QPushButton::clicked, this, &NewProjectWizard::composeIcon);

    auto* grid = new QGridLayout;
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("&Programa a ejecutar:"), m_program, QStringLiteral("ProgramaEtiqueta"), page), 0,
        0, 1, 2);
    grid->addWidget(m_program, 1, 0);
    grid->addWidget(editProgram, 1, 1);
    grid->addWidget(m_resource, 2, 0, 1, 2);
    grid->addWidget(makeBuddyLabel(QStringLiteral("&Icono a mostrar:"), m_icon, QStringLiteral("IconoEtiqueta"), page),
                    3, 0, 1, 2);
    grid->addWidget(m_icon, 4, 0);
    grid->addWidget(editIcon, 4, 1);
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("&Etiqueta a mostrar:"), m_label, QStringLiteral("EtiquetaEtiqueta"), page), 5, 0,
        1, 2);
    grid->addWidget(m_label, 6, 0);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Introduzca los datos generales del CD"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Escriba aquí los principales datos para crear el nuevo CD. Puede poner un programa a "
                       "ejecutar automáticamente, un icono a mostrar y una etiqueta a mostrar en el icono del CD en "
                       "el explorador de Windows."),
        page));
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QAction* NewProjectWizard::makeMenuCommand(const char* name, const QString& caption, const QString& hint, int image,
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
                        QStringLiteral("Nuevo|Crea un nuevo menú y lo añade al final de la lista"), 6, images,
                        &NewProjectWizard::newMenu),
        makeMenuCommand("Propiedades", QStringLiteral("&Propiedades"),
                        QStringLiteral("Propiedades|Edita las propiedades del menú seleccionado"), 10, images,
                        &NewProjectWizard::editMenu),
        makeMenuCommand("Eliminar", QStringLiteral("&Eliminar"),
                        QStringLiteral("Eliminar|Elimina el menú seleccionado"), 5, images,
                        &NewProjectWizard::deleteMenu),
        makeMenuCommand("Subir", QStringLiteral("&Subir"),
                        QStringLiteral("Subir|Sube una posición el menú seleccionado"), 19, images,
                        &NewProjectWizard::moveMenuUp),
        makeMenuCommand("Bajar", QStringLiteral("&Bajar"),
                        QStringLiteral("Bajar|Baja una posición el menú seleccionado"), 18, images,
                        &NewProjectWizard::moveMenuDown),
        makeMenuCommand("Clave", QStringLiteral("&Clave"),
                        QStringLiteral("Clave|Fija el menú seleccionado como predeterminado"), 20, images,
                        &NewProjectWizard::toggleDefaultMenu),
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

QWidget* NewProjectWizard::makeSummaryPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina3"));
    page->setAccessibleName(QStringLiteral("Finalizar"));
    m_summary = makeReadOnlyText("Resumen", page);
    m_summary->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_summary->setMinimumHeight(200);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Cree su proyecto KMR"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Si ya ha rellenado todas las casillas solicitadas, pulse ahora sobre \"Finalizar\" para "
                       "crear el proyecto KMR con los datos introducidos."),
        page));
    layout->addWidget(m_summary, 1);
    return page;
}

// ---------------------------------------------------------------------------------------------
// Showing, moving between pages and closing

void NewProjectWizard::showEvent(QShowEvent* event) {
    // Returning from the menu editor or the builder is no new showing: only the wizard's own show
    // starts afresh.
    if (!event->spontaneous()) {
        startAfresh();
        // A fresh showing starts on the first field, not where the last one was left, and where the
        // first showing stood.
        centreOnOwner(this);
        startOn(m_templateList);
    }
    QDialog::showEvent(event);
}

void NewProjectWizard::startAfresh() {
    m_pages->setCurrentIndex(Bienvenido);
    m_program->clear();
    m_icon->clear();
    m_label->clear();
    m_explanation->clear();
    m_resource->setChecked(false);
    m_menus.clear();
    refreshMenuList(-1);
    m_templateList->clear();
    m_templates.clear();
    m_status->clear();
    m_finished = false;
    m_handedOff = false;
    m_shared.wizardFinished = false;
    updateButtons();
    loadTemplateList();
}

int NewProjectWizard::currentPage() const { return m_pages->currentIndex(); }

kmr::WizardData NewProjectWizard::data() const {
    return {utf8(m_program->text()), m_resource->isChecked(), utf8(m_icon->text()), utf8(m_label->text()), m_menus};
}

void NewProjectWizard::showPage(int page) {
    m_pages->setCurrentIndex(page);
    // The summary follows whatever the fields and the list hold now.
    if (page == Finalizar) m_summary->setPlainText(qs(kmr::wizardSummary(data())));
}

void NewProjectWizard::updateButtons() {
    m_previous->setEnabled(currentPage() != Bienvenido);
    m_main->setText(currentPage() == Finalizar ? QStringLiteral("&Finalizar") : QStringLiteral("&Siguiente"));
}

void NewProjectWizard::advance() {
    if (currentPage() == Finalizar) {
        m_finished = true;
        m_shared.wizardData = data();
        m_shared.wizardFinished = true;
        accept();
        return;
    }
    if (m_noEdit->isChecked()) {
        // Straight to the end; "Anterior" keeps the state it has.
        showPage(Finalizar);
        m_main->setText(QStringLiteral("&Finalizar"));
        return;
    }
    showPage(currentPage() + 1);
    updateButtons();
}

void NewProjectWizard::goBack() {
    if (currentPage() == Bienvenido) return;
    showPage(currentPage() - 1);
    updateButtons();
}

void NewProjectWizard::requestHelp() { emit helpRequested(kWizardHelpContext); }

void NewProjectWizard::done(int result) {
    if (!m_finished && !m_handedOff &&
        m_prompts.message(kLeaveQuestion, QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::YesNo) ==
            Answer::No) {
        return;
    }
    QDialog::done(result);
}

bool NewProjectWizard::event(QEvent* event) {
    // The status line shows the long hint of the control under the mouse.
    if (event->type() == QEvent::StatusTip) {
        setStatusText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void NewProjectWizard::setStatusText(const QString& text) { m_status->setText(text); }

// ---------------------------------------------------------------------------------------------
// Page "Bienvenido"

void NewProjectWizard::openProject() {
    emit openRequested();
    m_handedOff = true;
    close();
}

void NewProjectWizard::importAutorun() {
    emit importRequested();
    m_handedOff = true;
    close();
}

void NewProjectWizard::loadTemplateList() {
    m_templates = kmr::listTemplates(kmr::templateFolders(utf8(m_programFolder), kmr::templateEnvironmentOfProcess()));
    for (std::size_t i = 0; i < m_templates.size(); ++i) {
        const kmr::TemplateRecord& t = m_templates[i];
        auto* item = new QListWidgetItem(m_pictures.icon(t.picture), qs(t.name), m_templateList);
        item->setData(Qt::UserRole, static_cast<int>(i));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
}

void NewProjectWizard::applyTemplate(const kmr::TemplateRecord& record) {
    const kmr::WizardData d = kmr::applyTemplate(record);
    m_explanation->setPlainText(qs(record.explanation));
    m_program->setText(qs(d.runCommand));
    m_icon->setText(qs(d.icon));
    m_label->setText(qs(d.label));
    m_resource->setChecked(d.resource);
    m_menus = d.menus;
    refreshMenuList(-1);
}

void NewProjectWizard::templateClicked(QListWidgetItem* item) {
    if (item == nullptr) {
        // Empty space: only the explanation goes, the fields keep what they hold.
        m_templateList->clearSelection();
        m_explanation->clear();
        return;
    }
    m_templateList->setCurrentItem(item);
    applyTemplate(m_templates.at(static_cast<std::size_t>(item->data(Qt::UserRole).toInt())));
}

void NewProjectWizard::templateDoubleClicked() {
    if (!m_templateList->selectedItems().isEmpty()) advance();
}

bool NewProjectWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_templateList->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) templateClicked(m_templateList->itemAt(mouse->position().toPoint()));
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            templateDoubleClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Page "Datos generales"

void NewProjectWizard::composeProgram() {
    if (m_builder.execOn(kmr::BuilderPage::Nuevo)) {
        m_program->setText(m_shared.edit.builderResult);
        m_resource->setChecked(m_shared.edit.resourceFlag);
    }
}

void NewProjectWizard::composeIcon() {
    if (m_builder.execOn(kmr::BuilderPage::Icono)) m_icon->setText(m_shared.edit.builderResult);
}

// ---------------------------------------------------------------------------------------------
// Page "Menús"

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
        item->setIcon(0, m_images.icon(static_cast<int>(m.kind)));
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
