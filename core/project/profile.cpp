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

ProfileFile ProfileFile::parse(std::string_view content) {
    ProfileFile p;
    const auto lines = text::splitLines(content, true);
    p.m_lineCount = lines.size();
    Section* current = nullptr;  // lines before the first header belong to no section
    bool currentIsFirst = false;
    for (const std::string_view rawLine : lines) {
        const std::string_view line = text::trimLeftView(rawLine);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']', 1);
            const std::string_view name =
                text::trimView(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            auto [it, inserted] = p.m_sectionIndex.try_emplace(text::asciiLower(name), p.m_sections.size());
            currentIsFirst = inserted;
            if (inserted) {
                p.m_sections.emplace_back();
                current = &p.m_sections.back();
            } else {
                current = nullptr;  // a later section of the same name is never searched
            }
            continue;
        }
        if (current == nullptr || !currentIsFirst) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string key = text::asciiLower(text::trimView(line.substr(0, eq)));
        current->keys.try_emplace(key, std::string(line.substr(eq + 1)));
    }
    return p;
}

std::optional<std::string> ProfileFile::find(std::string_view section, std::string_view key) const {
    const auto s = m_sectionIndex.find(text::asciiLower(text::trimView(section)));
    if (s == m_sectionIndex.end()) return std::nullopt;
    const auto& keys = m_sections[s->second].keys;
    const auto k = keys.find(text::asciiLower(text::trimView(key)));
    if (k == keys.end()) return std::nullopt;
    return profileValue(k->second);
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
