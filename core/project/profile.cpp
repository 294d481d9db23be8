#include "project/profile.h"

#include "text/integer.h"
#include "text/text.h"

namespace kmr {

std::string profileValue(std::string_view raw) {
    std::string_view v = text::trimView(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(text::left(v, kProfileValueLimit));
}

namespace {

bool equalsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

ProfileFile ProfileFile::parse(std::string_view content) {
    ProfileFile p;
    p.m_text.assign(content);
    const auto lines = text::splitLines(p.m_text, true);
    p.m_lineCount = lines.size();
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t current = kNone;  // lines before the first header belong to no section
    const auto offset = [&p](std::string_view part) { return static_cast<std::size_t>(part.data() - p.m_text.data()); };
    for (const std::string_view rawLine : lines) {
        const std::string_view line = text::trimLeftView(rawLine);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']', 1);
            const std::string_view name =
                text::trimView(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            const auto [it, inserted] = p.m_sectionIndex.try_emplace(text::asciiLower(name), p.m_sections.size());
            if (inserted) p.m_sections.emplace_back();
            current = inserted ? p.m_sections.size() - 1 : kNone;  // a later section of a name is never searched
            continue;
        }
        if (current == kNone) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = text::trimView(line.substr(0, eq));
        const std::string_view value = line.substr(eq + 1);
        p.m_sections[current].entries.push_back({offset(key), key.size(), offset(value), value.size()});
    }
    return p;
}

std::optional<std::string> ProfileFile::find(std::string_view section, std::string_view key) const {
    const auto s = m_sectionIndex.find(text::asciiLower(text::trimView(section)));
    if (s == m_sectionIndex.end()) return std::nullopt;
    const std::string_view wanted = text::trimView(key);
    for (const Entry& e : m_sections[s->second].entries) {
        if (equalsFolded(std::string_view(m_text).substr(e.keyPos, e.keyLen), wanted)) {
            return profileValue(std::string_view(m_text).substr(e.valuePos, e.valueLen));
        }
    }
    return std::nullopt;
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

bool ProfileFile::hasSection(std::string_view section) const {
    return m_sectionIndex.contains(text::asciiLower(text::trimView(section)));
}

}  // namespace kmr
