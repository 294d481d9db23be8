#pragma once
// The lines of [AutoRun] that the objects write, by family of keys, and what decides whether a line
// that an import kept beside them is still compiled: what the user sets through the objects wins.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"

namespace kmr {

// The family of a key of [AutoRun] (blanks at its ends and A–Z case aside), or nullopt for a key in
// none: "shell\verb" and "shell\verb\command" belong to one menu each, "action" to no object.
std::optional<KeyFamily> keyFamilyOf(std::string_view key);

// The lines the objects compile to in a family, in the compiler's order: "open=setup.exe" or
// "shellexecute=leeme.htm"; "icon=…"; "label=…"; one "shell=NAME" per default menu.
std::vector<std::string> familyLines(const std::vector<ProjectObject>& objects, KeyFamily family);

// Whether a kept line of [AutoRun] is compiled. A line of a family is, while the objects compile to
// what they compiled to when the import kept it (DiscSettings::importedLines); once the user changes
// the program, the icon, the label or the default menu, the objects alone say it, and no kept line of
// that family is compiled. Lines of no family, and of a family without a record (lines the project
// file held before records were kept), are always compiled.
class KeptLineFilter {
public:
    explicit KeptLineFilter(const Project& project) : m_project(project) {}
    bool compiles(std::string_view keptLine);

private:
    const Project& m_project;
    std::array<std::optional<bool>, 4> m_decided;  // by family, worked out when first asked
};

// The settings as a project file keeps them, when they differ from the project's own. A run entry,
// icon or label with an empty value (an import of "label=") cannot be kept as an object, since the
// reader makes none of an empty value: its line goes first among the kept lines of [AutoRun], the
// record of its family follows what the file's objects will compile to, and kept lines of that family
// that are no longer compiled are dropped. So the reopened project compiles that line once, as the
// project did. nullopt when no such object is there.
std::optional<DiscSettings> settingsToStore(const Project& project);

}  // namespace kmr
