// The encodings a file may have (Windows-1252, UTF-8 with its mark, UTF-16 LE): decoding, whole or in
// pieces. Encoding back is in encode.cpp.
#include "text/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "text/text_internal.h"

namespace kmr::text {
namespace {

constexpr char32_t singleByteCharacter(unsigned char c) {
    if (c < 0x80) return c;
    return c < 0xA0 ? kHighControls[c - 0x80] : static_cast<char32_t>(c);
}

// The UTF-8 form of each byte from 0x80 on read as Windows-1252 (two or three bytes).
struct HighByteUtf8 {
    std::array<char, 3> bytes{};
    std::size_t size = 0;
};

constexpr std::array<HighByteUtf8, 128> kHighUtf8 = [] {
    std::array<HighByteUtf8, 128> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        const char32_t cp = singleByteCharacter(static_cast<unsigned char>(0x80 + b));
        HighByteUtf8& u = table[b];
        if (cp < 0x800) {
            u.bytes = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0};
            u.size = 2;
        } else {
            u.bytes = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (cp & 0x3F))};
            u.size = 3;
        }
    }
    return table;
}();

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

// Decodes UTF-16 LE units onto `out` and returns the bytes used. Unless `last`, the last unit is
// left for the next piece (it may start a surrogate pair), and so is an odd byte.
std::size_t appendUtf16Le(std::string& out, std::string_view bytes, bool last) {
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    std::size_t k = 0;
    for (; last ? k < units : k + 1 < units; ++k) {
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
    if (!last) return 2 * k;
    if (bytes.size() % 2 != 0) {
        // An odd trailing byte cannot be a UTF-16 unit; keep it as a character rather than drop it.
        appendUtf8(out, static_cast<unsigned char>(bytes.back()));
    }
    return bytes.size();
}

// Decodes UTF-8 onto `out` and returns the bytes used. Well-formed sequences are copied as they are;
// any other byte is read as Windows-1252, so the text inside the program is always valid. Unless
// `last`, the last three bytes are left for the next piece: a sequence may go on there.
std::size_t appendUtf8Lenient(std::string& out, std::string_view bytes, bool last) {
    const std::size_t end = last ? bytes.size() : bytes.size() - std::min<std::size_t>(bytes.size(), 3);
    std::size_t i = 0;
    while (i < end) {
        const std::size_t runStart = i;
        char32_t cp = 0;
        std::size_t n = 0;
        while (i < end && (n = sequenceAt(bytes, i, false, cp)) != 0) i += n;
        out.append(bytes.substr(runStart, i - runStart));
        if (i >= end) break;
        const HighByteUtf8& u = kHighUtf8[static_cast<unsigned char>(bytes[i++]) - 0x80];
        out.append(u.bytes.data(), u.size);
    }
    return i;
}

// Decodes Windows-1252 onto `out`.
void appendCp1252(std::string& out, std::string_view bytes) {
    char buffer[3 * kBlock + 8];
    const char* in = bytes.data();
    const char* const inEnd = in + bytes.size();
    while (in < inEnd) {
        const char* const blockEnd = in + std::min<std::size_t>(kBlock, static_cast<std::size_t>(inEnd - in));
        char* o = buffer;
        while (in < blockEnd) {
            const std::size_t n = asciiRun(in, blockEnd, o);
            o += n;
            in += n;
            if (in == blockEnd) break;
            const HighByteUtf8& u = kHighUtf8[static_cast<unsigned char>(*in++) - 0x80];
            std::memcpy(o, u.bytes.data(), 3);
            o += u.size;
        }
        out.append(buffer, static_cast<std::size_t>(o - buffer));
    }
}

// Decodes bytes without a mark onto `out` and returns the bytes used: all of them when `last`, else
// all but a few at the end that the next piece may complete.
std::size_t appendDecoded(std::string& out, std::string_view bytes, Encoding encoding, bool last) {
    switch (encoding) {
        case Encoding::Utf16Le: return appendUtf16Le(out, bytes, last);
        case Encoding::Utf8Bom: return appendUtf8Lenient(out, bytes, last);
        case Encoding::Cp1252: break;
    }
    appendCp1252(out, bytes);
    return bytes.size();
}

// Room for the text that bytes of the encoding decode to, as much as a typical file needs.
std::size_t expectedTextSize(std::size_t bytes, Encoding encoding) {
    return encoding == Encoding::Cp1252 ? bytes + bytes / 8 : bytes;
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
    out.reserve(expectedTextSize(bytes.size(), Encoding::Cp1252));
    appendCp1252(out, bytes);
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
    std::string out;
    out.reserve(expectedTextSize(bytes.size(), encoding));
    appendDecoded(out, bytes, encoding, true);
    return out;
}

void decodeAppend(std::string& out, std::string_view bytes, Encoding encoding) {
    appendDecoded(out, bytes, encoding, true);
}

Decoded decode(std::string_view bytes) {
    std::size_t mark = 0;
    const Encoding encoding = detectEncoding(bytes, mark);
    return {decodeAs(bytes.substr(mark), encoding), encoding};
}

void PieceDecoder::add(std::string_view bytes) {
    if (m_encodingKnown) {
        decodeMore(bytes);
        return;
    }
    // The mark is at most three bytes long.
    m_held.append(bytes);
    if (m_held.size() < 3) return;
    std::size_t mark = 0;
    m_encoding = detectEncoding(m_held, mark);
    m_encodingKnown = true;
    if (m_expected > mark) m_out.reserve(m_out.size() + expectedTextSize(m_expected - mark, m_encoding));
    const std::string first = std::move(m_held);
    m_held.clear();
    decodeMore(std::string_view(first).substr(mark));
}

void PieceDecoder::decodeMore(std::string_view bytes) {
    if (!m_held.empty()) {
        // The character that the last piece began is finished with the first bytes of this one, taken
        // together with enough bytes after it that the decoder gets past the bytes held.
        constexpr std::size_t kJoin = 8;
        std::string joined = m_held;
        joined.append(bytes.substr(0, kJoin));
        const std::size_t used = appendDecoded(m_out, joined, m_encoding, false);
        if (bytes.size() <= kJoin) {
            m_held = joined.substr(used);
            return;
        }
        bytes.remove_prefix(used - m_held.size());
        m_held.clear();
    }
    const std::size_t used = appendDecoded(m_out, bytes, m_encoding, false);
    m_held.assign(bytes.substr(used));
}

Encoding PieceDecoder::finish() {
    std::size_t mark = 0;
    if (!m_encodingKnown) {
        m_encoding = detectEncoding(m_held, mark);
        m_encodingKnown = true;
    }
    appendDecoded(m_out, std::string_view(m_held).substr(mark), m_encoding, true);
    m_held.clear();
    return m_encoding;
}

}  // namespace kmr::text
