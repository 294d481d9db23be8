#include "project/profile.h"

#include <algorithm>
#include <array>

#include "text/integer.h"
#include "text/text.h"

namespace kmr {

std::string_view profileTrimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isProfileBlank(s[b])) ++b;
    return s.substr(b);
}

std::string_view profileTrim(std::string_view s) {
    s = profileTrimLeft(s);
    std::size_t e = s.size();
    while (e > 0 && isProfileBlank(s[e - 1])) --e;
    return s.substr(0, e);
}

std::string profileValue(std::string_view raw) {
    std::string_view v = profileTrim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    // No more bytes than the limit means no more characters either; only longer values are counted.
    return std::string(v.size() <= kProfileValueLimit ? v : text::left(v, kProfileValueLimit));
}

namespace {

// The name of a header line ("[name]", or "[name" without its bracket), trimmed; nullopt for any
// other line.
std::optional<std::string_view> headerName(std::string_view rawLine) {
    const std::string_view line = profileTrimLeft(rawLine);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']', 1);
    return profileTrim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// Calls fn with every section in file order, each with the lines up to the next header, until fn
// returns false. Returns the number of lines read.
template <class Fn>
std::size_t walkSections(std::string_view text, Fn&& fn) {
    text::LineCursor cursor(text, true);
    std::optional<std::string_view> name;
    std::size_t bodyStart = 0;
    std::size_t lines = 0;
    while (!cursor.atEnd()) {
        const std::size_t lineStart = cursor.position();
        const auto header = headerName(cursor.next());
        ++lines;
        if (!header) continue;
        if (name && !fn(ProfileSection(*name, text.substr(bodyStart, lineStart - bodyStart)))) return lines;
        name = header;
        bodyStart = cursor.position();
    }
    if (name) fn(ProfileSection(*name, text.substr(bodyStart)));
    return lines;
}

// The number of a section named prefix and a number from 1 to count, written without sign or
// leading zeros.
std::optional<std::int32_t> sectionNumber(std::string_view name, std::string_view prefix, std::int32_t count) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 10) return std::nullopt;
    if (!profileNamesEqual(name.substr(0, prefix.size()), prefix)) return std::nullopt;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.front() < '1' || digits.front() > '9') return std::nullopt;
    std::int64_t k = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        k = k * 10 + (c - '0');
    }
    if (k > count) return std::nullopt;
    return static_cast<std::int32_t>(k);
}

}  // namespace

std::optional<std::string_view> profileHeaderName(std::string_view line) { return headerName(line); }

std::optional<std::pair<std::string_view, std::string_view>> profileKeyLine(std::string_view rawLine) {
    const std::string_view line = profileTrimLeft(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::pair{profileTrim(line.substr(0, eq)), line.substr(eq + 1)};
}

std::optional<std::int32_t> profileSectionNumber(std::string_view name, std::string_view prefix, std::int32_t count) {
    return sectionNumber(name, prefix, count);
}

void ProfileSection::findEach(std::span<const std::string_view> keys,
                              std::span<std::optional<std::string_view>> raw) const {
    std::size_t missing = keys.size();
    text::LineCursor cursor(m_body, true);
    while (missing > 0 && !cursor.atEnd()) {
        const std::string_view line = profileTrimLeft(cursor.next());
        if (line.empty() || line.front() == ';') continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = profileTrim(line.substr(0, eq));
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (!raw[i] && profileNamesEqual(key, keys[i])) {
                raw[i] = line.substr(eq + 1);
                --missing;
                break;
            }
        }
    }
}

std::optional<std::string> ProfileSection::find(std::string_view key) const {
    const std::array<std::string_view, 1> keys = {profileTrim(key)};
    std::array<std::optional<std::string_view>, 1> raw;
    findEach(keys, raw);
    if (!raw[0]) return std::nullopt;
    return profileValue(*raw[0]);
}

std::optional<std::int32_t> ProfileSection::findInt(std::string_view key) const {
    const auto v = find(key);
    if (!v) return std::nullopt;
    return text::parseInteger(*v);
}

std::optional<ProfileSection> ProfileFile::section(std::string_view name) const {
    const std::string_view wanted = profileTrim(name);
    std::optional<ProfileSection> found;
    walkSections(m_text, [&](const ProfileSection& s) {
        if (profileNamesEqual(s.name(), wanted)) found = s;
        return !found;
    });
    return found;
}

std::optional<std::string> ProfileFile::find(std::string_view section, std::string_view key) const {
    const auto s = this->section(section);
    if (!s) return std::nullopt;
    return s->find(key);
}

std::string ProfileFile::lookup(std::string_view section, std::string_view key) const {
    return find(section, key).value_or(std::string());
}

std::optional<std::int32_t> ProfileFile::findInt(std::string_view section, std::string_view key) const {
    const auto v = find(section, key);
    if (!v) return std::nullopt;
    return text::parseInteger(*v);
}

std::int32_t ProfileFile::lookupInt(std::string_view section, std::string_view key) const {
    return findInt(section, key).value_or(0);
}

ProfileFile::NumberedSections ProfileFile::numberedSections(std::string_view prefix, std::int32_t count) const {
    NumberedSections out;
    if (count <= 0) {
        out.backed = true;
        return out;
    }
    auto& sections = out.sections;
    walkSections(m_text, [&](const ProfileSection& s) {
        if (const auto k = sectionNumber(s.name(), prefix, count)) sections.emplace_back(*k, s);
        return true;
    });
    // Files list their sections in order; any other order is put right, the first of a number kept.
    const auto byNumber = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (!std::is_sorted(sections.begin(), sections.end(), byNumber)) {
        std::stable_sort(sections.begin(), sections.end(), byNumber);
    }
    sections.erase(
        std::unique(sections.begin(), sections.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        sections.end());
    out.backed = countBacked(sections.size(), static_cast<std::size_t>(count));
    return out;
}

bool readerWouldChange(std::string_view v) {
    if (v.empty()) return false;
    if (isProfileBlank(v.front()) || isProfileBlank(v.back())) return true;
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

void appendProfileKeyLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).push_back('=');
    const bool quoted = readerWouldChange(value);
    if (quoted) out.push_back('"');
    out.append(value);
    if (quoted) out.push_back('"');
    out.append("\r\n");
}

}  // namespace kmr
