#pragma once
// kmrc: the command-line tool's commands, as a function of arguments and streams.

#include <iosfwd>
#include <string>
#include <vector>

namespace kmr::cli {

enum ExitCode : int { kDone = 0, kFindings = 1, kUsage = 2, kFileError = 3, kRefused = 4, kToolFailed = 5 };

// What kmrc takes from where it runs: the folders it lists templates from, in the editor's order.
struct KmrcSetup {
    std::vector<std::string> templateFolders;
};

// Runs kmrc with the arguments after the program name. Output goes to `out`, messages to `err`.
int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            const KmrcSetup& setup = {});

}  // namespace kmr::cli
