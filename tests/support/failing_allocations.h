#pragma once
// Makes a chosen allocation fail, to see what code does when memory runs out at each point in turn.

#include <cstddef>
#include <functional>

namespace kmr::test {

// False under AddressSanitizer, which owns operator new and pairs it with its own delete.
bool allocationFailuresWork();

// Runs `run` again and again; in the n-th run the n-th allocation this thread makes fails with
// std::bad_alloc. It stops after the first run in which no allocation failed. `after` is told, after
// each run, whether that run ended in std::bad_alloc. Returns how many runs there were.
std::size_t failEachAllocationInTurn(const std::function<void()>& run, const std::function<void(bool failed)>& after);

}  // namespace kmr::test
