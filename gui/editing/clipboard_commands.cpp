#include "editing/clipboard_commands.h"

#include <utility>

#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/object_commands.h"
#include "editing/object_rules.h"
#include "project/object_list_model.h"
#include "project/project_host.h"
#include "project/project_window.h"

namespace kmr::gui {

void ClipboardCommands::copy() {
    const ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const int index = child->selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= child->project().size()) return;
    m_host.shared().objectBuffer = kmr::copyToBuffer(child->project().objects[static_cast<std::size_t>(index)]);
}

void ClipboardCommands::cut() {
    ProjectWindow* child = m_host.activeProjectWindow();
    if (child == nullptr) return;
    const int index = child->selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= child->project().size()) return;
    copy();
    child->select(-1);
    child->objects().remove(static_cast<std::size_t>(index));
    child->markChanged();
}

void ClipboardCommands::paste() {
    ProjectWindow* child = m_host.activeProjectWindow();
    kmr::ObjectBuffer& buffer = m_host.shared().objectBuffer;
    if (child == nullptr || buffer.empty()) return;

    // A run entry, an icon or a label is held once per project: the paste offers to replace the last
    // one of its kind.
    ObjectListModel& objects = child->objects();
    const auto target = kmr::pasteReplaces(buffer.kind) ? objects.lastOf(buffer.kind) : std::nullopt;
    if (target) {
        const Answer answer =
            m_host.prompts().message(QStringLiteral("Ya tiene este objeto en su proyecto. ¿Desea substituirlo?"),
                                     QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNo);
        if (answer == Answer::No) return;
        kmr::ProjectObject replaced = child->project().objects[*target];
        kmr::replaceFromBuffer(replaced, buffer);
        objects.replace(*target, std::move(replaced));
        child->markChanged();
        return;
    }

    bool asDefault = false;
    if (kmr::isMenu(buffer.kind)) {
        // The internal name is tested against the target project even when it is unchanged, so a
        // menu pasted beside itself has to be renamed.
        const MenuEntry entry{qs(buffer.value), qs(buffer.menuCommand), qs(buffer.menuName),
                              buffer.kind == kmr::Kind::DefaultMenu};
        const auto accepted = m_objects.askMenu(child, entry, QString());
        if (!accepted) return;
        const MenuEntry& e = *accepted;
        kmr::acceptMenuIntoBuffer(buffer, utf8(e.text), utf8(e.command), utf8(e.internalName));
        asDefault = e.isDefault;
    }
    kmr::ProjectObject pasted = kmr::objectFromBuffer(buffer, asDefault);
    if (pasted.kind == kmr::Kind::DefaultMenu) objects.clearDefaults();
    const std::size_t pos = objects.insert(std::move(pasted));
    child->select(static_cast<int>(pos));
    child->markChanged();
}

}  // namespace kmr::gui
