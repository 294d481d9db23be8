#include "editing/menu_editor_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "base/command_composer.h"
#include "base/dialog_placement.h"
#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"

namespace kmr::gui {

QStringList menuInternalNames(const kmr::Project& project) {
    QStringList names;
    for (const kmr::ProjectObject& o : project.objects) {
        // Only menus carry a second and third value; run entry, icon and label take no part.
        if (o.valueCount() >= 3) names << qs(o.menuName());
    }
    return names;
}

QStringList menuInternalNames(const std::vector<kmr::WizardMenu>& menus) {
    QStringList names;
    for (const kmr::WizardMenu& m : menus) names << qs(m.name);
    return names;
}

MenuEditorDialog::MenuEditorDialog(EditState& state, Prompts& prompts, CommandComposer& builder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowContextHelpButtonHint),
      m_state(state),
      m_prompts(prompts),
      m_builder(builder) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Editor de menús"));

    m_text = makeTextField(QStringLiteral("Texto"), this);
    m_text->setWhatsThis(QStringLiteral("Las palabras que muestra el menú contextual del CD."));
    m_command = makeTextField(QStringLiteral("Comando"), this);
    m_command->setWhatsThis(QStringLiteral("La línea de comando que ejecuta el menú."));
    m_name = makeTextField(QStringLiteral("NombreInterno"), this);
    m_name->setWhatsThis(
        QStringLiteral("El nombre con el que el menú se escribe en AUTORUN.INF; cada menú necesita uno distinto."));
    auto* edit = new QPushButton(QStringLiteral("&Editar"), this);
    edit->setObjectName(QStringLiteral("Editar"));
    // Outside the tab order, as the small button beside a field; Alt+E reaches it.
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAutoDefault(false);
    m_default = new QCheckBox(QStringLiteral("&Seleccionar como clave"), this);
    m_default->setObjectName(QStringLiteral("Clave"));
    m_default->setWhatsThis(QStringLiteral("El menú será la acción predeterminada del CD."));
    const auto [ok, cancel] = makeAcceptCancel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(makeBuddyLabel(QStringLiteral("&Texto del menú:"), m_text, QStringLiteral("TextoEtiqueta"), this),
                    0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("C&omando del menú:"), m_command, QStringLiteral("ComandoEtiqueta"), this), 1, 0);
    grid->addWidget(m_command, 1, 1);
    grid->addWidget(edit, 1, 2);
    grid->addWidget(makeBuddyLabel(QStringLiteral("&Nombre interno del menú:"), m_name,
                                   QStringLiteral("NombreInternoEtiqueta"), this),
                    2, 0);
    grid->addWidget(m_name, 2, 1);
    grid->addWidget(m_default, 3, 1);
    grid->setColumnMinimumWidth(1, 300);

    layOutWithButtons(this, grid, ok, cancel);

    setTabOrder(m_text, ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_command);
    setTabOrder(m_command, m_name);
    setTabOrder(m_name, m_default);

    connect(ok, &QPushButton::clicked, this, &MenuEditorDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edit, &QPushButton::clicked, this, &MenuEditorDialog::composeCommand);
}

void MenuEditorDialog::setNameSource(int editContext, NameSource source) {
    if (!source) {
        m_nameTests.erase(editContext);
        return;
    }
    // Exact comparison: "Menu1" and "menu1" are different names.
    setNameTest(editContext, [source = std::move(source)](const QString& name) {
        return source().contains(name, Qt::CaseSensitive);
    });
}

void MenuEditorDialog::setNameTest(int editContext, NameTest test) { m_nameTests[editContext] = std::move(test); }

void MenuEditorDialog::setEntry(const MenuEntry& entry) {
    m_text->setText(entry.text);
    m_command->setText(entry.command);
    m_name->setText(entry.internalName);
    m_default->setChecked(entry.isDefault);
}

MenuEntry MenuEditorDialog::entry() const {
    return {m_text->text(), m_command->text(), m_name->text(), m_default->isChecked()};
}

bool MenuEditorDialog::nameTaken(const QString& name) const {
    const auto test = m_nameTests.find(m_state.editContext);
    return test != m_nameTests.end() && test->second && test->second(name);
}

void MenuEditorDialog::tryAccept() {
    if (m_text->text().isEmpty() || m_command->text().isEmpty() || m_name->text().isEmpty()) {
        m_prompts.message(QStringLiteral("Debe rellenar todas las casillas."), QStringLiteral("Información"),
                          MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    // An unchanged name is not tested: the menu being edited carries it itself.
    const QString name = m_name->text();
    if (name != m_state.initialInternalName && nameTaken(name)) {
        m_prompts.message(
            QStringLiteral("No puede utilizar el mismo nombre para varios menús. Cambie el nombre interno "
                           "del menú."),
            QStringLiteral("Atención"), MessageIcon::Warning, MessageButtons::Ok);
        m_name->setFocus();
        return;
    }
    m_state.editContext = kEditAccepted;
    accept();
}

void MenuEditorDialog::showEvent(QShowEvent* event) {
    // Returning from the command builder is no new showing.
    if (!event->spontaneous()) {
        centreOnOwner(this);
        startOn(m_text);
    }
    QDialog::showEvent(event);
}

void MenuEditorDialog::composeCommand() {
    // A menu runs a command line, so the builder composes it in its explorer-compatible form.
    if (m_builder.execOn(kmr::BuilderPage::Programa, true)) m_command->setText(m_state.builderResult);
}

}  // namespace kmr::gui
