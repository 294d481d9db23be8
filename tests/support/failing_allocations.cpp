#include "support/failing_allocations.h"

#include <cstdlib>
#include <new>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define KMR_FAILING_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KMR_FAILING_ALLOCATIONS 0
#endif
#endif
#ifndef KMR_FAILING_ALLOCATIONS
#define KMR_FAILING_ALLOCATIONS 1
#endif

// Allocations left until the one that fails; 0 while nothing is to fail.
thread_local std::size_t t_untilFailure = 0;

}  // namespace

#if KMR_FAILING_ALLOCATIONS
// The library's operator delete frees with free(), and its array and non-throwing forms come here.
void* operator new(std::size_t size) {
    if (t_untilFailure != 0 && --t_untilFailure == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
#endif

namespace kmr::test {

bool allocationFailuresWork() { return KMR_FAILING_ALLOCATIONS != 0; }

std::size_t failEachAllocationInTurn(const std::function<void()>& run, const std::function<void(bool failed)>& after) {
    for (std::size_t n = 1;; ++n) {
        bool failed = false;
        t_untilFailure = n;
        try {
            run();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        // A run that failed used up its countdown; one that did not has some left.
        const bool reached = t_untilFailure == 0;
        t_untilFailure = 0;
        after(failed);
        if (!reached) return n;
    }
}

}  // namespace kmr::test
