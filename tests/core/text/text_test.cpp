#include "text/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/integer.h"

namespace kmr::text {
namespace {

std::string allBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

TEST(Cp1252, EveryByteSurvivesReadAndWrite) {
    const std::string bytes = allBytes();
    const Decoded d = decode(bytes.substr(1));  // a leading FF FE would be a byte-order mark
    EXPECT_EQ(d.encoding, Encoding::Cp1252);
    EXPECT_TRUE(fitsCp1252(d.text));
    EXPECT_EQ(encodeForFile(d.text), bytes.substr(1));
    EXPECT_EQ(encodeForFile(fromCp1252(bytes)), bytes);
}

TEST(Cp1252, KnownLettersDecodeToUnicode) {
    EXPECT_EQ(fromCp1252("\x80"), "\u20AC");
    EXPECT_EQ(fromCp1252("men\xFA"), "menú");
    EXPECT_EQ(fromCp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Encoding, OutsideTheCodePageTheWholeFileBecomesUtf16) {
    const std::string text = "a\u0411\U0001F600";
    const std::string bytes = encodeForFile(text);
    ASSERT_GE(bytes.size(), 2U);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes, std::string("\xFF\xFE"
                                 "a\0\x11\x04\x3D\xD8\x00\xDE",
                                 10));
    const Decoded back = decode(bytes);
    EXPECT_EQ(back.encoding, Encoding::Utf16Le);
    EXPECT_EQ(back.text, text);
}

TEST(Encoding, Utf8MarkIsRecognised) {
    const Decoded d = decode(
        "\xEF\xBB\xBF"
        "ma\xC3\xB1"
        "ana");
    EXPECT_EQ(d.encoding, Encoding::Utf8Bom);
    EXPECT_EQ(d.text, "mañana");
    // Malformed UTF-8 after the mark still gives well-formed text.
    EXPECT_EQ(decode("\xEF\xBB\xBF\xC3").text, "\u00C3");
}

// After the UTF-8 mark only well-formed sequences are UTF-8; every other byte is its Windows-1252
// character, so the text inside the program is always valid.
TEST(Encoding, Utf8AfterTheMarkIsStrict) {
    const struct {
        const char* bytes;
        const char* text;
    } cases[] = {
        {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"},                // a surrogate written in UTF-8
        {"\xC0\x80", "\u00C0\u20AC"},                          // overlong NUL
        {"\xE0\x80\xAF", "\u00E0\u20AC\u00AF"},                // overlong '/'
        {"\xF4\x90\x80\x80", "\u00F4\u0090\u20AC\u20AC"},      // above U+10FFFF
        {"a\xE2\x82", "a\u00E2\u201A"},                        // cut short at the end
        {"\xFF\xFEx", "\u00FF\u00FEx"},                        // bytes that never start a sequence
        {"\xF0\x9F\x98\x80\xC3\xB1\xED\x9F\xBF", "😀ñ\uD7FF"},  // well-formed, kept as they are
    };
    for (const auto& c : cases) EXPECT_EQ(decode(std::string("\xEF\xBB\xBF") + c.bytes).text, c.text) << c.text;
    // Whatever the bytes, the decoded text is valid UTF-8: decoding it again changes nothing.
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = "\xEF\xBB\xBF";
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>(rng() % 3 == 0 ? 0x80 + rng() % 0x80 : rng()));
        const std::string text = decode(bytes).text;
        ASSERT_EQ(decode("\xEF\xBB\xBF" + text).text, text);
    }
}

TEST(Encoding, LoneSurrogateRoundTrips) {
    const std::string bytes("\xFF\xFE\x00\xD8\x41\x00", 6);
    EXPECT_EQ(encodeForFile(decode(bytes).text), bytes);
}

// Texts of many characters against the same characters taken one at a time: runs of ASCII of every
// length around the 8- and 16-byte steps and the 4 KiB blocks, and characters of every width, fitting
// Windows-1252 or not (U+0080 does not; U+0081 does), ill-formed bytes and a lone surrogate among them.
TEST(Encoding, WholeTextsAsCharacterByCharacter) {
    const std::vector<std::string> others = {"ú", "\xC2\x81",     "€",    "Ж",   "\xC2\x80",
                                             "😀", "\xED\xA0\x80", "\xFF", "\x9D"};
    std::mt19937 rng(31);
    for (int round = 0; round < 600; ++round) {
        std::vector<std::string> characters;  // whole characters of the text, as the program holds them
        std::string bytes;                    // bytes read as Windows-1252
        const std::size_t target = round % 10 == 0 ? 9000 : rng() % 80;
        while (bytes.size() < target) {
            const std::size_t run = rng() % 3 == 0 ? rng() % 40 : rng() % 4;
            for (std::size_t i = 0; i < run; ++i) {
                bytes.push_back(static_cast<char>(rng() % 128));
                characters.emplace_back(1, bytes.back());
            }
            bytes.push_back(static_cast<char>(0x80 + rng() % 128));
            characters.push_back(rng() % 2 == 0 ? fromCp1252(bytes.substr(bytes.size() - 1))
                                                : others[rng() % others.size()]);
        }
        std::string oneByOne;
        for (const char b : bytes) oneByOne += fromCp1252(std::string(1, b));
        ASSERT_EQ(fromCp1252(bytes), oneByOne);

        std::string text;
        std::string cp1252;
        std::string utf16 = "\xFF\xFE";
        bool fits = true;
        for (const std::string& c : characters) {
            text += c;
            fits = fits && fitsCp1252(c);
            if (fitsCp1252(c)) cp1252 += encodeForFile(c);
            utf16 += toUtf16LeWithBom(c).substr(2);
        }
        ASSERT_EQ(fitsCp1252(text), fits) << text;
        ASSERT_EQ(encodeForFile(text), fits ? cp1252 : utf16) << text;
        ASSERT_EQ(toUtf16LeWithBom(text), utf16) << text;
        // Pieces ending on whole characters give the same bytes.
        FileEncoder encoder(fits);
        std::string pieces;
        for (std::size_t i = 0; i < characters.size();) {
            std::string piece;
            for (std::size_t n = rng() % 6; n > 0 && i < characters.size(); --n) piece += characters[i++];
            pieces += encoder.encode(piece);
        }
        ASSERT_EQ(pieces, fits ? cp1252 : utf16) << text;
    }
}

// A file decoded as it is read, in pieces cut anywhere, against the same bytes decoded whole.
TEST(Encoding, PiecesDecodeAsTheWhole) {
    const std::string utf16 = toUtf16LeWithBom("[autorun]\r\nlabel=Ж😀\nopen=a\r\r\n");
    const std::vector<std::string> files = {
        "",
        "\xFF",
        "\xEF\xBB",
        "\xEF\xBB\xBF",
        "\xEF\xBB\xBF\xC3",
        "\xFF\xFE",
        "\xFF\xFE\x41",
        "[autorun]\r\nlabel=Men\xFA\r\n",
        "open=\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xFF\r\n\n\r\rshell\\a=\x85",  // no header, CR and LF mixed
        "\xEF\xBB\xBF[autorun]\r\nlabel=ma\xC3\xB1\x61na \xE2\x82\xAC \xF0\x9F\x98\x80\r\n",
        "\xEF\xBB\xBFlabel=\xC3\r\n\xE2\x82\n\xED\xA0\x80\xC0\x80\xF4\x90\x80\x80\xF0\x9F\x98",  // ill-formed UTF-8
        "\xEF\xBB\xBF\x80\x9D\xFE\xFF\xEF\xBB\xBF",
        utf16,
        utf16 + "\x3D",                                      // an odd last byte
        utf16 + std::string("\x3D\xD8\x41\x00\x00\xDC", 6),  // lone surrogates
        utf16 + std::string("\x3D\xD8", 2),                  // a high surrogate at the very end
    };
    for (const std::string& file : files) {
        const Decoded whole = decode(file);
        for (std::size_t step = 1; step <= file.size() + 1; ++step) {
            for (const bool sized : {false, true}) {
                std::string text = "x";  // the text is appended to what the string holds
                PieceDecoder decoder(text);
                if (sized) decoder.expect(file.size());
                for (std::size_t at = 0; at < file.size(); at += step)
                    decoder.add(std::string_view(file).substr(at, step));
                EXPECT_EQ(decoder.finish(), whole.encoding) << file << " in pieces of " << step;
                EXPECT_EQ(text, "x" + whole.text) << file << " in pieces of " << step;
            }
        }
    }
}

TEST(Folding, OnlyAtoZ) { EXPECT_EQ(asciiLower("ABC xyz ÁÉ Ñ [X]"), "abc xyz ÁÉ Ñ [x]"); }

TEST(Trimming, CodesUpTo32) {
    EXPECT_EQ(trim(std::string("\t\x01 a b\r\n\x1F ", 11)), "a b");
    EXPECT_EQ(trim("\xC2\xA0x"), "\xC2\xA0x");  // a no-break space (160) is not trimmed
}

TEST(Characters, PositionsCountCharactersNotBytes) {
    EXPECT_EQ(length("añb€"), 4U);
    EXPECT_EQ(left("ñañaña", 3), "ñañ");
    EXPECT_EQ(from("ñañaña", 4), "ña");
    EXPECT_EQ(from("ab", 5), "");
    // Against a loop over the bytes, where ASCII, longer characters and stray continuation bytes
    // (which go with the character before them) meet at every distance from the start.
    const auto reference = [](std::string_view s, std::size_t chars) {
        std::size_t i = 0;
        for (; i < s.size() && chars > 0; --chars) {
            ++i;
            while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        }
        return i;
    };
    std::mt19937 rng(3);
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        for (std::size_t n = rng() % 24; n > 0; --n)
            s += std::vector<std::string>{"a", "a", "a", "ñ", "€", "\x80"}[rng() % 6];
        for (std::size_t chars = 0; chars <= s.size() + 1; ++chars)
            ASSERT_EQ(byteOffset(s, chars), reference(s, chars)) << s;
    }
}

