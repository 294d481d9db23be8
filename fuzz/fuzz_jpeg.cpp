// Decodes arbitrary bytes as a JPEG picture: a broken picture must come back as an error, never a crash.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = kmr::image::decodeJpeg(std::span<const unsigned char>(data, size));
    if (result.ok) {
        const auto& img = result.image;
        if (img.width <= 0 || img.height <= 0) __builtin_trap();
        if (img.rgb.size() != static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height) * 3)
            __builtin_trap();
    } else if (result.error.empty() || !result.image.rgb.empty()) {
        __builtin_trap();
    }
    return 0;
}
