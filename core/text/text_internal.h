#pragma once
// Word-at-a-time helpers and the Windows-1252 table that the decoding, the encoding and the character
// rules of text.h share; no other file includes this one.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kmr::text {

inline bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The eight bytes at p as one word, for telling a run of ASCII bytes eight at a time.
inline std::uint64_t wordAt(const char* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, 8);
    return word;
}

// How many of the eight bytes of `word` come before its first byte of 128 or more (8 when none).
inline int asciiBytesAtStart(std::uint64_t word) {
    const std::uint64_t high = word & kHighBits;
    if (high == 0) return 8;
    if constexpr (std::endian::native == std::endian::little) {
        return std::countr_zero(high) / 8;
    } else {
        return std::countl_zero(high) / 8;
    }
}

// Code points of the bytes 0x80..0x9F; the five undefined bytes map to the C1 control of the same
// number so that every byte survives a read and a write.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Windows-1252 byte of a code point, or -1 when it has none.
inline int cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

// The length of the run of ASCII bytes that [in, end) starts with, found 16 or 8 bytes at a time: such
// runs are most of any file. With `out`, the run is copied there too, and so may be up to 15 bytes
// after it (never more than the input holds).
inline std::size_t asciiRun(const char* in, const char* end, char* out) {
    const char* p = in;
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (out != nullptr) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (p - in)), v);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(v));
        if (mask != 0) return static_cast<std::size_t>(p - in) + static_cast<std::size_t>(std::countr_zero(mask));
        p += 16;
    }
#endif
    while (end - p >= 8) {
        const std::uint64_t word = wordAt(p);
        if (out != nullptr) std::memcpy(out + (p - in), &word, 8);
        const int n = asciiBytesAtStart(word);
        p += n;
        if (n < 8) return static_cast<std::size_t>(p - in);
    }
    while (p < end && static_cast<unsigned char>(*p) < 0x80) {
        if (out != nullptr) out[p - in] = *p;
        ++p;
    }
    return static_cast<std::size_t>(p - in);
}

inline std::size_t asciiRunEnd(std::string_view s, std::size_t i) {
    return i + asciiRun(s.data() + i, s.data() + s.size(), nullptr);
}

// Text made a block at a time in a buffer on the stack and appended whole: one append per block
// instead of one per run of ASCII or per character.
constexpr std::size_t kBlock = 4096;

}  // namespace kmr::text