TEST(Lines, TerminatorsAndTheLastLine) {
    struct Case {
        std::string text;
        bool loneCr;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", true, {}},
        {"a", true, {"a"}},
        {"a\r\n", true, {"a"}},
        {"a\r\nb\nc\rd", true, {"a", "b", "c", "d"}},
        {"a\r\nb\nc\rd", false, {"a", "b", "c\rd"}},
        {"\n\n", false, {"", ""}},
        {"a\r", false, {"a\r"}},
        {"\r\r\n\r", true, {"", "", ""}},
        {"\r\r\n\r", false, {"\r", "\r"}},
    };
    for (const auto& c : cases) {
        const auto got = splitLines(c.text, c.loneCr);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), c.lines) << c.text;
    }
}

// The cursor against a plain character loop, over random mixes of terminators.
TEST(Lines, CursorFollowsTheRules) {
    const auto reference = [](std::string_view text, bool loneCr) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size();) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                lines.emplace_back(text.substr(start, i - start));
                start = i += 2;
            } else if (text[i] == '\n' || (text[i] == '\r' && loneCr)) {
                lines.emplace_back(text.substr(start, i - start));
                start = ++i;
            } else {
                ++i;
            }
        }
        if (start < text.size()) lines.emplace_back(text.substr(start));
        return lines;
    };
    std::mt19937 rng(12);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 10);
        for (int i = 0; i < n; ++i) text.push_back("a\r\n"[rng() % 3]);
        for (const bool loneCr : {false, true}) {
            LineCursor cursor(text, loneCr);
            std::vector<std::string> got;
            std::size_t nonEmpty = 0;
            while (!cursor.atEnd()) got.emplace_back(cursor.next());
            ASSERT_EQ(got, reference(text, loneCr)) << text << loneCr;
            LineCursor skipping(text, loneCr);
            while (skipping.skipEmpty()) {
                ASSERT_FALSE(skipping.next().empty());
                ++nonEmpty;
            }
            ASSERT_EQ(nonEmpty, static_cast<std::size_t>(
                                    std::count_if(got.begin(), got.end(), [](auto& l) { return !l.empty(); })));
        }
    }
}

TEST(Integers, Syntax) {
    struct Case {
        std::string text;
        std::optional<int> value;
    };
    const std::vector<Case> cases = {
        {"0", 0},           {"12", 12},
        {"-3", -3},         {"+4", 4},
        {"0x1F", 31},       {"0XfF", 255},
        {"", {}},           {"1a", {}},
        {" 1", {}},         {"0x", {}},
        {"-", {}},          {"2147483647", 2147483647},
        {"2147483648", {}}, {"-2147483648", INT32_MIN},
        {"0xFFFFFFFF", -1}, {"0x100000000", {}},
        {"$10", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
    EXPECT_EQ(parseInteger("$10", {.allowHexDollar = true}), 16);
}

TEST(Paths, FileNameWithoutFolder) {
    EXPECT_EQ(fileNameOf("/a/b/autorun.inf"), "autorun.inf");
    EXPECT_EQ(fileNameOf("C:\\x\\Y.KMR"), "Y.KMR");
    EXPECT_EQ(fileNameOf("plain"), "plain");
}

}  // namespace
}  // namespace kmr::text
