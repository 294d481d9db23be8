#include "editing/clipboard_commands.h"

#include <utility>

#include "base/prompts.h"
#include "base/qt_text.h"
#include "base/shared_values.h"
#include "editing/object_commands.h"
#include "editing/object_rules.h"
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
    kmr::Project project = child->project();
    project.objects.erase(project.objects.begin() + index);
    child->applyChange(std::move(project), -1);
}

void ClipboardCommands::paste() {
    ProjectWindow* child = m_host.activeProjectWindow();
    kmr::ObjectBuffer& buffer = m_host.shared().objectBuffer;
    if (child == nullptr || buffer.empty()) return;

    // A run entry, an icon or a label is held once per project: the paste offers to replace it.
    if (const auto target = kmr::pasteReplacementTarget(child->project(), buffer)) {
        const Answer answer =
            m_host.prompts().message(QStringLiteral("Ya tiene este objeto en su proyecto. ¿Desea substituirlo?"),
                                     QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNo);
        if (answer == Answer::No) return;
        kmr::Project project = child->project();
        kmr::replaceFromBuffer(project.objects[*target], buffer);
        child->applyChange(std::move(project), child->selectedIndex());
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
    kmr::Project project = child->project();
    const std::size_t pos = kmr::pasteFromBuffer(project, buffer, asDefault);
    child->applyChange(std::move(project), static_cast<int>(pos));
}

}  // namespace kmr::gui
