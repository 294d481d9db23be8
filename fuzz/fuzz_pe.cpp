// PE icon reader over arbitrary bytes: no fault, and every icon it hands out is a whole .ico file
// with at least one image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "disc/pe_icons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kmr::disc::PeIcons icons = kmr::disc::readPeIcons(bytes);
    if (icons.status != kmr::disc::PeStatus::Ok && !icons.groups.empty()) std::abort();
    for (std::size_t g = 0; g < icons.groups.size() && g < 64; ++g) {
        const std::string ico = kmr::disc::groupAsIco(bytes, icons, g);
        if (!ico.empty() && kmr::disc::icoImageCount(ico) == 0) std::abort();
    }
    for (int number = -3; number <= 3; ++number) {
        const kmr::disc::IconPick pick = kmr::disc::pickIcon(bytes, number);
        if ((pick.status == kmr::disc::IconStatus::Ok) != !pick.ico.empty()) std::abort();
        if (pick.status == kmr::disc::IconStatus::Ok && kmr::disc::icoImageCount(pick.ico) == 0) std::abort();
    }
    return 0;
}
