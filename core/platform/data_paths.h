#pragma once
// Where the program finds the files it ships (help file, templates, pictures), from its own path, so
// that the build tree and an installed tree both work with no setting.

#include <filesystem>
#include <string_view>

namespace kmr::platform {

// The id under which the desktop knows the editor: the name of its desktop entry (without
// ".desktop"), of its AppStream metainfo and of its icon.
std::string_view desktopId();

// The data folder relative to the folder of the installed programs ("../share/kmr" in the usual
// layout; the build sets it from its install folders).
std::string_view dataFolderFromPrograms();

// The data folder of the program file `programFile`: the installed data folder beside its bin folder
// when that folder exists, otherwise the program's own folder (the build tree keeps the data beside
// the programs). Symbolic links to the program are followed first, so a link in another bin folder
// still finds the tree the program belongs to. The result is absolute and without "." or "..".
std::filesystem::path dataFolder(const std::filesystem::path& programFile);

}  // namespace kmr::platform
