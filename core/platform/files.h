#pragma once
// A file made under a name of its own and moved over its target once complete (the ISO image, which
// another program writes into it).

#include <string>
#include <string_view>

#include "text/file_io.h"

namespace kmr::platform {

// Creates a new empty file in `folder` named `prefix` and six random letters; `path` gets its path.
io::IoResult createUniqueFile(const std::string& folder, std::string_view prefix, std::string& path);

// Gives the complete file at `from` the permissions of a new file and moves it over `target`,
// replacing what was there. On failure `from` is removed.
io::IoResult moveOver(const std::string& from, const std::string& target);

// Removes a file, saying nothing when that fails.
void removeFile(const std::string& path);

}  // namespace kmr::platform
