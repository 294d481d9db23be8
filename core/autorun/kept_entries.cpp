#include "autorun/kept_entries.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "autorun/compiler.h"
#include "autorun/importer.h"
#include "project/object_lines.h"
#include "project/profile.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kAutorun = "autorun";
constexpr std::string_view kContent = "Content";
constexpr std::string_view kExclusive = "ExclusiveContentPaths";
constexpr std::string_view kIgnore = "IgnoreContentPaths";
constexpr std::string_view kDeviceInstall = "DeviceInstall";

bool namesEqual(std::string_view a, std::string_view b) { return profileNamesEqual(a, b); }

// A line cut into key and value as Windows reads an entry; nullopt for an empty line, a comment or a
// header.
struct Cut {
    std::string_view key;
    std::string_view value;
};
std::optional<Cut> cutEntry(std::string_view line) {
    const std::string_view trimmed = text::trimView(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return Cut{trimmed, {}};
    return Cut{text::trimView(trimmed.substr(0, eq)), text::trimView(trimmed.substr(eq + 1))};
}

// Walks the lines of an autorun text as Windows' profile reader does (LF, CR LF and a lone CR end a
// line), with the section each stands in ("autorun" before the first header); headers are handed on with
// `header` set.
template <class Fn>
void walkLines(std::string_view content, Fn&& fn) {
    text::LineCursor cursor(content, true);
    std::string_view section = kAutorun;
    while (!cursor.atEnd()) {
        const std::string_view line = cursor.next();
        if (const auto name = profileHeaderName(line)) {
            section = *name;
            fn(section, line, true);
        } else {
            fn(section, line, false);
        }
    }
}

void writeLine(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    out.append(a).append(b).append(c).append(kEol);
}

void writeKept(std::string& out, const DiscSettings& s, std::string_view section) {
    if (const KeptSection* k = s.findKept(section)) {
        for (const std::string& line : k->lines) writeLine(out, line);
    }
}

// The kept lines of [AutoRun], but for those of a family whose objects the user has changed.
void writeKeptAutorun(std::string& out, const Project& project) {
    const KeptSection* k = project.settings.findKept(kAutorun);
    if (k == nullptr) return;
    KeptLineFilter filter(project);
    for (const std::string& line : k->lines) {
        if (filter.compiles(line)) writeLine(out, line);
    }
}

// The name of a kept section that has a place of its own in the compiled file.
bool hasOwnPlace(const DiscSettings& s, std::string_view name) {
    if (namesEqual(name, kAutorun) || namesEqual(name, kContent) || namesEqual(name, kExclusive) ||
        namesEqual(name, kIgnore) || namesEqual(name, kDeviceInstall))
        return true;
    const std::string_view platform = platformOfSection(name);
    return !platform.empty() && std::any_of(s.platforms.begin(), s.platforms.end(),
                                            [&](const PlatformSection& p) { return namesEqual(p.platform, platform); });
}

// As the reference spells them.
constexpr std::array<std::string_view, 8> kKnownKeys = {"open",  "shellexecute", "icon",        "label",
                                                        "shell", "action",       "CustomEvent", "UseAutoPlay"};

// Letters that turn one key into the other: left out, added, changed, or two neighbours swapped.
std::size_t editDistance(std::string_view a, std::string_view b) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

}  // namespace

std::vector<InfEntry> infEntries(std::string_view content) {
    std::vector<InfEntry> entries;
    walkLines(content, [&](std::string_view section, std::string_view line, bool header) {
        if (header) return;
        if (const auto cut = cutEntry(line))
            entries.push_back({text::asciiLower(section), text::asciiLower(cut->key), std::string(cut->value)});
    });
    return entries;
}

