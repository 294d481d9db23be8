#include "editing/object_rules.h"

namespace kmr {

HeldKinds heldKinds(const Project& project) {
    return {project.contains(Kind::RunEntry), project.contains(Kind::Icon), project.contains(Kind::Label)};
}

OfferedCommands offeredCommands(const Project* project, std::optional<std::size_t> selection) {
    return offeredCommands(project, selection, project != nullptr ? heldKinds(*project) : HeldKinds{});
}

OfferedCommands offeredCommands(const Project* project, std::optional<std::size_t> selection, HeldKinds held) {
    OfferedCommands c;
    if (project == nullptr) return c;
    c.addGroup = true;
    c.insertProgram = !held.runEntry;
    c.insertIcon = !held.icon;
    c.insertLabel = !held.label;
    c.insertMenu = true;
    if (!selection || *selection >= project->size()) return c;
    const std::size_t i = *selection;
    const Kind kind = project->objects[i].kind;
    c.remove = true;
    c.modifyProgram = kind == Kind::RunEntry;
    c.modifyIcon = kind == Kind::Icon;
    c.modifyLabel = kind == Kind::Label;
    if (isMenu(kind)) {
        c.modifyMenu = true;
        c.setDefault = true;
        c.defaultChecked = kind == Kind::DefaultMenu;
        c.moveUp = i > 0 && isMenu(project->objects[i - 1].kind);
        c.moveDown = i + 1 < project->size() && isMenu(project->objects[i + 1].kind);
    }
    return c;
}

ObjectBuffer copyToBuffer(const ProjectObject& object) {
    ObjectBuffer b;
    b.caption = object.caption();
    b.kind = object.kind;
    b.value = object.value(0);
    if (isMenu(object.kind) && object.valueCount() >= 3) {
        b.menuCommand = object.menuCommand();
        b.menuName = object.menuName();
    }
    return b;
}

std::optional<std::size_t> pasteReplacementTarget(const Project& project, const ObjectBuffer& buffer) {
    if (!pasteReplaces(buffer.kind)) return std::nullopt;
    for (std::size_t i = project.size(); i > 0; --i) {
        if (project.objects[i - 1].kind == buffer.kind) return i - 1;
    }
    return std::nullopt;
}

void replaceFromBuffer(ProjectObject& object, const ObjectBuffer& buffer) {
    object.setCaption(buffer.caption);
    object.kind = buffer.kind;
    object.setValue(0, buffer.value);
}

void acceptMenuIntoBuffer(ObjectBuffer& buffer, std::string text, std::string command, std::string name) {
    buffer.caption = buildCaption(kMenuPrefix, text);
    buffer.value = std::move(text);
    buffer.menuCommand = std::move(command);
    buffer.menuName = std::move(name);
}

ProjectObject objectFromBuffer(const ObjectBuffer& buffer, bool asDefault) {
    if (isMenu(buffer.kind)) {
        return ProjectObject(buffer.caption, asDefault ? Kind::DefaultMenu : Kind::PlainMenu,
                             {buffer.value, buffer.menuCommand, buffer.menuName});
    }
    return ProjectObject(buffer.caption, buffer.kind, {buffer.value});
}

std::size_t pasteFromBuffer(Project& project, const ObjectBuffer& buffer, bool asDefault) {
    ProjectObject o = objectFromBuffer(buffer, asDefault);
    if (o.kind == Kind::DefaultMenu) project.clearDefaults();
    return project.insert(std::move(o));
}

}  // namespace kmr
