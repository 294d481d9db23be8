#include "support/child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fstream>
#include <new>

namespace kmr::test {
namespace {

std::size_t addressSpaceNow() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

void limitAddressSpace(std::size_t bytes) {
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_AS, &limit);
}

ChildOutcome wait(pid_t child, int errFd) {
    ChildOutcome outcome;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(errFd, buffer, sizeof buffer)) > 0) outcome.err.append(buffer, static_cast<std::size_t>(n));
    ::close(errFd);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

}  // namespace

bool memoryLimitsWork() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

ChildOutcome runInChild(const std::function<int()>& fn, std::optional<std::size_t> headroom) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], STDERR_FILENO);
        if (headroom) limitAddressSpace(addressSpaceNow() + *headroom);
        int code = 0;
        try {
            code = fn();
        } catch (const std::bad_alloc&) {
            code = 3;
        }
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return {};
    }
    return wait(child, pipeFds[0]);
}

ChildOutcome runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& stdoutPath,
                        std::optional<std::size_t> addressSpace) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::dup2(pipeFds[1], STDERR_FILENO);
        const int out = ::open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0) ::_exit(126);
        ::dup2(out, STDOUT_FILENO);
        if (addressSpace) limitAddressSpace(*addressSpace);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (child < 0) {
        ::close(pipeFds[0]);
        return {};
    }
    return wait(child, pipeFds[0]);
}

std::string kmrcProgram() { return KMRC_PROGRAM; }

}  // namespace kmr::test
