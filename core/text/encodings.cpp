// The encodings a file may have (Windows-1252, UTF-8 with its mark, UTF-16 LE): decoding, whole or in
// pieces, and encoding back.
#include "text/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/text_internal.h"

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

// The length of the run of ASCII bytes that [in, end) starts with, found 16 or 8 bytes at a time: such
// runs are most of any file. With `out`, the run is copied there too, and so may be up to 15 bytes
// after it (never more than the input holds).
std::size_t asciiRun(const char* in, const char* end, char* out) {
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

std::size_t asciiRunEnd(std::string_view s, std::size_t i) {
    return i + asciiRun(s.data() + i, s.data() + s.size(), nullptr);
}

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

// Text made a block at a time in a buffer on the stack and appended whole: one append per block
// instead of one per run of ASCII or per character.
constexpr std::size_t kBlock = 4096;

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

// Encodes UTF-8 onto `out` as Windows-1252. A character without a Windows-1252 byte stops it (false)
// when `stopAtMisfit`, else it is written as the byte FF.
bool appendCp1252Bytes(std::string& out, std::string_view utf8, bool stopAtMisfit) {
    char buffer[kBlock];
    const char* const data = utf8.data();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t blockEnd = std::min(utf8.size(), i + kBlock);
        char* o = buffer;
        while (i < blockEnd) {
            const std::size_t n = asciiRun(data + i, data + blockEnd, o);
            o += n;
            i += n;
            if (i == blockEnd) break;
            // One character, which may end in the next block. The letters of Latin-1 (two bytes, the
            // first C2 or C3) are taken apart here.
            const auto lead = static_cast<unsigned char>(data[i]);
            int b = 0;
            if ((lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size() &&
                isContinuation(static_cast<unsigned char>(data[i + 1]))) {
                b = cp1252Byte(static_cast<char32_t>(((lead & 0x1F) << 6) | (data[i + 1] & 0x3F)));
                i += 2;
            } else {
                b = cp1252Byte(nextCodePoint(utf8, i));
            }
            if (b < 0 && stopAtMisfit) return false;
            *o++ = static_cast<char>(b);
        }
        out.append(buffer, static_cast<std::size_t>(o - buffer));
    }
    return true;
}

// Encodes UTF-8 onto `out` as UTF-16 LE, without the mark.
void appendUtf16LeBytes(std::string& out, std::string_view utf8) {
    char buffer[2 * kBlock + 8];
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t blockEnd = std::min(utf8.size(), i + kBlock);
        char* o = buffer;
        while (i < blockEnd) {
            const std::size_t n = asciiRun(utf8.data() + i, utf8.data() + blockEnd, nullptr);
            for (std::size_t k = 0; k < n; ++k) {
                o[2 * k] = utf8[i + k];
                o[2 * k + 1] = 0;
            }
            o += 2 * n;
            i += n;
            if (i == blockEnd) break;
            const char32_t cp = nextCodePoint(utf8, i);
            const auto unit = [&o](char32_t u) {
                *o++ = static_cast<char>(u & 0xFF);
                *o++ = static_cast<char>((u >> 8) & 0xFF);
            };
            if (cp >= 0x10000) {
                const char32_t v = cp - 0x10000;
                unit(0xD800 + (v >> 10));
                unit(0xDC00 + (v & 0x3FF));
            } else {
                unit(cp);
            }
        }
        out.append(buffer, static_cast<std::size_t>(o - buffer));
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
    appendUtf16LeBytes(out, utf8);
    return out;
}

std::string FileEncoder::encode(std::string_view utf8) {
    const bool first = !m_started;
    m_started = true;
    std::string out;
    if (!m_cp1252) {
        out.reserve((first ? 2 : 0) + utf8.size() * 2);
        if (first) out.append("\xFF\xFE");
        appendUtf16LeBytes(out, utf8);
        return out;
    }
    out.reserve(utf8.size());
    appendCp1252Bytes(out, utf8, false);
    return out;
}

bool toCp1252InPlace(std::string& text) {
    char* const data = text.data();
    const std::string_view view(text);
    const std::size_t size = text.size();
    // Nothing moves before the first character that is not ASCII; after it, each run of ASCII moves
    // back by the bytes the characters before it lost.
    std::size_t i = asciiRunEnd(view, 0);
    std::size_t o = i;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(data[i]);
        int b = 0;
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < size && isContinuation(static_cast<unsigned char>(data[i + 1]))) {
            b = cp1252Byte(static_cast<char32_t>(((lead & 0x1F) << 6) | (data[i + 1] & 0x3F)));
            i += 2;
        } else {
            b = cp1252Byte(nextCodePoint(view, i));
        }
        if (b < 0) return false;
        data[o++] = static_cast<char>(b);
        const std::size_t n = asciiRun(data + i, data + size, nullptr);
        std::memmove(data + o, data + i, n);
        o += n;
        i += n;
    }
    text.resize(o);
    return true;
}

std::string encodeForFile(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    // Most texts fit; the few that do not are encoded again, whole, as UTF-16.
    if (appendCp1252Bytes(out, utf8, true)) return out;
    return toUtf16LeWithBom(utf8);
}

}  // namespace kmr::text
