#pragma once
// What the program asks of folders that each system answers in its own way.

#include <string>

namespace kmr::platform {

// Why the existing folder cannot be listed or entered (in the words of io::systemErrorText), or empty
// when it can.
std::string folderUnreadable(const std::string& folder);

}  // namespace kmr::platform
