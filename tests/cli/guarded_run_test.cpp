#include "guarded_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>

#include "kmrc.h"

namespace kmr::cli {
namespace {

// Whatever escapes a command is one Spanish message and exit code 4; a command that returns keeps its
// own code and says nothing more.
TEST(GuardedRun, EscapedExceptionsBecomeOneSpanishMessage) {
    struct Case {
        const char* name;
        std::function<int()> body;
        int code;
        std::string_view said;
    };
    const std::vector<Case> cases = {
        {"returns", [] { return kFileError; }, kFileError, ""},
        {"out of memory", []() -> int { throw std::bad_alloc(); }, kRefused, kOutOfMemory},
        {"a path that cannot be converted",
         []() -> int {
             throw std::filesystem::filesystem_error("Cannot convert character sequence",
                                                     std::make_error_code(std::errc::illegal_byte_sequence));
         },
         kRefused, kUnexpectedFailure},
        {"anything else", []() -> int { throw 7; }, kRefused, kUnexpectedFailure},
    };
    for (const Case& c : cases) {
        std::string said;
        EXPECT_EQ(runGuarded(c.body, [&](std::string_view m) { said += m; }), c.code) << c.name;
        EXPECT_EQ(said, c.said) << c.name;
    }
}

}  // namespace
}  // namespace kmr::cli
