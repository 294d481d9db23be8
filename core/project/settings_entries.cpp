#include "project/settings_entries.h"

#include "project/disc_settings.h"
#include "text/text.h"

namespace kmr {

namespace {

bool startsWith(std::string_view s, char c) { return !s.empty() && s.front() == c; }

// The checks of the key and the value that both kinds of entry share.
std::optional<EntryFault> checkKeyAndValue(std::string_view key, std::string_view value, bool mayBeComment,
                                           std::string_view badKey) {
    if (key.empty()) return EntryFault{EntryField::Key, kEmptyField};
    const bool comment = mayBeComment && startsWith(key, ';');
    if (!comment &&
        (key.find('=') != std::string_view::npos || startsWith(key, '[') || (!mayBeComment && startsWith(key, ';'))))
        return EntryFault{EntryField::Key, badKey};
    if (hasLineBreak(key)) return EntryFault{EntryField::Key, kValueOnTwoLines};
    if (hasLineBreak(value)) return EntryFault{EntryField::Value, kValueOnTwoLines};
    return std::nullopt;
}

}  // namespace

KeptLineParts splitKeptLine(std::string_view line) {
    const std::string_view trimmed = text::trimView(line);
    const std::size_t eq = trimmed.find('=');
    if (startsWith(trimmed, ';') || eq == std::string_view::npos) return {std::string(trimmed), {}, false};
    return {std::string(text::trimView(trimmed.substr(0, eq))), std::string(text::trimView(trimmed.substr(eq + 1))),
            true};
}

std::string joinKeptLine(std::string_view key, std::string_view value, std::optional<bool> equals) {
    key = text::trimView(key);
    value = text::trimView(value);
    std::string line(key);
    if (equals.value_or(!startsWith(key, ';')) || !value.empty()) (line += '=') += value;
    return line;
}

std::string_view platformNamed(std::string_view cell) {
    return platformOfSection("autorun." + std::string(text::trimView(cell)));
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::optional<EntryFault> checkPlatformEntry(std::string_view platform, std::string_view key, std::string_view value) {
    if (platformNamed(platform).empty()) return EntryFault{EntryField::First, kUnknownPlatform};
    return checkKeyAndValue(text::trimView(key), value, false, kBadPlatformKey);
}

std::optional<EntryFault> checkKeptEntry(std::string_view section, std::string_view key, std::string_view value) {
    section = text::trimView(section);
    if (section.empty()) return EntryFault{EntryField::First, kEmptyField};
    if (section.find_first_of("[]") != std::string_view::npos || hasLineBreak(section))
        return EntryFault{EntryField::First, kBracketsInSection};
    return checkKeyAndValue(text::trimView(key), value, true, kBadKeptKey);
}

std::vector<std::string> folderLines(std::string_view text) {
    std::vector<std::string> folders;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (const std::string_view folder = text::trimView(line); !folder.empty()) folders.emplace_back(folder);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return folders;
}

bool readsAsHeaderOrComment(std::string_view folder) { return startsWith(folder, '[') || startsWith(folder, ';'); }

ContentAnswer contentAnswer(const std::optional<std::string>& value) {
    if (!value) return ContentAnswer::Unset;
    return contentTypeOn(*value) ? ContentAnswer::Yes : ContentAnswer::No;
}

std::optional<std::string> contentValue(ContentAnswer answer, const std::optional<std::string>& shown) {
    if (answer == contentAnswer(shown)) return shown;
    if (answer == ContentAnswer::Unset) return std::nullopt;
    return std::string(answer == ContentAnswer::Yes ? "true" : "false");
}

}  // namespace kmr
