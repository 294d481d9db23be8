#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "guarded_run.h"
#include "kmrc.h"
#include "platform/path_text.h"
#include "platform/system.h"
#include "wizards/templates.h"

namespace {

// The folder that holds this program.
std::string programFolder(const char* argv0) {
    const std::string self = kmr::platform::programFile(argv0);
    return self.empty() ? std::string() : kmr::platform::textOf(kmr::platform::pathOf(self).parent_path());
}

}  // namespace

int main(int argc, char** argv) {
    // Straight to the C stream: std::cerr may be half set up when its buffer was what failed. It writes
    // through at once, so nothing it already took comes after the message.
    const auto say = [](std::string_view message) { std::fwrite(message.data(), 1, message.size(), stderr); };
    return kmr::cli::runGuarded(
        [&] {
            // Even this allocates: the streams' own buffers.
            std::ios::sync_with_stdio(false);
            kmr::platform::setUpStandardStreams();
            const std::vector<std::string> args = kmr::platform::programArguments(argc, argv);
            const kmr::cli::KmrcSetup setup{
                kmr::templateFolders(programFolder(argc > 0 ? argv[0] : nullptr), kmr::templateEnvironmentOfProcess())};
            int code = kmr::cli::runKmrc(args, std::cin, std::cout, std::cerr, setup);
            // Some write errors show only when the output is closed. An output the caller never opened has
            // nothing to lose.
            std::cout.flush();
            if ((!std::cout || (std::fclose(stdout) != 0 && errno != EBADF)) && code != kmr::cli::kFileError) {
                std::cerr << kmr::cli::kStdoutFailed;
                code = kmr::cli::kFileError;
            }
            return code;
        },
        say);
}
