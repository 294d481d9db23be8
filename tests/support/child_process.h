#pragma once
// Child processes for tests that must not disturb the test runner: a memory limit, a killed writer,
// standard output sent to a device.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kmr::test {

// How a child ended: its exit code, or the signal that ended it; and what it wrote to stderr.
struct ChildOutcome {
    int exitCode = -1;
    int signal = 0;
    std::string err;
};

// False when address-space limits cannot be used: sanitizers reserve far more address space than
// they use, so a limit says nothing there.
bool memoryLimitsWork();

// Runs fn in a forked child whose address space may grow by at most `headroom` bytes beyond what it
// has at the fork; the child exits with fn's result (3 when fn runs out of memory).
ChildOutcome runInChild(const std::function<int()>& fn, std::optional<std::size_t> headroom = {});

// Runs a program with its standard output sent to `stdoutPath` and its standard error captured; its
// address space is limited to `addressSpace` bytes when given.
ChildOutcome runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& stdoutPath,
                        std::optional<std::size_t> addressSpace = {});

// The kmrc program next to the test runner.
std::string kmrcProgram();

}  // namespace kmr::test
