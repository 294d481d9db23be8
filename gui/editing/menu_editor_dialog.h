#pragma once
// MenuEditorDialog: the menu editor ("Editor de menús"), where one context-menu entry of the disc is entered or
// changed.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

#include "project/project.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kmr::gui {

class Prompts;
class CommandComposer;
struct EditState;

// What the menu editor shows and gives back.
struct MenuEntry {
    QString text;            // "Texto del menú:"
    QString command;         // "Comando del menú:"
    QString internalName;    // "Nombre interno del menú:"
    bool isDefault = false;  // "Seleccionar como clave"

    bool operator==(const MenuEntry&) const = default;
};

// The internal names of the menus a new or changed menu must not repeat.
QStringList menuInternalNames(const kmr::Project& project);
QStringList menuInternalNames(const std::vector<kmr::WizardMenu>& menus);

class MenuEditorDialog : public QDialog {
    Q_OBJECT
public:
    // Gives the internal names that "Aceptar" tests a changed name against; read at that moment.
    using NameSource = std::function<QStringList()>;
    // Tells whether an internal name is taken, for lists too long to gather their names each time.
    using NameTest = std::function<bool(const QString& name)>;

    MenuEditorDialog(EditState& state, Prompts& prompts, CommandComposer& builder, QWidget* parent = nullptr);

    // The names to test while the editor is opened with `editContext` (kEditFromWizard: the
    // wizard's menus, kEditFromProject: the active project's menus). A context without a source
    // tests nothing.
    void setNameSource(int editContext, NameSource source);
    void setNameTest(int editContext, NameTest test);

    void setEntry(const MenuEntry& entry);
    MenuEntry entry() const;

    // "Aceptar": refuses empty fields and a repeated internal name, else accepts. "Cancelar" is
    // reject(), which leaves the edit context alone, as the close box does.
    void tryAccept();
    // "Editar": the command builder composes the command on its program page.
    void composeCommand();

protected:
    // Every showing starts on the menu text, centred on the frame.
    void showEvent(QShowEvent* event) override;

private:
    bool nameTaken(const QString& name) const;

    EditState& m_state;
    Prompts& m_prompts;
    CommandComposer& m_builder;
    std::map<int, NameTest> m_nameTests;
    QLineEdit* m_text;
    QLineEdit* m_command;
    QLineEdit* m_name;
    QCheckBox* m_default;
};

}  // namespace kmr::gui
