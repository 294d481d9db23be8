#pragma once
// JSON rendering of projects for kmrc.

#include <string>
#include <string_view>

#include "project/project.h"

namespace kmr::cli {

// A JSON string literal (quotes included); the text is UTF-8 and is kept as it is, except for the
// characters JSON requires to be escaped.
std::string jsonString(std::string_view s);

// The "objects" array of a project: [{"kind": 21, "caption": "…", "values": ["…"]}, …].
std::string jsonObjects(const Project& project);

}  // namespace kmr::cli
