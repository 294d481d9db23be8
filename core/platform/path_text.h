#pragma once
// Paths between the program's text (UTF-8 everywhere) and the file system's own form. A plain
// std::string given to std::filesystem is read in the system's narrow code page, which on Windows is
// not UTF-8: "ñ" would name another file. These two keep the text as it is on every system, and give
// paths back with "/" between the folders, as the program shows them everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace kmr::platform {

inline std::filesystem::path pathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string textOf(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace kmr::platform
