#pragma once
// Sectioned key=value look-up with the rules of the usual profile (INI) functions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kmr {

// Longest value a look-up returns, in characters; a longer value is cut.
inline constexpr std::size_t kProfileValueLimit = 2047;

// One section of a profile text: its name and the lines up to the next header, as views into the
// text of the ProfileFile it came from (valid while that file lives).
class ProfileSection {
public:
    ProfileSection(std::string_view name, std::string_view body) : m_name(name), m_body(body) {}

    // The name between the brackets, trimmed, as written.
    std::string_view name() const { return m_name; }
    // The value of the first line of the key, or nullopt when there is none.
    std::optional<std::string> find(std::string_view key) const;
    std::string lookup(std::string_view key) const { return find(key).value_or(std::string()); }
    std::optional<std::int32_t> findInt(std::string_view key) const;
    std::int32_t lookupInt(std::string_view key) const { return findInt(key).value_or(0); }
    // Several keys in one pass: raw[i] is what follows '=' on the first line of keys[i] (before the
    // value rules), or nullopt. Keys are given trimmed.
    void findEach(std::span<const std::string_view> keys, std::span<std::optional<std::string_view>> raw) const;

private:
    std::string_view m_name;
    std::string_view m_body;
};

// A profile text. Section and key names compare with A–Z folded; only the first section of a name,
// and in it the first line of a key, is ever seen. Values are trimmed of blanks and tabs, one enclosing
// pair of matching double or single quotes is removed, and the result is cut to 2047 characters.
// Lines before the first header belong to no section; ';' starts a comment line; a line without '='
// is no key; CR LF, LF and a lone CR each end a line. Nothing is indexed: every look-up reads the
// text from its start, which keeps the memory at the text's own size whatever the text holds.
class ProfileFile {
public:
    // Takes decoded text (UTF-8).
    explicit ProfileFile(std::string content) : m_text(std::move(content)) {}
    static ProfileFile parse(std::string_view content) { return ProfileFile(std::string(content)); }

    // The first section of the name, or nullopt.
    std::optional<ProfileSection> section(std::string_view name) const;
    bool hasSection(std::string_view name) const { return section(name).has_value(); }

    // The value, or nullopt when the section or the key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // The value, or the empty text when missing.
    std::string lookup(std::string_view section, std::string_view key) const;
    // The value as an integer (decimal or 0x hexadecimal); missing or not a valid integer gives 0.
    std::int32_t lookupInt(std::string_view section, std::string_view key) const;
    // The value as an integer, or nullopt when missing or not a valid integer.
    std::optional<std::int32_t> findInt(std::string_view section, std::string_view key) const;

    // The sections named `prefix` and a number from 1 to `count` (the number as std::to_string
    // writes it, the name A–Z folded): the first section of each number, in number order.
    // `backed` says whether the text can stand behind the count (countBacked): a count beyond that
    // is taken for a broken file rather than read into empty entries; the sections found are listed
    // either way.
    struct NumberedSections {
        std::vector<std::pair<std::int32_t, ProfileSection>> sections;
        bool backed = false;
    };
    NumberedSections numberedSections(std::string_view prefix, std::int32_t count) const;

    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

// Whether a file that holds `found` of `count` numbered entries (menus) can stand behind the count:
// at most 64 of them, or at most as many as were found, are missing. The missing ones are read as
// empty entries; so a short file may name a few more menus than it holds, while a huge count in a
// small file never asks for more memory than the file's own size allows.
constexpr bool countBacked(std::size_t found, std::size_t count) {
    return count <= found || count - found <= (found > 64 ? found : 64);
}

// The blanks the profile rules drop around section names, keys and values: blank and tab only. Other
// characters of code 32 or lower (a control character at the end of a value) are part of the text.
constexpr bool isProfileBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view profileTrimLeft(std::string_view s);
std::string_view profileTrim(std::string_view s);

// The value rules on their own: trim, remove one enclosing pair of matching quotes, cut.
std::string profileValue(std::string_view raw);

// What writers of profile files share. A value that the value rules would change (blanks at its ends,
// one enclosing pair of matching quotes) is written inside one more pair of double quotes, which the
// reader removes again; every other value is written exactly as it stands.
bool readerWouldChange(std::string_view value);
// Appends "key=value" and CR LF, the value quoted where the reader would change it.
void appendProfileKeyLine(std::string& out, std::string_view key, std::string_view value);

// The line rules on their own, for readers that go through a text once. A header line's name, or
// nullopt for any other line:
std::optional<std::string_view> profileHeaderName(std::string_view line);
// The key (trimmed) and the raw value of a key line, or nullopt for a line that holds none (empty,
// comment, header, no '='):
std::optional<std::pair<std::string_view, std::string_view>> profileKeyLine(std::string_view line);
// Names compare with A–Z folded:
inline bool profileNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}
// The number of a section named `prefix` and a number from 1 to `count` as std::to_string writes it:
std::optional<std::int32_t> profileSectionNumber(std::string_view name, std::string_view prefix, std::int32_t count);

}  // namespace kmr
