#pragma once
// Sectioned key=value look-up with the rules of the usual profile (INI) functions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kmr {

// Longest value a look-up returns, in characters; a longer value is cut.
inline constexpr std::size_t kProfileValueLimit = 2047;

// A parsed profile text. Section and key names compare with A–Z folded; only the first section of a
// name, and in it the first line of a key, is ever seen. Values are trimmed of codes 0–32, one
// enclosing pair of matching double or single quotes is removed, and the result is cut to 2047
// characters. Lines before the first header belong to no section; ';' starts a comment line; a
// line without '=' is no key; CR LF, LF and a lone CR each end a line.
class ProfileFile {
public:
    // Parses decoded text (UTF-8).
    static ProfileFile parse(std::string_view content);

    // The value, or nullopt when the section or the key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    // The value, or the empty text when missing.
    std::string lookup(std::string_view section, std::string_view key) const;
    // The value as an integer (decimal or 0x hexadecimal); missing or not a valid integer gives 0.
    std::int32_t lookupInt(std::string_view section, std::string_view key) const;
    // The value as an integer, or nullopt when missing or not a valid integer.
    std::optional<std::int32_t> findInt(std::string_view section, std::string_view key) const;

    bool hasSection(std::string_view section) const;
    // Number of lines of the text; a bound for any count read from it.
    std::size_t lineCount() const { return m_lineCount; }

private:
    // Offsets into m_text, so that a moved or copied file stays valid.
    struct Entry {
        std::size_t keyPos, keyLen;      // the key, trimmed, as written
        std::size_t valuePos, valueLen;  // the raw text after '='
    };
    struct Section {
        std::vector<Entry> entries;  // in file order, so the first of a key is found first
    };
    std::string m_text;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_sectionIndex;  // folded name -> first section
    std::size_t m_lineCount = 0;
};

// The value rules on their own: trim, remove one enclosing pair of matching quotes, cut.
std::string profileValue(std::string_view raw);

}  // namespace kmr
