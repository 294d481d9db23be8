#include "text/text.h"

#include <array>

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

// Decodes one code point at s[i], advancing i. Input produced by this library is always
// well-formed; a stray byte is taken as its Windows-1252 character so nothing is lost.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    std::size_t n = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        n = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        n = 3;
        cp = c & 0x07;
    }
    const auto asSingleByte = [&] {
        ++i;
        return c < 0xA0 ? kHighControls[c - 0x80] : static_cast<char32_t>(c);
    };
    if (n == 0 || i + n >= s.size()) return asSingleByte();
    for (std::size_t k = 1; k <= n; ++k) {
        const auto cc = static_cast<unsigned char>(s[i + k]);
        if (!isContinuation(cc)) return asSingleByte();
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp > 0x10FFFF) return asSingleByte();
    i += n + 1;
    return cp;
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

std::string decodeUtf8(std::string_view bytes) {
    // Re-encode through nextCodePoint so that malformed sequences become valid text.
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) appendUtf8(out, nextCodePoint(bytes, i));
    return out;
}

}  // namespace

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
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t runStart = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
        out.append(bytes.substr(runStart, i - runStart));
        if (i == bytes.size()) break;
        const auto c = static_cast<unsigned char>(bytes[i++]);
        appendUtf8(out, c < 0xA0 ? kHighControls[c - 0x80] : static_cast<char32_t>(c));
    }
    return out;
}

Decoded decode(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return {decodeUtf16Le(bytes.substr(2)), Encoding::Utf16Le};
    }
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        return {decodeUtf8(bytes.substr(3)), Encoding::Utf8Bom};
    }
    return {fromCp1252(bytes), Encoding::Cp1252};
}

bool fitsCp1252(std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++i;
            continue;
        }
        if (cp1252Byte(nextCodePoint(utf8, i)) < 0) return false;
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

std::string encodeForFile(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII are copied whole; they are most of any real file.
        const std::size_t runStart = i;
        while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
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

std::vector<std::string_view> splitLines(std::string_view text, bool loneCrEndsLine) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += 2;
            start = i;
        } else if (c == '\n' || (c == '\r' && loneCrEndsLine)) {
            lines.push_back(text.substr(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view fileNameOf(std::string_view path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

}  // namespace kmr::text
