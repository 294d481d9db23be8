// Files without a byte-order mark that are not in the 8-bit code page: UTF-8 as Linux editors write
// it, and UTF-16 without its mark or big-endian.
#include <algorithm>
#include <optional>

#include "text/text.h"
#include "text/text_internal.h"

namespace kmr::text {
namespace {

// True when every byte belongs to a well-formed UTF-8 sequence (no overlong form, no surrogate,
// nothing above U+10FFFF) and at least one sequence is longer than one byte.
bool isMultiByteUtf8(std::string_view s) {
    bool multiByte = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i < n) return false;
        const auto second = static_cast<unsigned char>(s[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < n; ++k) {
            if (!isContinuation(static_cast<unsigned char>(s[i + k]))) return false;
        }
        multiByte = true;
        i += n;
    }
    return multiByte;
}

// UTF-16 by its zero bytes: in text of the Latin alphabet, which the keys and sections of these files
// are, every other byte is zero, the high byte of each unit. Only the start of the file is looked at.
std::optional<UnmarkedForm> utf16By(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF)
        return UnmarkedForm::Utf16Be;
    const std::size_t n = std::min<std::size_t>(bytes.size(), 512) / 2 * 2;
    std::size_t little = 0, big = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        const bool lowZero = bytes[i] == '\0', highZero = bytes[i + 1] == '\0';
        little += highZero && !lowZero;
        big += lowZero && !highZero;
    }
    const std::size_t units = n / 2;
    if (little > 0 && little * 4 >= units && big * 8 <= little) return UnmarkedForm::Utf16Le;
    if (big > 0 && big * 4 >= units && little * 8 <= big) return UnmarkedForm::Utf16Be;
    return std::nullopt;
}

}  // namespace

UnmarkedForm guessUnmarkedForm(std::string_view bytes) {
    if (const auto utf16 = utf16By(bytes)) return *utf16;
    return isMultiByteUtf8(bytes) ? UnmarkedForm::Utf8 : UnmarkedForm::Cp1252;
}

std::string decodeUnmarked(std::string_view bytes, UnmarkedForm form) {
    switch (form) {
        case UnmarkedForm::Cp1252: return fromCp1252(bytes);
        case UnmarkedForm::Utf8: return std::string(bytes);
        case UnmarkedForm::Utf16Le: return decodeAs(bytes, Encoding::Utf16Le);
        case UnmarkedForm::Utf16Be: break;
    }
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF)
        bytes.remove_prefix(2);
    std::string swapped(bytes);
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return decodeAs(swapped, Encoding::Utf16Le);
}

}  // namespace kmr::text
