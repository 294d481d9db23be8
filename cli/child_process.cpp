#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kmr::cli {
namespace {

// Hands every whole line of `pending` to `onLine` and keeps the unfinished rest. xorriso ends its
// progress lines with a line feed; a carriage return also ends one.
void passLines(std::string& pending, const std::function<void(std::string_view)>& onLine) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (pending[i] != '\n' && pending[i] != '\r') continue;
        if (i > start) onLine(std::string_view(pending).substr(start, i - start));
        start = i + 1;
    }
    pending.erase(0, start);
}

}  // namespace

bool programInstalled(const std::string& program) {
    if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "";
    for (;;) {
        const auto colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        // An empty entry is the current folder, as for the shell.
        const std::string file = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + program;
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(file.c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void(std::string_view)>& onLine) {
    ChildResult result;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    std::vector<std::string> owned;
    owned.reserve(args.size() + 1);
    owned.push_back(program);
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : owned) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        result.startError = spawned;
        return result;
    }
    result.started = true;

    std::string pending;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        passLines(pending, onLine);
    }
    if (!pending.empty()) onLine(pending);
    ::close(out[0]);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

}  // namespace kmr::cli
