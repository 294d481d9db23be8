#pragma once
// What the program asks of folders that each system answers in its own way.

#include <string>

namespace kmr::platform {

// Why the existing folder cannot be listed or entered (in the words of io::systemErrorText), or empty
// when it can.
std::string folderUnreadable(const std::string& folder);

// True when both paths lead to one existing file, through links or other names (another letter case
// on Windows, say): a command must not write the file it reads.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace kmr::platform
