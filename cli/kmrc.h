#pragma once
// kmrc: the command-line tool's commands, as a function of arguments and streams.

#include <iosfwd>
#include <string>
#include <vector>

namespace kmr::cli {

enum ExitCode : int { kDone = 0, kFindings = 1, kUsage = 2, kFileError = 3, kRefused = 4, kToolFailed = 5 };

// Runs kmrc with the arguments after the program name. Output goes to `out`, messages to `err`.
int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kmr::cli
