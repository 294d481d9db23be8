// Character rules on UTF-8 text: A–Z folding, trimming, lengths and positions, file names.
#include "text/text.h"

#include <cstdint>

#include "text/text_internal.h"

namespace kmr::text {
namespace {

// True when the first n bytes of s (n at most its size) are all ASCII, told from whole words wherever
// the text holds eight bytes, so that the few characters a reader skips cost no loop over them.
bool isAsciiPrefix(std::string_view s, std::size_t n) {
    if (s.size() < 8) {
        for (std::size_t i = 0; i < n; ++i) {
            if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
        }
        return true;
    }
    if (n < 8) {
        const std::uint64_t word = wordAt(s.data());
        return asciiBytesAtStart(word) >= static_cast<int>(n);
    }
    std::uint64_t high = 0;
    for (std::size_t i = 0; i + 8 <= n; i += 8) high |= wordAt(s.data() + i);
    high |= wordAt(s.data() + n - 8);  // the last bytes, overlapping the words before
    return (high & kHighBits) == 0;
}

}  // namespace

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string trim(std::string_view s) { return std::string(trimView(s)); }

std::size_t length(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8) {
        if (!isContinuation(static_cast<unsigned char>(c))) ++n;
    }
    return n;
}

std::size_t byteOffset(std::string_view utf8, std::size_t chars) {
    std::size_t i = 0;
    if (chars <= utf8.size() && isAsciiPrefix(utf8, chars)) {
        // One byte for each character.
        i = chars;
        chars = 0;
        if (i > 0) {
            while (i < utf8.size() && isContinuation(static_cast<unsigned char>(utf8[i]))) ++i;
        }
    }
    while (i < utf8.size() && chars > 0) {
        ++i;
        while (i < utf8.size() && isContinuation(static_cast<unsigned char>(utf8[i]))) ++i;
        --chars;
    }
    return i;
}

std::string_view left(std::string_view utf8, std::size_t n) { return utf8.substr(0, byteOffset(utf8, n)); }

std::string_view from(std::string_view utf8, std::size_t from) { return utf8.substr(byteOffset(utf8, from)); }

std::string_view fileNameOf(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

}  // namespace kmr::text
