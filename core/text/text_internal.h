#pragma once
// Word-at-a-time helpers that the encodings and the character rules of text.h share; no other file
// includes this one.

#include <bit>
#include <cstdint>
#include <cstring>

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

}  // namespace kmr::text
