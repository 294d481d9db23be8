// Cut, copy and paste of one project object through the process-wide object buffer, within a
// project or from one project window to another. The system clipboard is never read or written.

#include <QAction>

#include <utility>

#include "app/main_form.h"
#include "app/prompts.h"
#include "app/qt_text.h"
#include "editing/menu_editor_dialog.h"
#include "editing/object_rules.h"
#include "project/mdi_child.h"

namespace kmr::gui {

void TMainForm::Copiar1Execute() {
    const TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const int index = child->selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= child->project().size()) return;
    m_shared.objectBuffer = kmr::copyToBuffer(child->project().objects[static_cast<std::size_t>(index)]);
}

void TMainForm::Cortar1Execute() {
    TMDIChild* child = activeChild();
    if (child == nullptr) return;
    const int index = child->selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= child->project().size()) return;
    Copiar1Execute();
    kmr::Project project = child->project();
    project.objects.erase(project.objects.begin() + index);
    commitChange(child, std::move(project), -1);
}

void TMainForm::Pegar1Execute() {
    TMDIChild* child = activeChild();
    kmr::ObjectBuffer& buffer = m_shared.objectBuffer;
    if (child == nullptr || buffer.empty()) return;

    // A run entry, an icon or a label is held once per project: the paste offers to replace it.
    if (const auto target = kmr::pasteReplacementTarget(child->project(), buffer)) {
        const Answer answer =
            m_prompts.message(QStringLiteral("Ya tiene este objeto en su proyecto. ¿Desea substituirlo?"),
                              QStringLiteral("Confirmación"), MessageIcon::Question, MessageButtons::YesNo);
        if (answer == Answer::No) return;
        kmr::Project project = child->project();
        kmr::replaceFromBuffer(project.objects[*target], buffer);
        commitChange(child, std::move(project), child->selectedIndex());
        return;
    }

    bool asDefault = false;
    if (kmr::isMenu(buffer.kind)) {
        // The internal name is tested against the target project even when it is unchanged, so a
        // menu pasted beside itself has to be renamed.
        const MenuEntry entry{qs(buffer.value), qs(buffer.menuCommand), qs(buffer.menuName),
                              buffer.kind == kmr::Kind::DefaultMenu};
        if (!askMenu(child, entry, QString())) return;
        const MenuEntry e = m_form1->entry();
        kmr::acceptMenuIntoBuffer(buffer, utf8(e.text), utf8(e.command), utf8(e.internalName));
        asDefault = e.isDefault;
    }
    kmr::Project project = child->project();
    const std::size_t pos = kmr::pasteFromBuffer(project, buffer, asDefault);
    commitChange(child, std::move(project), static_cast<int>(pos));
}

}  // namespace kmr::gui
