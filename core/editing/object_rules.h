#pragma once
// Editing rules that the object commands and the clipboard share: which commands are offered for a
// selection, and the one-object buffer of cut, copy and paste.

#include <cstddef>
#include <optional>
#include <string>

#include "project/project.h"

namespace kmr {

// Which object commands are offered. Insert commands of a kind that the project already holds are
// hidden; modify, default and move commands follow the selected object; delete needs a selection.
struct OfferedCommands {
    bool addGroup = false;  // the "Añadir" submenu and drop-down button, and the second tool bar
    bool insertProgram = false;
    bool insertIcon = false;
    bool insertLabel = false;
    bool insertMenu = false;
    bool modifyProgram = false;
    bool modifyIcon = false;
    bool modifyLabel = false;
    bool modifyMenu = false;
    bool setDefault = false;
    bool defaultChecked = false;  // the check mark of the default command
    bool moveUp = false;
    bool moveDown = false;
    bool remove = false;

    bool operator==(const OfferedCommands&) const = default;
};

// Which of the kinds held once per project the project holds.
struct HeldKinds {
    bool runEntry = false;
    bool icon = false;
    bool label = false;
};
HeldKinds heldKinds(const Project& project);

// The commands offered for the active project (none when there is no project window) and its
// selected object (none when nothing is selected).
OfferedCommands offeredCommands(const Project* project, std::optional<std::size_t> selection);
// The same when the caller already knows which kinds the project holds: then only the selected
// object and its neighbours are looked at.
OfferedCommands offeredCommands(const Project* project, std::optional<std::size_t> selection, HeldKinds held);

// The one object that cut and copy hold, shared by every project window. It counts as empty while its
// caption is empty.
struct ObjectBuffer {
    std::string caption;
    Kind kind = Kind::PlainMenu;
    std::string value;        // the first value (a menu's text)
    std::string menuCommand;  // a menu's second value, else empty
    std::string menuName;     // a menu's third value, else empty

    bool empty() const { return caption.empty(); }
    bool operator==(const ObjectBuffer&) const = default;
};

ObjectBuffer copyToBuffer(const ProjectObject& object);

// Whether a paste of an object of this kind replaces the project's own (a run entry, an icon or a
// label, held once per project) rather than adding one.
constexpr bool pasteReplaces(Kind kind) { return !isMenu(kind); }

// The object that a paste of this buffer would replace: the last one of the buffer's kind, for a run
// entry, an icon or a label (menus are never replaced).
std::optional<std::size_t> pasteReplacementTarget(const Project& project, const ObjectBuffer& buffer);

// Replaces that object's caption, kind and first value with the buffer's.
void replaceFromBuffer(ProjectObject& object, const ObjectBuffer& buffer);

// After the menu editor accepted a pasted menu: the buffer takes the new fields (caption rebuilt from
// the text); its kind stays.
void acceptMenuIntoBuffer(ObjectBuffer& buffer, std::string text, std::string command, std::string name);

// The object that a paste of the buffer adds: a menu as the default one when `asDefault`, else as a
// plain one.
ProjectObject objectFromBuffer(const ObjectBuffer& buffer, bool asDefault);

// Inserts the buffer's object where its kind goes and returns its position. A menu is appended, as
// the default one (every other default becoming plain) when `asDefault`, else as a plain one.
std::size_t pasteFromBuffer(Project& project, const ObjectBuffer& buffer, bool asDefault);

}  // namespace kmr
