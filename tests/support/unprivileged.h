#pragma once
// Running a piece of a test as a user whom file permissions bind.

#include <functional>
#include <string>

namespace kmr::test {

// Runs `work` in a child process and returns the text it returned. Root writes into any folder, so
// a root test process drops to the unprivileged user "nobody" in the child first. A child that
// could not run `work` returns "child failed: " and its status.
std::string runUnprivileged(const std::function<std::string()>& work);

}  // namespace kmr::test
