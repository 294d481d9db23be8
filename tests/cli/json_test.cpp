#include "json.h"

#include <gtest/gtest.h>

#include "support/kmrc_runner.h"
#include "support/test_files.h"
#include "text/text.h"

namespace kmr::cli {
namespace {

// Strict UTF-8 reads back as itself; anything else would be changed by the decoder.
bool isValidUtf8(const std::string& s) { return text::decode("\xEF\xBB\xBF" + s).text == s; }

TEST(Json, StringsAreAlwaysValidUtf8) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\n\r\t\x01\x1F", R"("\n\r\t\u0001\u001f")"},
        {"ñ€😀\x7F", "\"ñ€😀\x7F\""},
        {"\xED\xA0\x80x\xED\xBF\xBF", R"("\ud800x\udfff")"},  // lone surrogates kept from a UTF-16 file
        {"\xFF\xC3", "\"ÿÃ\""},                               // stray bytes still give valid output
        {"\xC0\xA2", "\"À¢\""},                               // an overlong quote is no quote
    };
    for (const auto& c : cases) {
        EXPECT_EQ(jsonString(c.text), c.json) << c.text;
        EXPECT_TRUE(isValidUtf8(jsonString(c.text))) << c.text;
    }
}

TEST(Json, OddEncodingsReachTheOutputValid) {
    test::TempDir dir;
    // A label with a lone high surrogate in a UTF-16 project, and a surrogate written in UTF-8 after
    // the mark of an autorun file (read as the Windows-1252 letters of its bytes).
    test::writeBytes(dir.file("p.kmr"), text::toUtf16LeWithBom("[Brenlowe KMR File]\r\nEtiqueta=") +
                                            std::string("\x00\xD8x\0\r\0\n\0", 8));
    const auto shown = test::kmrc({"show", "--force", dir.file("p.kmr")});
    EXPECT_EQ(shown.code, 0) << shown.err;
    EXPECT_NE(shown.out.find(R"("values": ["\ud800x"])"), std::string::npos) << shown.out;
    EXPECT_TRUE(isValidUtf8(shown.out));

    test::writeBytes(dir.file("autorun.inf"), "\xEF\xBB\xBF[autorun]\r\nlabel=\xED\xA0\x80\r\n");
    const auto imported = test::kmrc({"import", "--json", dir.file("autorun.inf")});
    EXPECT_NE(imported.out.find("\"values\": [\"í\u00A0€\"]"), std::string::npos) << imported.out;
    EXPECT_TRUE(isValidUtf8(imported.out));
}

}  // namespace
}  // namespace kmr::cli