void keepExtras(std::string_view content, Project& project) {
    DiscSettings& s = project.settings;
    // What the objects give back: the entries of their own compiled text, each used up by the first
    // line of [AutoRun] that says the same, key and value A–Z folded (Windows folds the letter case of
    // a verb, and a line that differs only so would undo a change of the default menu). Counted by key
    // and value, so that a file of many menus is gone through once.
    std::unordered_map<std::string, std::size_t> given;
    const auto entryKey = [](std::string_view key, std::string_view value) {
        std::string k = text::asciiLower(key);
        k.push_back('\n');  // no key or value holds a line end
        return k.append(text::asciiLower(value));
    };
    for (const InfEntry& e : infEntries(compileAutorun(Project(project.objects)))) ++given[entryKey(e.key, e.value)];
    const auto takeGiven = [&](const Cut& cut) {
        const auto it = given.find(entryKey(cut.key, cut.value));
        if (it == given.end() || it->second == 0) return false;
        --it->second;
        return true;
    };
    const auto first = [](std::optional<std::string>& slot, std::string_view value) {
        if (slot) return false;
        slot = std::string(value);
        return true;
    };
    PlatformSection* platform = nullptr;
    std::unordered_map<std::string, std::size_t> keptAt;
    // Lines as Windows reads them: a lone CR ends one too, so that no kept text holds a line end.
    walkLines(content, [&](std::string_view section, std::string_view line, bool header) {
        const std::string_view platformName = platformOfSection(section);
        if (header) {
            platform = nullptr;
            if (!platformName.empty()) {
                const auto it = std::find_if(s.platforms.begin(), s.platforms.end(),
                                             [&](const PlatformSection& p) { return p.platform == platformName; });
                platform = it != s.platforms.end()
                               ? &*it
                               : &s.platforms.emplace_back(PlatformSection{std::string(platformName), {}});
            }
            return;
        }
        if (text::trimView(line).empty()) return;
        const std::optional<Cut> cut = cutEntry(line);
        const auto keep = [&] {
            // Sections of one name in any letter case are one; found by name, so that many sections cost
            // no more than one each.
            const auto [at, made] = keptAt.try_emplace(text::asciiLower(section), s.kept.size());
            if (made) s.kept.push_back({std::string(section), {}});
            s.kept[at->second].lines.emplace_back(line);
        };
        if (!cut) return keep();  // a comment
        const auto is = [&](std::string_view key) { return namesEqual(cut->key, key); };
        if (namesEqual(section, kAutorun)) {
            if (takeGiven(*cut)) return;
            if (is("action") && first(s.action, cut->value)) return;
            if (is("CustomEvent") && first(s.customEvent, cut->value)) return;
            if (is("UseAutoPlay") && first(s.useAutoPlay, cut->value)) return;
        } else if (platform != nullptr) {
            if (line.find('=') != std::string_view::npos) {
                platform->entries.push_back({std::string(cut->key), std::string(cut->value)});
                return;
            }
        } else if (namesEqual(section, kContent)) {
            if (is("MusicFiles") && first(s.content.music, cut->value)) return;
            if (is("PictureFiles") && first(s.content.pictures, cut->value)) return;
            if (is("VideoFiles") && first(s.content.video, cut->value)) return;
        } else if (namesEqual(section, kExclusive)) {
            s.exclusiveContentPaths.emplace_back(text::trimView(line));
            return;
        } else if (namesEqual(section, kIgnore)) {
            s.ignoreContentPaths.emplace_back(text::trimView(line));
            return;
        } else if (namesEqual(section, kDeviceInstall)) {
            if (is("DriverPath") && line.find('=') != std::string_view::npos) {
                s.driverPaths.emplace_back(cut->value);
                return;
            }
        }
        keep();
    });
    // What the objects compiled to in each family of which lines were kept: a change of them later
    // leaves those lines out (KeptLineFilter).
    if (const KeptSection* k = s.findKept(kAutorun)) {
        std::array<bool, 4> kept{};
        for (const std::string& line : k->lines) {
            const auto cut = cutEntry(line);
            if (const auto family = cut ? keyFamilyOf(cut->key) : std::nullopt)
                kept[static_cast<std::size_t>(*family)] = true;
        }
        for (const KeyFamily f : {KeyFamily::Run, KeyFamily::Icon, KeyFamily::Label, KeyFamily::DefaultMenu}) {
            if (kept[static_cast<std::size_t>(f)]) s.importedLines.push_back({f, familyLines(project.objects, f)});
        }
    }
}

ImportResult importAutorun(std::string_view content, const ImportOptions& options) {
    ImportResult result = importAutorun(content);
    if (options.keepExtras) keepExtras(content, result.project);
    return result;
}

