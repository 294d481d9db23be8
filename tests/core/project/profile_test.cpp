#include "project/profile.h"

#include <gtest/gtest.h>

namespace kmr {
namespace {

struct LookupCase {
    const char* name;
    std::string text;
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

TEST(Profile, LookupRules) {
    const std::vector<LookupCase> cases = {
        {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"section and key ignore case", "[sEcT]\nKeY=v", "SECT", "key", "v"},
        {"blanks around key and value", "[S]\n \t k \t= \t v w \t\n", "S", "k", "v w"},
        {"control characters are no blanks", "[S]\n\x01k\x0b=\x01v w\x0b\n", "S", "\x01k\x0b", "\x01v w\x0b"},
        {"split at the first equals", "[S]\nk=a=b=c\n", "S", "k", "a=b=c"},
        {"first section of a name wins", "[S]\nk=1\n[T]\nk=2\n[S]\nk=3\nj=4\n", "S", "k", "1"},
        {"later duplicate section never seen", "[S]\nk=1\n[S]\nj=4\n", "S", "j", std::nullopt},
        {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        {"double quotes removed", "[S]\nk=\" a \"\n", "S", "k", " a "},
        {"single quotes removed", "[S]\nk='x'\n", "S", "k", "x"},
        {"only one pair removed", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
        {"unmatched quotes stay", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
        {"a lone quote stays", "[S]\nk=\"\n", "S", "k", "\""},
        {"inner quotes stay", "[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"},
        {"missing key", "[S]\nk=1\n", "S", "j", std::nullopt},
        {"missing section", "[S]\nk=1\n", "T", "k", std::nullopt},
        {"empty value is present", "[S]\nk=\n", "S", "k", ""},
        {"keys before any header belong to no section", "k=0\n[S]\nj=1\n", "S", "k", std::nullopt},
        {"comment line", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
        {"line without equals is no key", "[S]\nk\nk=2\n", "S", "k", "2"},
        {"header name trimmed, text after bracket ignored", "[  S  ] tail\nk=1\n", "S", "k", "1"},
        {"header without closing bracket", "[S\nk=1\n", "S", "k", "1"},
        {"indented header", "  [S]\nk=1\n", "S", "k", "1"},
        {"empty lines ignored", "\n\n[S]\n\n\nk=1\n", "S", "k", "1"},
        {"lone CR ends a line", "[S]\rk=1\rj=2", "S", "j", "2"},
        {"non-ASCII names compare exactly", "[Menú]\nk=1\n", "MENú", "k", "1"},
    };
    for (const auto& c : cases) {
        const ProfileFile f = ProfileFile::parse(c.text);
        EXPECT_EQ(f.find(c.section, c.key), c.value) << c.name;
        EXPECT_EQ(f.lookup(c.section, c.key), c.value.value_or("")) << c.name;
    }
}

TEST(Profile, LongValuesAreCutTo2047Characters) {
    const std::string longValue(3000, 'x');
    EXPECT_EQ(ProfileFile::parse("[S]\nk=" + longValue).lookup("S", "k").size(), 2047U);
    std::string wide;
    for (int i = 0; i < 2100; ++i) wide += "ñ";
    const std::string got = ProfileFile::parse("[S]\nk=" + wide).lookup("S", "k");
    EXPECT_EQ(got.size(), 2047U * 2);  // counted in characters, never splitting one
}

TEST(Profile, Integers) {
    const ProfileFile f = ProfileFile::parse("[S]\na=12\nb=0x1f\nc=abc\nd=\ne= 7 \nf=-2\ng=3x\nh=\"5\"\n");
    const std::vector<std::pair<std::string, int>> cases = {{"a", 12}, {"b", 31}, {"c", 0}, {"d", 0},      {"e", 7},
                                                            {"f", -2}, {"g", 0},  {"h", 5}, {"missing", 0}};
    for (const auto& [key, value] : cases) EXPECT_EQ(f.lookupInt("S", key), value) << key;
    EXPECT_EQ(f.findInt("S", "c"), std::nullopt);
}

TEST(Profile, Sections) {
    const ProfileFile f = ProfileFile::parse("[A]\r\n\r\n[b]\r\n");
    EXPECT_TRUE(f.hasSection("a"));
    EXPECT_TRUE(f.hasSection("B"));
    EXPECT_FALSE(f.hasSection("c"));
}

}  // namespace
}  // namespace kmr
