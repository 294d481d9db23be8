#pragma once
// The outermost frame of kmrc: whatever escapes a command ends as one Spanish message and an exit
// code, never as the runtime's English abort.

#include <functional>
#include <string_view>

namespace kmr::cli {

inline constexpr std::string_view kUnexpectedFailure =
    "kmrc: error inesperado del sistema; la orden no se ha completado\n";

// Runs `body` and returns its exit code. An exception that escapes it is said through `say` (running
// out of memory as kOutOfMemory, anything else as kUnexpectedFailure) and gives kRefused. `say` is
// called when memory may be gone, so it should write without allocating.
int runGuarded(const std::function<int()>& body, const std::function<void(std::string_view)>& say);

}  // namespace kmr::cli
