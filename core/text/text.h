#pragma once
// Text helpers shared by every reader and writer: code-page conversion, A–Z folding, trimming and
// character-based positions on UTF-8 strings.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::text {

// How a file's bytes were (or are to be) encoded.
enum class Encoding { Cp1252, Utf16Le, Utf8Bom };

// Text decoded from a file, with the encoding that was detected from its byte-order mark.
struct [[nodiscard]] Decoded {
    std::string text;
    Encoding encoding = Encoding::Cp1252;
};

// Decodes file bytes: UTF-16 LE when they start with FF FE, UTF-8 when they start with EF BB BF,
// Windows-1252 otherwise. The Windows-1252 mapping is total and reversible for all 256 bytes; after a
// UTF-8 mark every byte that does not belong to a well-formed sequence is taken as its Windows-1252
// character. The result is always UTF-8, with one extension: a lone surrogate of a UTF-16 file is
// kept as its three-byte form (as in WTF-8), so that writing the file back restores it.
Decoded decode(std::string_view bytes);

// Decodes bytes as Windows-1252, with no byte-order-mark detection.
std::string fromCp1252(std::string_view bytes);

// The encoding a file's byte-order mark gives, and the mark's length (0 for Windows-1252).
Encoding detectEncoding(std::string_view bytes, std::size_t& markLength);

// Decodes bytes without a mark as the encoding says (UTF-8 strictly, other bytes as Windows-1252).
// For Windows-1252 and UTF-8 a piece of a file decodes to the same text as it has in the decoded
// whole, as long as it is cut at an ASCII character, which is never part of another character.
std::string decodeAs(std::string_view bytes, Encoding encoding);
// Appends what decodeAs gives, so that a caller can decode into a buffer it keeps.
void decodeAppend(std::string& out, std::string_view bytes, Encoding encoding);

// True when every byte is below 128: text that reads the same in every encoding a file may have.
inline bool isAscii(std::string_view s) {
    std::size_t i = 0;
    std::uint64_t any = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        any |= word;
    }
    for (; i < s.size(); ++i) any |= static_cast<unsigned char>(s[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

// Decodes a file handed over in pieces, cut anywhere, to the same text as decode() gives for the
// whole: the text grows as the pieces come, and no copy of the file's bytes is kept beside it.
class PieceDecoder {
public:
    // The text is appended to `out`.
    explicit PieceDecoder(std::string& out) : m_out(out) {}
    // The size of the whole file, when known beforehand, so that room for the text is made once.
    void expect(std::size_t fileBytes) { m_expected = fileBytes; }
    void add(std::string_view bytes);
    // Decodes what was kept back for a piece that did not come; the encoding of the file.
    Encoding finish();

private:
    void decodeMore(std::string_view bytes);

    std::string& m_out;
    std::string m_held;  // the first bytes until the mark is known, then at most three bytes of a character
    Encoding m_encoding = Encoding::Cp1252;
    bool m_encodingKnown = false;
    std::size_t m_expected = 0;
};

// The form of file bytes without a byte-order mark, beyond the Windows-1252 assumed for them: valid
// UTF-8 holding characters beyond ASCII (what Linux editors write), or UTF-16 little-endian without its
// mark or big-endian (with its mark FE FF or without), told by its zero bytes. Windows reads each of
// them as Windows-1252.
enum class UnmarkedForm { Cp1252, Utf8, Utf16Le, Utf16Be };
UnmarkedForm guessUnmarkedForm(std::string_view bytes);
// Decodes bytes of that form (a big-endian mark is left out).
std::string decodeUnmarked(std::string_view bytes, UnmarkedForm form);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool fitsCp1252(std::string_view utf8);

// Encodes text for a file: Windows-1252 when every character fits, else UTF-16 LE with its mark.
std::string encodeForFile(std::string_view utf8);

// Encodes text as UTF-16 LE with its byte-order mark.
std::string toUtf16LeWithBom(std::string_view utf8);

// Encodes a file piece by piece, as encodeForFile encodes it whole: the caller says beforehand
// whether all of the text fits Windows-1252; otherwise the first piece starts with the UTF-16 mark.
// Pieces must end on whole characters.
class FileEncoder {
public:
    explicit FileEncoder(bool fitsCp1252) : m_cp1252(fitsCp1252) {}
    // The bytes of the next piece.
    std::string encode(std::string_view utf8);

private:
    bool m_cp1252;
    bool m_started = false;
};

// Turns UTF-8 text into its Windows-1252 bytes where it stands (they are never more). False when
// some character has none; the text is then left part changed.
bool toCp1252InPlace(std::string& text);

// Lower-cases the letters A to Z only; every other character is left as it is.
std::string asciiLower(std::string_view s);

// True when c has code 32 or lower (blank, tab, control characters).
constexpr bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Removes characters of code 32 or lower from both ends (or one end).
inline std::string_view trimLeftView(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isBlank(s[b])) ++b;
    return s.substr(b);
}
inline std::string_view trimRightView(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1])) --e;
    return s.substr(0, e);
}
inline std::string_view trimView(std::string_view s) { return trimRightView(trimLeftView(s)); }
std::string trim(std::string_view s);

// Number of characters (code points) of a UTF-8 text.
std::size_t length(std::string_view utf8);

// Byte offset of the character at index `chars` (or the size when the text is shorter).
std::size_t byteOffset(std::string_view utf8, std::size_t chars);

// The first n characters of a UTF-8 text.
std::string_view left(std::string_view utf8, std::size_t n);

// The text from character index `from` (0-based) to the end; empty when the text is shorter.
std::string_view from(std::string_view utf8, std::size_t from);

// Splits text into lines. CR LF and LF always end a line; a lone CR does so only when
// `loneCrEndsLine`. A final line terminator does not start another (empty) line.
std::vector<std::string_view> splitLines(std::string_view text, bool loneCrEndsLine);

// The lines of a text one at a time, by the rules of splitLines, without a list of them all.
class LineCursor {
public:
    LineCursor(std::string_view text, bool loneCrEndsLine) : m_text(text), m_loneCrEndsLine(loneCrEndsLine) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next line; past the end, an empty one.
    std::string_view next();
    // Skips lines of length 0; true when a line is left.
    bool skipEmpty();
    // Byte offset of the next line in the text.
    std::size_t position() const { return m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_nextLf = 0;  // the first LF at or after m_pos once m_lfKnown, so no byte is searched twice
    bool m_lfKnown = false;
    bool m_loneCrEndsLine;
};

// The file name of a path without its folder (after the last '/' or '\').
std::string_view fileNameOf(std::string_view path);

// Appends one code point to a UTF-8 string.
void appendUtf8(std::string& out, char32_t cp);

// Decodes the character at s[i] of text held by the program and advances i. Surrogates (the
// extension that decode() keeps) are returned as themselves; a byte that starts no well-formed
// sequence is returned as its Windows-1252 character, so that any bytes give valid characters.
char32_t nextCodePoint(std::string_view s, std::size_t& i);

constexpr bool isSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

}  // namespace kmr::text
