#include "guarded_run.h"

#include <new>

#include "kmrc.h"

namespace kmr::cli {

int runGuarded(const std::function<int()>& body, const std::function<void(std::string_view)>& say) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        say(kOutOfMemory);
    } catch (...) {
        // A failure of the runtime (a file system error in a path it could not convert, say): its own
        // words are English and say nothing the user can act on.
        say(kUnexpectedFailure);
    }
    return kRefused;
}

}  // namespace kmr::cli
