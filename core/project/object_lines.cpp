#include "project/object_lines.h"

#include <algorithm>

#include "project/profile.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kAutorun = "autorun";

// The key of the general object's line ("open" or "shellexecute", "icon", "label").
std::string_view keyOf(const ProjectObject& o) {
    switch (o.kind) {
        case Kind::RunEntry: return isResourceEntry(o) ? "shellexecute" : "open";
        case Kind::Icon: return "icon";
        case Kind::Label: return "label";
        case Kind::PlainMenu:
        case Kind::DefaultMenu: break;
    }
    return "shell";
}

std::optional<KeyFamily> familyOfObject(const ProjectObject& o) {
    switch (o.kind) {
        case Kind::RunEntry: return KeyFamily::Run;
        case Kind::Icon: return KeyFamily::Icon;
        case Kind::Label: return KeyFamily::Label;
        case Kind::DefaultMenu: return KeyFamily::DefaultMenu;
        case Kind::PlainMenu: break;
    }
    return std::nullopt;
}

bool emptyGeneral(const ProjectObject& o) { return isGeneral(o.kind) && o.value(0).empty(); }

// The line an object gives in its family: "label=MiCD", "shell=instalar" for a default menu.
std::string lineOf(const ProjectObject& o) {
    return std::string(keyOf(o)).append("=").append(o.value(isMenu(o.kind) ? 2 : 0));
}

// What the objects compile to in a family, leaving out those `skip` says.
template <class Skip>
std::vector<std::string> linesOf(const std::vector<ProjectObject>& objects, KeyFamily family, Skip&& skip) {
    std::vector<std::string> lines;
    for (const ProjectObject& o : objects) {
        if (familyOfObject(o) == family && !skip(o)) lines.push_back(lineOf(o));
    }
    return lines;
}

// The key of a kept line; nullopt for a comment or an empty line.
std::optional<std::string_view> keptKey(std::string_view line) {
    const std::string_view trimmed = text::trimView(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    return text::trimView(trimmed.substr(0, trimmed.find('=')));
}

}  // namespace

std::optional<KeyFamily> keyFamilyOf(std::string_view key) {
    const std::string_view k = text::trimView(key);
    if (profileNamesEqual(k, "shellexecute")) return KeyFamily::Run;
    return familyNamed(k);
}

std::vector<std::string> familyLines(const std::vector<ProjectObject>& objects, KeyFamily family) {
    return linesOf(objects, family, [](const ProjectObject&) { return false; });
}

bool KeptLineFilter::compiles(std::string_view keptLine) {
    const auto key = keptKey(keptLine);
    const std::optional<KeyFamily> family = key ? keyFamilyOf(*key) : std::nullopt;
    if (!family) return true;
    std::optional<bool>& decided = m_decided[static_cast<std::size_t>(*family)];
    if (!decided) {
        const auto& records = m_project.settings.importedLines;
        const auto record =
            std::find_if(records.begin(), records.end(), [&](const FamilyLines& f) { return f.family == *family; });
        decided = record == records.end() || familyLines(m_project.objects, *family) == record->lines;
    }
    return *decided;
}

std::optional<DiscSettings> settingsToStore(const Project& project) {
    std::vector<std::string> emptyLines;
    std::vector<KeyFamily> families;
    for (const ProjectObject& o : project.objects) {
        if (!emptyGeneral(o)) continue;
        emptyLines.push_back(lineOf(o));
        families.push_back(*familyOfObject(o));
    }
    if (emptyLines.empty()) return std::nullopt;
    const auto affected = [&](std::string_view line) {
        const auto key = keptKey(line);
        const auto family = key ? keyFamilyOf(*key) : std::nullopt;
        return family && std::find(families.begin(), families.end(), *family) != families.end();
    };

    DiscSettings s = project.settings;
    KeptLineFilter filter(project);
    const auto section = std::find_if(s.kept.begin(), s.kept.end(),
                                      [](const KeptSection& k) { return profileNamesEqual(k.name, kAutorun); });
    if (section == s.kept.end()) {
        s.kept.insert(s.kept.begin(), KeptSection{std::string(kAutorun), std::move(emptyLines)});
    } else {
        // Lines the compiler leaves out now would come back once the record follows the file's objects.
        KeptLines lines(emptyLines);
        for (const std::string_view line : section->lines) {
            if (!affected(line) || filter.compiles(line)) lines.push_back(line);
        }
        section->lines = std::move(lines);
    }
    for (const KeyFamily family : families) {
        std::vector<std::string> lines = linesOf(project.objects, family, emptyGeneral);
        const auto record = std::find_if(s.importedLines.begin(), s.importedLines.end(),
                                         [&](const FamilyLines& f) { return f.family == family; });
        if (record == s.importedLines.end()) {
            s.importedLines.push_back({family, std::move(lines)});
        } else {
            record->lines = std::move(lines);
        }
    }
    return s;
}

}  // namespace kmr
