// Line handling: where a line ends, one line at a time or all at once.
#include "text/text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kmr::text {
namespace {

// The position of the first CR or LF at or after i, or the size when there is none.
std::size_t lineEndAt(std::string_view s, std::size_t i) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (i + 16 <= s.size()) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
        const auto mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
        if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(mask));
        i += 16;
    }
#endif
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    // Sets the high bit of the first byte that is zero (and maybe of later ones, never of earlier).
    const auto zeroBytes = [](std::uint64_t w) { return (w - kOnes) & ~w & kHigh; };
    while (i + 8 <= s.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        const std::uint64_t found = zeroBytes(word ^ (kOnes * '\n')) | zeroBytes(word ^ (kOnes * '\r'));
        if (found != 0) {
            if constexpr (std::endian::native == std::endian::little) return i + std::countr_zero(found) / 8;
            break;
        }
        i += 8;
    }
    while (i < s.size() && s[i] != '\n' && s[i] != '\r') ++i;
    return i;
}

}  // namespace

std::string_view LineCursor::next() {
    const std::size_t size = m_text.size();
    if (m_pos >= size) return {};
    const char* base = m_text.data();
    if (m_loneCrEndsLine) {
        // The lines of a profile are short: one pass for either end, many bytes at a time, costs
        // less than a search for each.
        const std::size_t start = m_pos;
        const std::size_t end = lineEndAt(m_text, start);
        if (end == size) {
            m_pos = size;
        } else {
            m_pos = base[end] == '\r' && end + 1 < size && base[end + 1] == '\n' ? end + 2 : end + 1;
        }
        return m_text.substr(start, end - start);
    }
    if (!m_lfKnown || m_nextLf < m_pos) {
        const void* lf = std::memchr(base + m_pos, '\n', size - m_pos);
        m_nextLf = lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : size;
        m_lfKnown = true;
    }
    const std::size_t start = m_pos;
    const std::size_t end = m_nextLf;
    if (end < size && end > start && base[end - 1] == '\r') {
        m_pos = end + 1;
        return m_text.substr(start, end - 1 - start);
    }
    m_pos = end < size ? end + 1 : size;
    return m_text.substr(start, end - start);
}

bool LineCursor::skipEmpty() {
    for (;;) {
        if (atEnd()) return false;
        const char c = m_text[m_pos];
        if (c == '\n') {
            ++m_pos;
        } else if (c == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') {
            m_pos += 2;
        } else if (c == '\r' && m_loneCrEndsLine) {
            ++m_pos;
        } else {
            return true;
        }
    }
}

std::vector<std::string_view> splitLines(std::string_view text, bool loneCrEndsLine) {
    std::vector<std::string_view> lines;
    LineCursor cursor(text, loneCrEndsLine);
    while (!cursor.atEnd()) lines.push_back(cursor.next());
    return lines;
}

}  // namespace kmr::text
