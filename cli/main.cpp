#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "kmrc.h"
#include "wizards/templates.h"

namespace {

// The folder that holds this program: the running executable's, or else the one argv[0] names.
std::string programFolder(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path().string();
    if (argv0 == nullptr) return {};
    const fs::path named = fs::absolute(fs::path(argv0), ec);
    return ec ? std::string() : named.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that closes the pipe early is a failed write (EPIPE) with a message, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    int code = kmr::cli::kDone;
    try {
        // Even this allocates: the streams' own buffers.
        std::ios::sync_with_stdio(false);
        const std::vector<std::string> args(argv + 1, argv + argc);
        const kmr::cli::KmrcSetup setup{
            kmr::templateFolders(programFolder(argc > 0 ? argv[0] : nullptr), kmr::templateEnvironmentOfProcess())};
        code = kmr::cli::runKmrc(args, std::cin, std::cout, std::cerr, setup);
    } catch (const std::bad_alloc&) {
        // Straight to the C stream: std::cerr may be half set up when its buffer was what failed. It
        // writes through at once, so nothing it already took comes after this.
        std::fwrite(kmr::cli::kOutOfMemory.data(), 1, kmr::cli::kOutOfMemory.size(), stderr);
        return kmr::cli::kRefused;
    }
    // Some write errors show only when the output is closed. An output the caller never opened has
    // nothing to lose.
    std::cout.flush();
    if ((!std::cout || (std::fclose(stdout) != 0 && errno != EBADF)) && code != kmr::cli::kFileError) {
        std::cerr << kmr::cli::kStdoutFailed;
        code = kmr::cli::kFileError;
    }
    return code;
}
