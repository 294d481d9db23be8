#pragma once
// Template files (".kmrt"): ready-made projects listed on the new-project wizard's first page.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace kmr {

// Extension of template files, matched without regard to the case of A to Z.
inline constexpr std::string_view kTemplateExtension = ".kmrt";

// One listed template: what the template list shows and the values it applies, with every missing
// value already replaced by its default.
struct TemplateRecord {
    std::string name;  // "Nom", or "Modelo " and the file number
    int picture = 0;   // header "Icona": the picture of the template list
    std::string explanation;
    std::string program;
    std::string icon;
    std::string label;
    std::string resourceText;                       // "Recurs" as written
    std::string menuCountText;                      // "Menus" as written
    std::string defaultMenuText;                    // "MenuPredeterminat" as written
    std::vector<std::array<std::string, 3>> menus;  // text, command, internal name
    std::size_t fileNumber = 0;  // position among the template files of every listed folder, rejected ones counted
    std::string folder;          // the folder it was listed from
    std::string path;            // the folder, "/" and the file name

    bool operator==(const TemplateRecord&) const = default;
};

// Reads a template from the bytes of a file (Windows-1252, or UTF-16 LE / UTF-8 with a byte-order
// mark). nullopt when the file is not of version 2.3. Menus whose sections are missing get the
// default values. A "Menus" value that is no whole number, or one far beyond the file's menu sections
// (countBacked), gives a template without menus.
std::optional<TemplateRecord> readTemplate(std::string_view bytes, std::size_t fileNumber);

// The template files of a folder: ordinary, not hidden, ending in ".kmrt" in any case, in name order
// ignoring case. Unreadable files and files of another version are left out but keep their number.
// A folder that cannot be listed gives no templates.
std::vector<TemplateRecord> loadTemplates(const std::string& folder);

// The templates of several folders, each folder listed as loadTemplates does, one after the other.
// The file numbers (and so the "Modelo <n>" names) run on from one folder to the next.
std::vector<TemplateRecord> listTemplates(const std::vector<std::string>& folders);

// The environment values that say where the user's own templates are.
struct TemplateEnvironment {
    std::string xdgDataHome;  // $XDG_DATA_HOME
    std::string home;         // $HOME
};

// The values of this process's environment.
TemplateEnvironment templateEnvironmentOfProcess();

// The folders the wizard lists templates from, in order: the program's folder, the installed data
// folder beside it (programDir/../share/kmr/templates), then the user's own folder
// ($XDG_DATA_HOME/kmr/templates, or ~/.local/share/kmr/templates when that variable is unset, empty
// or not absolute). Each folder is given in canonical form and a folder that resolves to one already
// given is left out; an empty program folder or home gives no folder of its own.
std::vector<std::string> templateFolders(const std::string& programDir, const TemplateEnvironment& env);

// The wizard data a template fills in: fields, resource flag and menus, the menu numbered by
// "MenuPredeterminat" (from 1) being the default one. An invalid "Recurs" reads as no, an invalid
// "MenuPredeterminat" as no default menu.
WizardData applyTemplate(const TemplateRecord& record);

}  // namespace kmr
