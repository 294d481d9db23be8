// The frame's object commands: insert, modify, mark as default, move and delete the objects of the
// active project window, and the refresh that decides which of them are offered.

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include <utility>

#include "app/main_form.h"
#include "app/prompts.h"
#include "app/qt_text.h"
#include "editing/menu_editor_dialog.h"
#include "editing/object_rules.h"
#include "editing/value_dialog.h"
#include "project/mdi_child.h"

namespace kmr::gui {

namespace {

// The selected object's position in `child`, or nothing.
std::optional<std::size_t> selectionOf(const TMDIChild& child) {
    const int index = child.selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= child.project().size()) return std::nullopt;
    return static_cast<std::size_t>(index);
}

// A value of an object, empty when the object has fewer values than that.
QString valueAt(const kmr::ProjectObject& o, std::size_t i) {
    return i < o.values.size() ? qs(o.values[i]) : QString();
}

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

// ---------------------------------------------------------------------------------------------
// Refresh

void TMainForm::Actualizar1Execute() {
    const TMDIChild* child = activeChild();
    const kmr::OfferedCommands offered = kmr::offeredCommands(child != nullptr ? &child->project() : nullptr,
                                                              child != nullptr ? selectionOf(*child) : std::nullopt);
    auto show = [this](const char* name, bool visible) {
        if (auto* a = findChild<QAction*>(QLatin1String(name))) a->setVisible(visible);
    };
    show("IProg1", offered.insertProgram);
    show("IIcono1", offered.insertIcon);
    show("ITexto1", offered.insertLabel);
    show("IMenu1", offered.insertMenu);
    show("MProg1", offered.modifyProgram);
    show("MIcono1", offered.modifyIcon);
    show("MTexto1", offered.modifyLabel);
    show("MMenu1", offered.modifyMenu);
    show("Pred1", offered.setDefault);
    show("Up1", offered.moveUp);
    show("Down1", offered.moveDown);
    show("Del1", offered.remove);
    if (auto* pred = findChild<QAction*>(QStringLiteral("Pred1"))) pred->setChecked(offered.defaultChecked);
    m_addMenu->menuAction()->setVisible(offered.addGroup);
    m_addButtonAction->setVisible(offered.addGroup);
    m_deleteSeparator->setVisible(offered.remove);
    m_objectCommandsOffered = offered.addGroup;
    applyToolBar2Visibility();
}

// ---------------------------------------------------------------------------------------------
// Dialogs

// The timers keep running while a dialog is open, and the hand-off may open another project window
// meanwhile; the command goes on with the window it started on.

bool TMainForm::askValue(TMDIChild* child, ValueMode mode, const QString& value, bool resource) {
    const QPointer<TMDIChild> target(child);
    m_form4->setUp(mode, value, resource);
    // Anything but kEditAccepted, which only the dialog's "Aceptar" sets.
    m_shared.edit.editContext = kEditFromWizard;
    m_form4->exec();
    return m_shared.edit.accepted() && !target.isNull();
}

bool TMainForm::askMenu(TMDIChild* child, const MenuEntry& entry, const QString& initialInternalName) {
    m_menuTarget = child;
    m_form1->setEntry(entry);
    m_shared.edit.initialInternalName = initialInternalName;
    m_shared.edit.editContext = kEditFromProject;
    m_form1->exec();
    const bool stillThere = !m_menuTarget.isNull();
    m_menuTarget = nullptr;
    return m_shared.edit.accepted() && stillThere;
}

void TMainForm::commitChange(TMDIChild* child, kmr::Project project, int selection) {
    child->setProject(std::move(project), selection);
    child->setSaved(0);
}

// ---------------------------------------------------------------------------------------------
// Insert

void TMainForm::insertSingle(kmr::Kind kind, ValueMode mode) {
    Actualizar1Execute();
    TMDIChild* child = activeChild();
    if (child == nullptr || child->project().contains(kind)) return;
    if (!askValue(child, mode, QString(), false)) return;
    kmr::Project project = child->project();
    const int selected = child->selectedIndex();
    const std::size_t pos = project.insert(makeSingle(kind, m_form4->value(), m_form4->resource()));
    // The selected object stays selected wherever the new one pushed it.
    const int keep = selected >= 0 && static_cast<std::size_t>(selected) >= pos ? selected + 1 : selected;
    commitChange(child, std::move(project), keep);
}

void TMainForm::IProg1Execute() { insertSingle(kmr::Kind::RunEntry, ValueMode::Program); }
void TMainForm::IIcono1Execute() { insertSingle(kmr::Kind::Icon, ValueMode::Icon); }
void TMainForm::ITexto1Execute() { insertSingle(kmr::Kind::Label, ValueMode::Label); }

void TMainForm::IMenu1Execute() {
    // Menus are not limited in number, so there is nothing to refresh first.
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    if (!askMenu(child, MenuEntry{}, QString())) return;
    const MenuEntry e = m_form1->entry();
    kmr::Project project = child->project();
    if (e.isDefault) project.clearDefaults();
    project.append(kmr::makeMenu(utf8(e.text), utf8(e.command), utf8(e.internalName), e.isDefault));
    commitChange(child, std::move(project), child->selectedIndex());
}

// ---------------------------------------------------------------------------------------------
// Modify

void TMainForm::modifySingle(kmr::Kind kind, ValueMode mode) {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    // A modify command changes only an object of its own kind, whoever calls it.
    if (!index || child->project().objects[*index].kind != kind) return;
    const kmr::ProjectObject& object = child->project().objects[*index];
    if (!askValue(child, mode, valueAt(object, 0), kind == kmr::Kind::RunEntry && kmr::isResourceEntry(object))) return;
    kmr::Project project = child->project();
    project.objects[*index] = makeSingle(kind, m_form4->value(), m_form4->resource());
    commitChange(child, std::move(project), static_cast<int>(*index));
}

void TMainForm::MProg1Execute() { modifySingle(kmr::Kind::RunEntry, ValueMode::Program); }
void TMainForm::MIcono1Execute() { modifySingle(kmr::Kind::Icon, ValueMode::Icon); }
void TMainForm::MTexto1Execute() { modifySingle(kmr::Kind::Label, ValueMode::Label); }

void TMainForm::MMenu1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    if (!index || !kmr::isMenu(child->project().objects[*index].kind)) return;
    const kmr::ProjectObject& object = child->project().objects[*index];
    const bool wasDefault = object.kind == kmr::Kind::DefaultMenu;
    const QString name = valueAt(object, 2);
    if (!askMenu(child, {valueAt(object, 0), valueAt(object, 1), name, wasDefault}, name)) return;
    const MenuEntry e = m_form1->entry();
    kmr::Project project = child->project();
    kmr::ProjectObject& changed = project.objects[*index];
    changed = kmr::makeMenu(utf8(e.text), utf8(e.command), utf8(e.internalName), wasDefault);
    // A changed "Seleccionar como clave" toggles the default as "Predeterminado" does, so at most
    // one menu stays the default.
    if (e.isDefault != wasDefault) project.toggleDefault(*index);
    commitChange(child, std::move(project), static_cast<int>(*index));
}

