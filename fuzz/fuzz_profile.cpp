// Profile look-up over arbitrary bytes: no crash, and every value obeys the value rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/profile.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kmr::ProfileFile file = kmr::ProfileFile::parse(kmr::text::decode(bytes).text);
    static constexpr std::string_view kSections[] = {"S", "Brenlowe KMR File", "Menu1", "", "a"};
    static constexpr std::string_view kKeys[] = {"k", "Version", "Menus", "Texto", ""};
    for (const auto section : kSections) {
        for (const auto key : kKeys) {
            const std::string v = file.lookup(section, key);
            if (kmr::text::length(v) > kmr::kProfileValueLimit) std::abort();
            (void)file.lookupInt(section, key);
        }
    }
    return 0;
}
