// Encoding text back into the bytes of a file: Windows-1252 where every character fits, else UTF-16 LE
// with its mark. Decoding is in encodings.cpp.
#include <string>
#include <string_view>

#include "text/text.h"
#include "text/text_internal.h"

namespace kmr::text {
namespace {

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
