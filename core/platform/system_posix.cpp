#include <csignal>
#include <filesystem>
#include <system_error>

#include "platform/system.h"

namespace kmr::platform {

std::vector<std::string> programArguments(int argc, char** argv) {
    if (argc <= 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string programFile(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.string();
    if (argv0 == nullptr) return {};
    const fs::path named = fs::absolute(fs::path(argv0), ec);
    return ec ? std::string() : named.string();
}

void setUpStandardStreams() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace kmr::platform
