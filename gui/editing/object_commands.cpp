#include "editing/object_commands.h"

#include <utility>

#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/object_rules.h"
#include "editing/value_dialog.h"
#include "project/object_list_model.h"
#include "project/project_host.h"
#include "project/project_window.h"

namespace kmr::gui {

namespace {

// A value of an object, empty when the object has fewer values than that.
QString valueAt(const kmr::ProjectObject& o, std::size_t i) { return qs(o.value(i)); }

kmr::ProjectObject makeSingle(kmr::Kind kind, const QString& value, bool resource) {
    switch (kind) {
        case kmr::Kind::RunEntry: return kmr::makeRunEntry(utf8(value), resource);
        case kmr::Kind::Icon: return kmr::makeIcon(utf8(value));
        case kmr::Kind::Label:
        case kmr::Kind::PlainMenu:
        case kmr::Kind::DefaultMenu: break;
    }
    return kmr::makeLabel(utf8(value));
}

}  // namespace

ObjectCommands::ObjectCommands(ProjectHost& host, OnDemand<MenuEditorDialog>& menuEditor,
                               OnDemand<ValueDialog>& valueDialog, QObject* parent)
    : QObject(parent), m_host(host), m_menuEditor(menuEditor), m_valueDialog(valueDialog) {
    // From a project window, a menu's internal name must not repeat one of that project's menus.
    m_menuEditor.whenMade([this](MenuEditorDialog& editor) {
        editor.setNameTest(kEditFromProject, [this](const QString& name) {
            const ProjectWindow* window = !m_menuTarget.isNull() ? m_menuTarget.data() : m_host.activeProjectWindow();
            return window != nullptr && window->objects().hasMenuName(utf8(name));
        });
    });
}

// ---------------------------------------------------------------------------------------------
// Dialogs

// The timers keep running while a dialog is open, and the hand-off may open another project window
// meanwhile; the command goes on with the window it started on.

bool ObjectCommands::askValue(ProjectWindow* window, ValueMode mode, const QString& value, bool resource) {
    const QPointer<ProjectWindow> target(window);
    EditState& edit = m_host.shared().edit;
    m_valueDialog->setUp(mode, value, resource);
    // Anything but kEditAccepted, which only the dialog's "Aceptar" sets.
    edit.editContext = kEditFromWizard;
    m_valueDialog->exec();
    return edit.accepted() && !target.isNull();
}

std::optional<MenuEntry> ObjectCommands::askMenu(ProjectWindow* window, const MenuEntry& entry,
                                                 const QString& initialInternalName) {
    EditState& edit = m_host.shared().edit;
    m_menuTarget = window;
    m_menuEditor->setEntry(entry);
    edit.initialInternalName = initialInternalName;
    edit.editContext = kEditFromProject;
    m_menuEditor->exec();
    const bool stillThere = !m_menuTarget.isNull();
    m_menuTarget = nullptr;
    if (!edit.accepted() || !stillThere) return std::nullopt;
    return m_menuEditor->entry();
}

// ---------------------------------------------------------------------------------------------
// Insert

void ObjectCommands::insertSingle(kmr::Kind kind, ValueMode mode) {
    m_host.refreshObjectCommands();
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr || child->objects().contains(kind)) return;
    if (!askValue(child, mode, QString(), false)) return;
    // The selected object stays selected wherever the new one pushes it.
    child->objects().insert(makeSingle(kind, m_valueDialog->value(), m_valueDialog->resource()));
    child->markChanged();
}

void ObjectCommands::insertRunEntry() { insertSingle(kmr::Kind::RunEntry, ValueMode::Program); }
void ObjectCommands::insertIcon() { insertSingle(kmr::Kind::Icon, ValueMode::Icon); }
void ObjectCommands::insertLabel() { insertSingle(kmr::Kind::Label, ValueMode::Label); }

