#pragma once
// Running another program and reading what it prints, line by line, until it ends.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::cli {

struct [[nodiscard]] ChildResult {
    bool started = false;
    int startError = 0;  // errno when the program could not be started (ENOENT: not installed)
    int exitCode = -1;   // when it ended normally
    int signal = 0;      // when a signal ended it

    bool succeeded() const { return started && signal == 0 && exitCode == 0; }
};

// True when the program is found on the PATH (as NAME.exe on Windows), so that a command that needs
// it can say it is missing before it changes anything.
[[nodiscard]] bool programInstalled(const std::string& program);

// Runs the program (looked up on PATH) with the arguments; its standard output and error both come
// to `onLine`, one line at a time without the line end. Its standard input is empty.
ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void(std::string_view)>& onLine);

// Hands every whole line of `pending` to `onLine` and keeps the unfinished rest. xorriso ends its
// progress lines with a line feed; a carriage return also ends one.
void passLines(std::string& pending, const std::function<void(std::string_view)>& onLine);

}  // namespace kmr::cli
