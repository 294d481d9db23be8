#include "project/settings_entries.h"

#include <gtest/gtest.h>

namespace kmr {
namespace {

// A kept line split into its cells and joined back, untouched or with `equals` unknown (a row the user
// added with those cells).
TEST(SettingsEntries, KeptLinesSplitIntoKeyAndValueAndJoinBack) {
    const struct {
        const char* line;
        KeptLineParts parts;
        const char* joined;  // the line written back
        const char* added;   // the line of a new row holding the same cells
    } cases[] = {
        {"open=setup.exe", {"open", "setup.exe", true}, "open=setup.exe", "open=setup.exe"},
        {"  shellstart = x  ", {"shellstart", "x", true}, "shellstart=x", "shellstart=x"},
        {"clave=", {"clave", "", true}, "clave=", "clave="},
        {"\\musica", {"\\musica", "", false}, "\\musica", "\\musica="},
        {"; comentario = no", {"; comentario = no", "", false}, "; comentario = no", "; comentario = no"},
        {"=valor", {"", "valor", true}, "=valor", "=valor"},
        {"a=b=c", {"a", "b=c", true}, "a=b=c", "a=b=c"},
        {"\t", {"", "", false}, "", "="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const KeptLineParts parts = splitKeptLine(c.line);
        EXPECT_EQ(parts.key, c.parts.key);
        EXPECT_EQ(parts.value, c.parts.value);
        EXPECT_EQ(parts.equals, c.parts.equals);
        EXPECT_EQ(joinKeptLine(parts.key, parts.value, parts.equals), c.joined);
        EXPECT_EQ(joinKeptLine(parts.key, parts.value, std::nullopt), c.added);
    }
    // A line without "=" that gets a value gets its "=".
    EXPECT_EQ(joinKeptLine(" \\musica ", " x ", false), "\\musica=x");
}

// The checks of a changed entry, in their order: the first field, then the key, then the value.
TEST(SettingsEntries, AChangedEntryIsRefusedWhereTheFileWouldNotReadItBack) {
    const auto first = [](std::string_view m) { return EntryFault{EntryField::First, m}; };
    const auto key = [](std::string_view m) { return EntryFault{EntryField::Key, m}; };
    const struct {
        bool platform;
        const char* first;
        const char* key;
        const char* value;
        std::optional<EntryFault> fault;
    } cases[] = {
        {true, " amd64 ", "open", "setup64.exe", std::nullopt},
        {true, "Amd65", "open", "x", first(kUnknownPlatform)},
        {true, "", "open", "x", first(kUnknownPlatform)},
        {true, "x86", "  ", "x", key(kEmptyField)},
        {true, "x86", "a=b", "x", key(kBadPlatformKey)},
        {true, "x86", "[x", "x", key(kBadPlatformKey)},
        {true, "x86", ";nota", "x", key(kBadPlatformKey)},
        {true, "x86", "open", "a\nb", EntryFault{EntryField::Value, kValueOnTwoLines}},
        {false, "Strings", "Nombre", "Mi disco", std::nullopt},
        {false, "Strings", "; a=b [c]", "", std::nullopt},
        {false, " ", "Nombre", "x", first(kEmptyField)},
        {false, "Str]ings", "Nombre", "x", first(kBracketsInSection)},
        {false, "a\rb", "Nombre", "x", first(kBracketsInSection)},
        {false, "Strings", "", "x", key(kEmptyField)},
        {false, "Strings", "a=b", "x", key(kBadKeptKey)},
        {false, "Strings", "[otra", "x", key(kBadKeptKey)},
        {false, "Strings", "a\nb", "x", key(kValueOnTwoLines)},
        {false, "Strings", "Nombre", "x\r", EntryFault{EntryField::Value, kValueOnTwoLines}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.key + " / " + c.value);
        const auto fault =
            c.platform ? checkPlatformEntry(c.first, c.key, c.value) : checkKeptEntry(c.first, c.key, c.value);
        EXPECT_EQ(fault, c.fault);
    }
    EXPECT_EQ(platformNamed(" ppc"), "PPC");
}

TEST(SettingsEntries, FoldersAndContentAnswers) {
    EXPECT_EQ(folderLines("\\musica\n\n  \\fotos  \r\n \n"), (std::vector<std::string>{"\\musica", "\\fotos"}));
    EXPECT_TRUE(folderLines("").empty());
    for (const char* folder : {"[autorun]", ";nota"}) EXPECT_TRUE(readsAsHeaderOrComment(folder)) << folder;
    EXPECT_FALSE(readsAsHeaderOrComment("\\[x]"));

    const struct {
        std::optional<std::string> shown;
        ContentAnswer answer;  // what the list shows for it
        std::optional<std::string> yes, no, unset;
    } cases[] = {
        {std::nullopt, ContentAnswer::Unset, "true", "false", std::nullopt},
        {"1", ContentAnswer::Yes, "1", "false", std::nullopt},
        {"Y", ContentAnswer::Yes, "Y", "false", std::nullopt},
        {"0", ContentAnswer::No, "true", "0", std::nullopt},
        {"", ContentAnswer::No, "true", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.value_or("(none)"));
        EXPECT_EQ(contentAnswer(c.shown), c.answer);
        EXPECT_EQ(contentValue(ContentAnswer::Yes, c.shown), c.yes);
        EXPECT_EQ(contentValue(ContentAnswer::No, c.shown), c.no);
        EXPECT_EQ(contentValue(ContentAnswer::Unset, c.shown), c.unset);
    }
}

}  // namespace
}  // namespace kmr
