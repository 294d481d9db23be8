#pragma once
// JSON rendering of projects for kmrc.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "project/project.h"

namespace kmr::cli {

// A JSON string literal (quotes included), always valid UTF-8: characters are kept as they are
// except those JSON requires to be escaped; a lone surrogate becomes \udXXX, and a byte that starts
// no well-formed sequence (which the program's text never holds) its Windows-1252 character.
[[nodiscard]] std::string jsonString(std::string_view s);

// The document that show and import print: format, error flag, the objects
// ([{"kind": 21, "caption": "…", "values": ["…"]}, …]) and, for an import, the number of lines that were
// not recognised. Written object by object, with no copy of it all in memory.
void writeJsonProject(std::ostream& out, int format, bool errors, const Project& project,
                      std::optional<std::size_t> unrecognised = {});

}  // namespace kmr::cli