void compileSettings(std::string& out, const Project& project) {
    const DiscSettings& s = project.settings;
    if (s.empty()) return;
    if (s.action) writeLine(out, "action=", *s.action);
    if (s.customEvent) writeLine(out, "CustomEvent=", *s.customEvent);
    if (s.useAutoPlay) writeLine(out, "UseAutoPlay=", *s.useAutoPlay);
    writeKeptAutorun(out, project);

    // Every section after an empty line, as the menus are.
    const auto header = [&out](std::string_view a, std::string_view b = {}) {
        out.append(kEol).append("[").append(a).append(b).append("]").append(kEol);
    };
    if (s.content.music || s.content.pictures || s.content.video || s.findKept(kContent)) {
        header(kContent);
        if (s.content.music) writeLine(out, "MusicFiles=", *s.content.music);
        if (s.content.pictures) writeLine(out, "PictureFiles=", *s.content.pictures);
        if (s.content.video) writeLine(out, "VideoFiles=", *s.content.video);
        writeKept(out, s, kContent);
    }
    const auto folders = [&](std::string_view name, const std::vector<std::string>& list) {
        if (list.empty() && !s.findKept(name)) return;
        header(name);
        for (const std::string& folder : list) writeLine(out, folder);
        writeKept(out, s, name);
    };
    folders(kExclusive, s.exclusiveContentPaths);
    folders(kIgnore, s.ignoreContentPaths);
    if (!s.driverPaths.empty() || s.findKept(kDeviceInstall)) {
        header(kDeviceInstall);
        for (const std::string& folder : s.driverPaths) writeLine(out, "DriverPath=", folder);
        writeKept(out, s, kDeviceInstall);
    }
    for (const PlatformSection& p : s.platforms) {
        header("AutoRun.", p.platform);
        for (const AutorunEntry& e : p.entries) writeLine(out, e.key, "=", e.value);
        // The kept lines of the section, whatever letter case the file gave its name.
        for (const KeptSection& k : s.kept) {
            if (namesEqual(platformOfSection(k.name), p.platform)) {
                for (const std::string& line : k.lines) writeLine(out, line);
            }
        }
    }
    for (const KeptSection& k : s.kept) {
        if (hasOwnPlace(s, k.name)) continue;
        header(k.name);
        for (const std::string& line : k.lines) writeLine(out, line);
    }
}

std::optional<std::string> firstMeaningDifference(std::string_view actual, std::string_view expected) {
    // The first value of every section and key, in the order in which they first come, and where each
    // stands by section and key.
    struct Firsts {
        std::vector<InfEntry> list;
        std::unordered_map<std::string, std::size_t> at;
    };
    const auto nameOf = [](const InfEntry& e) { return e.section + '\n' + e.key; };
    const auto firstValues = [&](std::string_view text) {
        Firsts f;
        for (InfEntry& e : infEntries(text)) {
            if (f.at.try_emplace(nameOf(e), f.list.size()).second) f.list.push_back(std::move(e));
        }
        return f;
    };
    const Firsts a = firstValues(actual);
    const Firsts b = firstValues(expected);
    const auto find = [&](const Firsts& f, const InfEntry& e) -> const InfEntry* {
        const auto it = f.at.find(nameOf(e));
        return it == f.at.end() ? nullptr : &f.list[it->second];
    };
    const auto entryText = [](const InfEntry& e) {
        return e.key + (e.value.empty() ? std::string() : "=" + e.value) + " de [" + e.section + "]";
    };
    for (const InfEntry& e : b.list) {
        const InfEntry* it = find(a, e);
        if (it == nullptr) return "falta la entrada " + entryText(e);
        const bool same =
            e.key == "shell" ? text::asciiLower(it->value) == text::asciiLower(e.value) : it->value == e.value;
        if (!same)
            return "la entrada " + e.key + " de [" + e.section + "] vale \"" + it->value + "\" en lugar de \"" +
                   e.value + "\"";
    }
    for (const InfEntry& e : a.list) {
        if (find(b, e) == nullptr) return "sobra la entrada " + entryText(e);
    }
    return std::nullopt;
}

bool isKnownAutorunKey(std::string_view key) {
    const std::string k = text::asciiLower(text::trimView(key));
    if (k.starts_with("shell\\")) return true;
    return std::any_of(kKnownKeys.begin(), kKnownKeys.end(),
                       [&](std::string_view known) { return namesEqual(k, known); });
}

std::string_view nearestAutorunKey(std::string_view key) {
    const std::string k = text::asciiLower(text::trimView(key));
    std::string_view best;
    std::size_t bestDistance = 3;
    for (const std::string_view known : kKnownKeys) {
        const std::size_t d = editDistance(k, text::asciiLower(known));
        if (d < bestDistance) {
            best = known;
            bestDistance = d;
        }
    }
    // One letter away is near for any key; two only for longer keys, where it cannot be chance.
    if (bestDistance == 2 && k.size() < 6) return {};
    return best;
}

}  // namespace kmr