// ---------------------------------------------------------------------------------------------
// Default, move, delete

void TMainForm::Pred1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    if (!index) return;
    kmr::Project project = child->project();
    if (!project.toggleDefault(*index)) return;
    const bool isDefault = project.objects[*index].kind == kmr::Kind::DefaultMenu;
    commitChange(child, std::move(project), static_cast<int>(*index));
    findChild<QAction*>(QStringLiteral("Pred1"))->setChecked(isDefault);
}

void TMainForm::Up1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    // Only menus move, and only among menus: the run entry, icon and label keep their places.
    if (!index || !child->project().canMoveUp(*index)) return;
    kmr::Project project = child->project();
    const std::size_t moved = project.moveUp(*index);
    commitChange(child, std::move(project), static_cast<int>(moved));
}

void TMainForm::Down1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    if (!index || !child->project().canMoveDown(*index)) return;
    kmr::Project project = child->project();
    const std::size_t moved = project.moveDown(*index);
    commitChange(child, std::move(project), static_cast<int>(moved));
}

void TMainForm::Del1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const auto index = selectionOf(*child);
    if (!index) return;
    const Answer answer =
        m_prompts.message(QStringLiteral("¿Seguro que desea eliminar el objeto seleccionado?"),
                          QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer == Answer::No) return;
    kmr::Project project = child->project();
    project.objects.erase(project.objects.begin() + static_cast<std::ptrdiff_t>(*index));
    commitChange(child, std::move(project), -1);
}

}  // namespace kmr::gui
