#pragma once
// The disc as Windows' file manager shows it: the name under its icon and its context menu, for the
// editor's preview.

#include <string>
#include <string_view>
#include <vector>

#include "disc/windows_rules.h"
#include "project/project.h"

namespace kmr::disc {

// The name under the disc's icon: the project's label, without the blanks Windows drops; without
// one, the volume's own name: for a CD or DVD the volume name its ISO image gets, for a USB drive the
// folder's name ("Unidad USB" when no folder is named).
std::string discName(const Project& project, const DiscTarget& disc);

// One entry of the disc's context menu.
struct MenuEntry {
    std::string text;
    bool isDefault = false;  // shown in bold; a double click runs it
    bool windows = false;    // one of Windows' own entries, which follow the autorun ones
    bool uncertain = false;  // whether Windows shows it is not documented
};

// The context menu, top to bottom: "Reproducción automática" when the project runs something, then
// the menus in the project's order, then Windows' own entries. Where the rules say the shell entries
// make the menu (a CD or DVD), the default is the first default menu, else the automatic play of a
// run entry, else "Abrir". Where that is not documented (a USB drive), the autorun entries are
// uncertain and no entry is marked the default.
std::vector<MenuEntry> discContextMenu(const Project& project, WindowsVersion version, DriveType drive);

// A menu text as a menu shows it: '&' only marks the next letter as the entry's key, and "&&" is one '&'.
std::string shownMenuText(std::string_view text);

}  // namespace kmr::disc
