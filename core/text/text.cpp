#include "text/text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace kmr::text {
namespace {

// Code points of the bytes 0x80..0x9F; the five undefined bytes map to the C1 control of the same
// number so that every byte survives a read and a write.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// Windows-1252 byte of a code point, or -1 when it has none.
int cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The end of the run of ASCII bytes from i, eight bytes at a time: such runs are most of any file.
std::size_t asciiRunEnd(std::string_view s, std::size_t i) {
    while (i + 8 <= s.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) break;
        i += 8;
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

// The position of the first CR or LF at or after i, or the size when there is none.
std::size_t lineEndAt(std::string_view s, std::size_t i) {
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

char32_t singleByteCharacter(unsigned char c) {
    if (c < 0x80) return c;
    return c < 0xA0 ? kHighControls[c - 0x80] : static_cast<char32_t>(c);
}

// Length of the well-formed UTF-8 sequence at s[i] (with its code point in cp), or 0 when none starts
// there: no overlong forms, nothing above U+10FFFF, and surrogates only when allowed.
std::size_t sequenceAt(std::string_view s, std::size_t i, bool allowSurrogates, char32_t& cp) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    std::size_t n = 0;
    unsigned char low = 0x80;  // the range of the second byte, narrower after some lead bytes
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED && !allowSurrogates) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - i < n) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if (cc < (k == 1 ? low : 0x80) || cc > (k == 1 ? high : 0xBF)) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    return n;
}

void appendUtf16(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

std::string decodeUtf16Le(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char16_t u = unitAt(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const char16_t low = unitAt(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        // A lone surrogate is kept as its own code point so that writing it back restores it.
        appendUtf8(out, u);
    }
    if (bytes.size() % 2 != 0) {
        // An odd trailing byte cannot be a UTF-16 unit; keep it as a character rather than drop it.
        appendUtf8(out, static_cast<unsigned char>(bytes.back()));
    }
    return out;
}

void appendDecodedUtf8(std::string& out, std::string_view bytes) {
    // Well-formed sequences are copied as they are; any other byte is read as Windows-1252, so the
    // text inside the program is always valid.
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t runStart = i;
        char32_t cp = 0;
        std::size_t n = 0;
        while (i < bytes.size() && (n = sequenceAt(bytes, i, false, cp)) != 0) i += n;
        out.append(bytes.substr(runStart, i - runStart));
        if (i == bytes.size()) break;
        appendUtf8(out, singleByteCharacter(static_cast<unsigned char>(bytes[i++])));
    }
}

void appendDecodedCp1252(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t runStart = i;
        i = asciiRunEnd(bytes, i);
        out.append(bytes.substr(runStart, i - runStart));
        if (i == bytes.size()) break;
        appendUtf8(out, singleByteCharacter(static_cast<unsigned char>(bytes[i++])));
    }
}

}  // namespace

char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    char32_t cp = 0;
    const std::size_t n = sequenceAt(s, i, true, cp);
    if (n == 0) {
        return singleByteCharacter(static_cast<unsigned char>(s[i++]));
    }
    i += n;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string fromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    appendDecodedCp1252(out, bytes);
    return out;
}

Encoding detectEncoding(std::string_view bytes, std::size_t& markLength) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        markLength = 2;
        return Encoding::Utf16Le;
    }
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        markLength = 3;
        return Encoding::Utf8Bom;
    }
    markLength = 0;
    return Encoding::Cp1252;
}

std::string decodeAs(std::string_view bytes, Encoding encoding) {
    if (encoding == Encoding::Utf16Le) return decodeUtf16Le(bytes);
    std::string out;
    out.reserve(bytes.size() + (encoding == Encoding::Cp1252 ? bytes.size() / 8 : 0));
    decodeAppend(out, bytes, encoding);
    return out;
}

void decodeAppend(std::string& out, std::string_view bytes, Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf16Le: out.append(decodeUtf16Le(bytes)); return;
        case Encoding::Utf8Bom: appendDecodedUtf8(out, bytes); return;
        case Encoding::Cp1252: appendDecodedCp1252(out, bytes); return;
    }
}

Decoded decode(std::string_view bytes) {
    std::size_t mark = 0;
    const Encoding encoding = detectEncoding(bytes, mark);
    return {decodeAs(bytes.substr(mark), encoding), encoding};
}

bool fitsCp1252(std::string_view utf8) {
    std::size_t i = asciiRunEnd(utf8, 0);
    while (i < utf8.size()) {
        if (cp1252Byte(nextCodePoint(utf8, i)) < 0) return false;
        i = asciiRunEnd(utf8, i);
    }
    return true;
}

std::string toUtf16LeWithBom(std::string_view utf8) {
    std::string out;
    out.reserve(2 + utf8.size() * 2);
    out.push_back(static_cast<char>(0xFF));
    out.push_back(static_cast<char>(0xFE));
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            appendUtf16(out, static_cast<char16_t>(0xD800 + (v >> 10)));
            appendUtf16(out, static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            appendUtf16(out, static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string FileEncoder::encode(std::string_view utf8) {
    const bool first = !m_started;
    m_started = true;
    if (!m_cp1252) {
        std::string out = toUtf16LeWithBom(utf8);
        return first ? out : out.substr(2);
    }
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t runStart = i;
        i = asciiRunEnd(utf8, i);
        out.append(utf8.substr(runStart, i - runStart));
        if (i < utf8.size()) out.push_back(static_cast<char>(cp1252Byte(nextCodePoint(utf8, i))));
    }
    return out;
}

std::string encodeForFile(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII are copied whole; they are most of any real file.
        const std::size_t runStart = i;
        i = asciiRunEnd(utf8, i);
        out.append(utf8.substr(runStart, i - runStart));
        if (i == utf8.size()) break;
        const int b = cp1252Byte(nextCodePoint(utf8, i));
        if (b < 0) return toUtf16LeWithBom(utf8);
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view trimLeftView(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isBlank(s[b])) ++b;
    return s.substr(b);
}

std::string_view trimRightView(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

std::string_view trimView(std::string_view s) { return trimRightView(trimLeftView(s)); }

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
    while (i < utf8.size() && chars > 0) {
        ++i;
        while (i < utf8.size() && isContinuation(static_cast<unsigned char>(utf8[i]))) ++i;
        --chars;
    }
    return i;
}

std::string_view left(std::string_view utf8, std::size_t n) { return utf8.substr(0, byteOffset(utf8, n)); }

std::string_view from(std::string_view utf8, std::size_t from) { return utf8.substr(byteOffset(utf8, from)); }

std::string_view LineCursor::next() {
    const std::size_t size = m_text.size();
    if (m_pos >= size) return {};
    const char* base = m_text.data();
    if (m_loneCrEndsLine) {
        // The lines of a profile are short: one pass for either end, eight bytes at a time, costs
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
    std::size_t end = m_nextLf;
    if (m_loneCrEndsLine) {
        if (const void* cr = std::memchr(base + start, '\r', end - start)) {
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
            m_pos = end + 1 < size && base[end + 1] == '\n' ? end + 2 : end + 1;
            return m_text.substr(start, end - start);
        }
    } else if (end < size && end > start && base[end - 1] == '\r') {
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

std::string_view fileNameOf(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

}  // namespace kmr::text
