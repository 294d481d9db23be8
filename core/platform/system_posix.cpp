#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/path_text.h"
#include "platform/system.h"

namespace kmr::platform {

std::filesystem::path pathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

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
