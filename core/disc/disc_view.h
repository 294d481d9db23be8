#pragma once
// The disc as Windows' file manager shows it: the name under its icon and its context menu, for the
// editor's preview.

#include <string>
#include <string_view>
#include <vector>

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
};

// The context menu, top to bottom. On a CD or DVD: "Reproducción automática" when the project runs
// something, then the menus in the project's order, then Windows' own entries. The default is the
// first default menu, else the automatic play of a run entry, else "Abrir". On a USB drive Windows
// runs nothing from autorun.inf, so only its own entries are there, "Abrir" the default.
std::vector<MenuEntry> discContextMenu(const Project& project, Medium medium);

// A menu text as a menu shows it: '&' only marks the next letter as the entry's key, and "&&" is one '&'.
std::string shownMenuText(std::string_view text);

}  // namespace kmr::disc
