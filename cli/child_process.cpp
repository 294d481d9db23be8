#include "child_process.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace kmr::cli {

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

    // The program dies with kmrc (PR_SET_PDEATHSIG): a killed kmrc leaves no xorriso writing an image
    // that no one will rename. `failed` brings back the errno of a program that could not be started.
    int failed[2];
    if (::pipe2(failed, O_CLOEXEC) != 0) {
        result.startError = errno;
        ::close(out[0]);
        ::close(out[1]);
        return result;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        int err = 0;
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
        ::signal(SIGPIPE, SIG_DFL);
        const int none = ::open("/dev/null", O_RDONLY);
        if (none < 0 || ::dup2(none, 0) < 0 || ::dup2(out[1], 1) < 0 || ::dup2(out[1], 2) < 0) {
            err = errno;
        } else {
            ::execvp(program.c_str(), argv.data());
            err = errno;
        }
        [[maybe_unused]] const ssize_t told = ::write(failed[1], &err, sizeof err);
        ::_exit(127);
    }
    const int forkError = pid < 0 ? errno : 0;
    ::close(out[1]);
    ::close(failed[1]);
    int startError = forkError;
    if (pid > 0) {
        ssize_t n = 0;
        while ((n = ::read(failed[0], &startError, sizeof startError)) < 0 && errno == EINTR) {
        }
        if (n != static_cast<ssize_t>(sizeof startError)) startError = 0;
    }
    ::close(failed[0]);
    if (startError != 0) {
        ::close(out[0]);
        if (pid > 0) {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        result.startError = startError;
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
