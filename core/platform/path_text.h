#pragma once
// Paths between the program's text (UTF-8 everywhere) and the file system's own form. A plain
// std::string given to std::filesystem is read in the system's narrow code page, which on Windows is
// not UTF-8: "ñ" would name another file. These two keep the text as it is on every system, and give
// paths back with "/" between the folders, as the program shows them everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace kmr::platform {

// On Windows a path is also taken in the forms users type: a drive named alone ("E:") is its root, as
// for a disc, and the long-path prefix ("\\?\E:\", "\\?\UNC\server\share") is dropped, so that
// the path behaves as the same path without it, also once it is text with "/" again.
std::filesystem::path pathOf(std::string_view utf8);

inline std::string textOf(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace kmr::platform
