#include "text/text.h"

#include <gtest/gtest.h>

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

TEST(Encoding, LoneSurrogateRoundTrips) {
    const std::string bytes("\xFF\xFE\x00\xD8\x41\x00", 6);
    EXPECT_EQ(encodeForFile(decode(bytes).text), bytes);
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
    };
    for (const auto& c : cases) {
        const auto got = splitLines(c.text, c.loneCr);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), c.lines) << c.text;
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
