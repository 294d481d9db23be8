#pragma once
// kmrc: the command-line tool's commands, as a function of arguments and streams.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::cli {

enum ExitCode : int { kDone = 0, kFindings = 1, kUsage = 2, kFileError = 3, kRefused = 4, kToolFailed = 5 };

// What kmrc takes from where it runs: the folders it lists templates from, in the editor's order.
struct KmrcSetup {
    std::vector<std::string> templateFolders;
};

inline constexpr std::string_view kOutOfMemory = "kmrc: no hay memoria suficiente para completar la orden\n";
inline constexpr std::string_view kStdoutFailed = "kmrc: no se pudo escribir en la salida estándar\n";

// Runs kmrc with the arguments after the program name. Output goes to `out`, messages to `err`.
// Running out of memory ends the command with a message and kRefused; output that could not be
// written ends it with a message and kFileError.
[[nodiscard]] int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                          const KmrcSetup& setup = {});

}  // namespace kmr::cli
