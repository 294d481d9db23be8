// What a child program prints, cut into lines: the same on every system.
#include "child_process.h"

namespace kmr::cli {

void passLines(std::string& pending, const std::function<void(std::string_view)>& onLine) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (pending[i] != '\n' && pending[i] != '\r') continue;
        if (i > start) onLine(std::string_view(pending).substr(start, i - start));
        start = i + 1;
    }
    pending.erase(0, start);
}

}  // namespace kmr::cli
