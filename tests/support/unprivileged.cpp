#include "support/unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

namespace kmr::test {

std::string runUnprivileged(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return "child failed: no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "child failed: no fork";
    if (child == 0) {
        ::close(fds[0]);
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
        const std::string report = work();
        const bool sent = ::write(fds[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 3);
    }
    ::close(fds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n = 0; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed: status " + std::to_string(status);
    return report;
}

}  // namespace kmr::test
