#include "autorun/kept_entries.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <utility>

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

// Kept lines, each handed on to `flush` when one is given; false when it stopped the writing.
bool writeLines(std::string& out, const KeptLines& lines, const std::function<bool()>& flush) {
    for (const std::string_view line : lines) {
        writeLine(out, line);
        if (flush && !flush()) return false;
    }
    return true;
}

bool writeKept(std::string& out, const DiscSettings& s, std::string_view section, const std::function<bool()>& flush) {
    const KeptSection* k = s.findKept(section);
    return k == nullptr || writeLines(out, k->lines, flush);
}

// The kept lines of [AutoRun], but for those of a family whose objects the user has changed; false when
// `flush` stopped the writing.
bool writeKeptAutorun(std::string& out, const Project& project, const std::function<bool()>& flush) {
    const KeptSection* k = project.settings.findKept(kAutorun);
    if (k == nullptr) return true;
    KeptLineFilter filter(project);
    for (const std::string_view line : k->lines) {
        if (!filter.compiles(line)) continue;
        writeLine(out, line);
        if (flush && !flush()) return false;
    }
    return true;
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

// The lines that open a section, which bounds the number of sections a text can keep.
std::size_t sectionCount(std::string_view content) {
    std::size_t n = 0;
    text::LineCursor cursor(content, true);
    while (!cursor.atEnd()) n += text::trimLeftView(cursor.next()).starts_with('[') ? 1 : 0;
    return n;
}

// The kept sections by name, A–Z folded: an open table of their places, four bytes a slot, so that a
// file of a million small sections does not cost a million nodes of a map.
class SectionIndex {
public:
    explicit SectionIndex(const std::vector<KeptSection>& kept) : m_kept(kept) {
        for (std::size_t i = 0; i < kept.size(); ++i) add(i);
    }

    // The place of the section of that name, or kept.size() when there is none.
    std::size_t find(std::string_view name) const {
        if (m_slots.empty()) return m_kept.size();
        for (std::size_t i = hashOf(name) & (m_slots.size() - 1);; i = (i + 1) & (m_slots.size() - 1)) {
            if (m_slots[i] == 0) return m_kept.size();
            if (namesEqual(m_kept[m_slots[i] - 1].name, name)) return m_slots[i] - 1;
        }
    }

    // Takes in the section at `place`, whose name is in no other section.
    void add(std::size_t place) {
        if (4 * (m_used + 1) > 3 * m_slots.size()) {
            std::vector<std::uint32_t> old(std::max<std::size_t>(16, 2 * m_slots.size()), 0);
            old.swap(m_slots);
            for (const std::uint32_t p : old) {
                if (p != 0) put(p - 1);
            }
        }
        put(place);
        ++m_used;
    }

private:
    static std::size_t hashOf(std::string_view name) {
        std::size_t h = 1469598103934665603ULL;
        for (const char c : name) {
            const char folded = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            h = (h ^ static_cast<unsigned char>(folded)) * 1099511628211ULL;
        }
        return h;
    }

    void put(std::size_t place) {
        std::size_t i = hashOf(m_kept[place].name) & (m_slots.size() - 1);
        while (m_slots[i] != 0) i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = static_cast<std::uint32_t>(place + 1);
    }

    const std::vector<KeptSection>& m_kept;
    std::vector<std::uint32_t> m_slots;  // a place + 1, or 0 for an empty slot
    std::size_t m_used = 0;
};

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
    {
        // The objects alone, compiled without the settings; walked as they stand, with no list of entries.
        DiscSettings settings = std::exchange(s, DiscSettings{});
        const std::string compiled = compileAutorun(project);
        s = std::move(settings);
        walkLines(compiled, [&](std::string_view, std::string_view line, bool header) {
            const std::optional<Cut> cut = header ? std::nullopt : cutEntry(line);
            if (cut) ++given[entryKey(cut->key, cut->value)];
        });
    }
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
    // Room for a kept section per section of the file at most: room that is not used is never touched.
    s.kept.reserve(s.kept.size() + sectionCount(content) + 1);
    SectionIndex keptAt(s.kept);
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
            std::size_t at = keptAt.find(section);
            if (at == s.kept.size()) {
                s.kept.push_back({std::string(section), {}});
                keptAt.add(at);
            }
            s.kept[at].lines.emplace_back(line);
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
        for (const std::string_view line : k->lines) {
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

void compileSettings(std::string& out, const Project& project, const std::function<bool()>& flush) {
    const DiscSettings& s = project.settings;
    if (s.empty()) return;
    if (s.action) writeLine(out, "action=", *s.action);
    if (s.customEvent) writeLine(out, "CustomEvent=", *s.customEvent);
    if (s.useAutoPlay) writeLine(out, "UseAutoPlay=", *s.useAutoPlay);
    if (!writeKeptAutorun(out, project, flush)) return;

    // Every section after an empty line, as the menus are.
    const auto header = [&out](std::string_view a, std::string_view b = {}) {
        out.append(kEol).append("[").append(a).append(b).append("]").append(kEol);
    };
    if (s.content.music || s.content.pictures || s.content.video || s.findKept(kContent)) {
        header(kContent);
        if (s.content.music) writeLine(out, "MusicFiles=", *s.content.music);
        if (s.content.pictures) writeLine(out, "PictureFiles=", *s.content.pictures);
        if (s.content.video) writeLine(out, "VideoFiles=", *s.content.video);
        if (!writeKept(out, s, kContent, flush)) return;
    }
    const auto folders = [&](std::string_view name, const std::vector<std::string>& list) {
        if (list.empty() && !s.findKept(name)) return true;
        header(name);
        for (const std::string& folder : list) writeLine(out, folder);
        return writeKept(out, s, name, flush);
    };
    if (!folders(kExclusive, s.exclusiveContentPaths) || !folders(kIgnore, s.ignoreContentPaths)) return;
    if (!s.driverPaths.empty() || s.findKept(kDeviceInstall)) {
        header(kDeviceInstall);
        for (const std::string& folder : s.driverPaths) writeLine(out, "DriverPath=", folder);
        if (!writeKept(out, s, kDeviceInstall, flush)) return;
    }
    // Windows reads only the first section of a name: the entries of every section of one platform go
    // into one, where the first of them stands.
    std::unordered_map<std::string, std::vector<const PlatformSection*>> byPlatform;
    std::vector<const PlatformSection*> firsts;
    for (const PlatformSection& p : s.platforms) {
        auto& same = byPlatform[text::asciiLower(p.platform)];
        if (same.empty()) firsts.push_back(&p);
        same.push_back(&p);
    }
    for (const PlatformSection* first : firsts) {
        const PlatformSection& p = *first;
        header("AutoRun.", p.platform);
        for (const PlatformSection* same : byPlatform[text::asciiLower(p.platform)]) {
            for (const AutorunEntry& e : same->entries) writeLine(out, e.key, "=", e.value);
        }
        // The kept lines of the section, whatever letter case the file gave its name.
        for (const KeptSection& k : s.kept) {
            if (namesEqual(platformOfSection(k.name), p.platform) && !writeLines(out, k.lines, flush)) return;
        }
    }
    for (const KeptSection& k : s.kept) {
        if (hasOwnPlace(s, k.name)) continue;
        header(k.name);
        if (!writeLines(out, k.lines, flush)) return;
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