void ObjectCommands::insertMenu() {
    // Menus are not limited in number, so there is nothing to refresh first.
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto accepted = askMenu(child, MenuEntry{}, QString());
    if (!accepted) return;
    const MenuEntry& e = *accepted;
    ObjectListModel& objects = child->objects();
    if (e.isDefault) objects.clearDefaults();
    objects.insert(kmr::makeMenu(utf8(e.text), utf8(e.command), utf8(e.internalName), e.isDefault));
    child->markChanged();
}

// ---------------------------------------------------------------------------------------------
// Modify

void ObjectCommands::modifySingle(kmr::Kind kind, ValueMode mode) {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    // A modify command changes only an object of its own kind, whoever calls it.
    if (!index || child->project().objects[*index].kind != kind) return;
    const kmr::ProjectObject& object = child->project().objects[*index];
    if (!askValue(child, mode, valueAt(object, 0), kind == kmr::Kind::RunEntry && kmr::isResourceEntry(object))) return;
    child->objects().replace(*index, makeSingle(kind, m_valueDialog->value(), m_valueDialog->resource()));
    child->markChanged();
}

void ObjectCommands::modifyRunEntry() { modifySingle(kmr::Kind::RunEntry, ValueMode::Program); }
void ObjectCommands::modifyIcon() { modifySingle(kmr::Kind::Icon, ValueMode::Icon); }
void ObjectCommands::modifyLabel() { modifySingle(kmr::Kind::Label, ValueMode::Label); }

void ObjectCommands::modifyMenu() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    if (!index || !kmr::isMenu(child->project().objects[*index].kind)) return;
    const kmr::ProjectObject& object = child->project().objects[*index];
    const bool wasDefault = object.kind == kmr::Kind::DefaultMenu;
    const QString name = valueAt(object, 2);
    const auto accepted = askMenu(child, {valueAt(object, 0), valueAt(object, 1), name, wasDefault}, name);
    if (!accepted) return;
    const MenuEntry& e = *accepted;
    ObjectListModel& objects = child->objects();
    objects.replace(*index, kmr::makeMenu(utf8(e.text), utf8(e.command), utf8(e.internalName), wasDefault));
    // A changed "Seleccionar como clave" toggles the default as "Predeterminado" does, so at most
    // one menu stays the default.
    if (e.isDefault != wasDefault) objects.toggleDefault(*index);
    child->markChanged();
}

void ObjectCommands::modifyObject(kmr::Kind kind) {
    switch (kind) {
        case kmr::Kind::PlainMenu:
        case kmr::Kind::DefaultMenu: modifyMenu(); break;
        case kmr::Kind::RunEntry: modifyRunEntry(); break;
        case kmr::Kind::Icon: modifyIcon(); break;
        case kmr::Kind::Label: modifyLabel(); break;
    }
}

// ---------------------------------------------------------------------------------------------
// Default, move, delete

void ObjectCommands::setDefaultMenu() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    if (!index) return;
    if (!child->objects().toggleDefault(*index)) return;
    const bool isDefault = child->project().objects[*index].kind == kmr::Kind::DefaultMenu;
    child->markChanged();
    emit defaultMenuMarked(isDefault);
}

void ObjectCommands::moveObjectUp() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    // Only menus move, and only among menus: the run entry, icon and label keep their places.
    if (!index || !child->project().canMoveUp(*index)) return;
    // An exchange with the neighbour; the moved menu stays selected.
    child->objects().swap(*index - 1, *index);
    child->select(static_cast<int>(*index - 1));
    child->markChanged();
}

void ObjectCommands::moveObjectDown() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    if (!index || !child->project().canMoveDown(*index)) return;
    child->objects().swap(*index, *index + 1);
    child->select(static_cast<int>(*index + 1));
    child->markChanged();
}

void ObjectCommands::deleteObject() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const auto index = child->selectedObject();
    if (!index) return;
    const Answer answer =
        m_host.prompts().message(QStringLiteral("¿Seguro que desea eliminar el objeto seleccionado?"),
                                 QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer == Answer::No) return;
    // Nothing stays selected, not even the neighbour that takes the deleted object's place.
    child->select(-1);
    child->objects().remove(*index);
    child->markChanged();
}

}  // namespace kmr::gui
