#pragma once
// The new-project wizard's rules that need no window: the name a new menu gets and the summary of
// its last page. The project itself is built by buildProject (project/project.h).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace kmr {

// What "Nuevo" on the menus page fills the menu editor with.
inline constexpr std::string_view kNewMenuText = "Texto a mostrar del menú";
inline constexpr std::string_view kNewMenuCommand = "programa.exe";

// The menu editor's two refusals, which also stop a menu given to kmrc new.
inline constexpr std::string_view kMenuFieldsMissing = "Debe rellenar todas las casillas.";
inline constexpr std::string_view kMenuNameRepeated =
    "No puede utilizar el mismo nombre para varios menús. Cambie el nombre interno del menú.";

// The internal name proposed for a new menu: "Menu" and the smallest n from 1 up that no menu of the
// list carries exactly (letter case counts), so at most the number of menus plus one.
std::string newMenuName(const std::vector<WizardMenu>& menus);

// "Clave" on the menu list: a plain menu becomes the only default menu, the default menu becomes a
// plain one. Returns whether the menu is the default now; an index past the end changes nothing.
bool toggleDefaultMenu(std::vector<WizardMenu>& menus, std::size_t index);

// The summary of the last page, one text per line: the run entry, icon and label that are not
// empty, then three lines per menu (the third only for the default menu); a single line saying the
// project is blank when there is nothing.
std::vector<std::string> wizardSummaryLines(const WizardData& data);

// The summary lines joined by line feeds, as the page's text box shows them.
std::string wizardSummary(const WizardData& data);

}  // namespace kmr
