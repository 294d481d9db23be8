#include "project/project_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/file_read.h"
#include "project/object_lines.h"
#include "project/profile.h"
#include "text/integer.h"
#include "text/pieces.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kSection = "Brenlowe KMR File";

// The keys of the project's section and of a menu section, by their place in the tables below; both
// version-2 readers look them up through these tables.
enum GeneralKey : std::size_t { kVersion, kProgram, kRun, kIcon, kLabel, kDefaultMenu, kMenus, kDisc, kMedium };
constexpr std::array<std::string_view, 9> kGeneralKeys = {
    "Version", "Programa", "Ejecutar", "Icono", "Etiqueta", "Predeterminado", "Menus", "Disco", "Soporte"};
enum MenuKey : std::size_t { kText, kCommand, kName };
constexpr std::array<std::string_view, 3> kMenuKeys = {"Texto", "Comando", "Nombre"};
using GeneralValues = std::array<std::optional<std::string_view>, kGeneralKeys.size()>;
using MenuValues = std::array<std::optional<std::string_view>, kMenuKeys.size()>;

// What the project's section says, read through `value(key)` (a text for each GeneralKey), put into the
// result: its version, the objects before the menus and the disc. The numbers of menus and of the
// default menu are the caller's, which reads the menu sections.
template <class Value>
void applyGeneral(ProjectReadResult& r, const Value& value) {
    r.versionOk = value(kVersion) == "2.0";
    auto& p = r.project;
    if (auto v = value(kProgram); !v.empty()) p.append(makeProgram(v));
    if (auto v = value(kRun); !v.empty()) p.append(makeResource(v));
    if (auto v = value(kIcon); !v.empty()) p.append(makeIcon(v));
    if (auto v = value(kLabel); !v.empty()) p.append(makeLabel(v));
    p.disc.folder = std::string(value(kDisc));
    if (!p.disc.folder.empty()) p.disc.medium = mediumFromName(value(kMedium));
}

// Reads lines one at a time; past the end every read gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view content) : m_cursor(content, true) {}

    std::string_view next() { return m_cursor.next(); }
    // The next line that has at least one character, or an empty line at the end.
    std::string_view nextNonEmpty() { return m_cursor.skipEmpty() ? m_cursor.next() : std::string_view(); }
    // True when a line with at least one character is left.
    bool anyLeft() { return m_cursor.skipEmpty(); }

private:
    text::LineCursor m_cursor;
};

// True when the first characters of the line, A–Z lower-cased, are exactly `key`.
bool startsWithKey(std::string_view line, std::string_view key) {
    return text::asciiLower(text::left(line, text::length(key))) == key;
}

}  // namespace

ProjectFormat detectProjectFormat(std::string_view content) {
    const auto end = content.find_first_of("\r\n");
    const std::string_view first = content.substr(0, end);
    return text::asciiLower(first) == "[dantreva kmr file]" ? ProjectFormat::Version1 : ProjectFormat::Version2;
}

namespace {

// A value by the profile rules, decoded from the file's own encoding, whatever its length: the rules
// work on ASCII characters only, which no other character contains, so they can be applied before
// decoding. `encoding` is unset for text that is decoded already. The value is decoded into
// `scratch`, which the caller keeps from value to value so that reading a value allocates nothing.
std::string_view profileValueUncut(std::string_view raw, std::optional<text::Encoding> encoding, std::string& scratch) {
    std::string_view v = profileTrim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (encoding && !text::isAscii(v)) {
        scratch.clear();
        text::decodeAppend(scratch, v, *encoding);
        v = scratch;
    }
    return v;
}

// A value of the settings section by the profile rules, decoded, but never cut: a kept line comes back
// whole however long it is.
std::string_view settingsValue(std::string_view raw, std::optional<text::Encoding> encoding, std::string& scratch) {
    return profileValueUncut(raw, encoding, scratch);
}

// The settings sections of a decoded text, for the reader of files in any layout, line by line. The
// writer writes one; the lines of a second one (in any letter case) are read too, as if they followed
// the first, and make the file one with errors: true when there was one.
bool readSettingsSection(std::string_view content, DiscSettings& settings) {
    SettingsSectionReader reader(settings);
    text::LineCursor cursor(content, true);
    bool in = false;
    bool seen = false;
    bool repeated = false;
    std::string scratch;
    while (!cursor.atEnd()) {
        const std::string_view line = cursor.next();
        if (const auto name = profileHeaderName(line)) {
            in = profileNamesEqual(*name, kSettingsSection);
            if (in) reader.startSection();
            repeated = repeated || (in && seen);
            seen = seen || in;
        } else if (in) {
            if (const auto kv = profileKeyLine(line)) reader.take(kv->first, settingsValue(kv->second, {}, scratch));
        }
    }
    return repeated;
}

ProjectReadResult readV2AnyLayout(const ProfileFile& file) {
    ProjectReadResult r;
    r.format = ProjectFormat::Version2;
    const std::optional<ProfileSection> general = file.section(kSection);
    if (!general) {
        r.versionOk = false;
        r.header = false;
        return r;
    }
    // The general keys in one pass over their section.
    GeneralValues raw;
    general->findEach(kGeneralKeys, raw);
    const auto value = [&](std::size_t i) { return raw[i] ? profileValue(*raw[i]) : std::string(); };
    const auto integer = [&](std::size_t i) { return text::parseInteger(value(i)).value_or(0); };
    applyGeneral(r, value);
    auto& p = r.project;
    const std::int32_t defaultMenu = integer(kDefaultMenu);
    const std::int32_t menus = integer(kMenus);
    if (menus <= 0) return r;
    // The menu sections are taken in one pass in file order, not looked up by name one by one.
    const ProfileFile::NumberedSections numbered = file.numberedSections("Menu", menus);
    ObjectMaker maker;
    const auto append = [&](std::int32_t k, const ProfileSection* section) {
        MenuValues raw;
        if (section != nullptr) section->findEach(kMenuKeys, raw);
        const auto value = [&](std::size_t i) { return raw[i] ? profileValue(*raw[i]) : std::string(); };
        p.append(maker.menu(value(kText), value(kCommand), value(kName), k == defaultMenu));
    };
    if (!numbered.backed) {
        // Far more menus than sections: a broken file. The menus it does hold are kept, in order, and
        // none is made up for the sections it lacks.
        r.errors = true;
        p.objects.reserve(p.size() + numbered.sections.size());
        for (const auto& [k, section] : numbered.sections) append(k, &section);
        return r;
    }
    p.objects.reserve(p.size() + static_cast<std::size_t>(menus));
    auto next = numbered.sections.begin();
    for (std::int32_t k = 1; k <= menus; ++k) {
        const bool present = next != numbered.sections.end() && next->first == k;
        append(k, present ? &(next++)->second : nullptr);
    }
    return r;
}

// A value by the profile rules, decoded from the file's own encoding, cut as the profile rules cut it.
std::string_view fileValue(std::string_view raw, std::optional<text::Encoding> encoding, std::string& scratch) {
    const std::string_view v = profileValueUncut(raw, encoding, scratch);
    return v.size() > kProfileValueLimit ? text::left(v, kProfileValueLimit) : v;
}

// The version-2 reader in one pass over the file's lines, in file order, for files laid out as the
// writer lays them out: the project section first, then the menu sections in order (missing ones
// and later repeats allowed). `text` is the file without its mark, in Windows-1252 or UTF-8 (values
// are decoded as they are taken), or text decoded already when `encoding` is unset. nullopt for any
// other layout, which the general reader reads. `consumed` is told how far the text has been read,
// so that a caller can let go of it.
std::optional<ProjectReadResult> readV2WriterLayout(std::string_view text, std::optional<text::Encoding> encoding,
                                                    const std::function<void(std::size_t)>& consumed) {
    ProjectReadResult r;
    r.format = ProjectFormat::Version2;
    enum class In { Nothing, General, Menu, Settings };
    In in = In::Nothing;
    bool generalSeen = false;
    bool generalDone = false;
    GeneralValues general;
    MenuValues menu;
    std::int32_t menus = 0;
    std::int32_t defaultMenu = 0;
    std::int32_t next = 1;  // the number of the next menu section wanted
    auto& objects = r.project.objects;

    std::array<std::string, 3> scratch;
    ObjectMaker maker;
    SettingsSectionReader settings(r.project.settings);
    bool settingsSeen = false;
    const auto value = [&](const std::optional<std::string_view>& raw, std::size_t buffer = 0) {
        return raw ? fileValue(*raw, encoding, scratch[buffer]) : std::string_view();
    };
    const auto endSection = [&] {
        if (in == In::General) {
            applyGeneral(r, [&](GeneralKey key) { return value(general[key]); });
            defaultMenu = text::parseInteger(value(general[kDefaultMenu])).value_or(0);
            menus = text::parseInteger(value(general[kMenus])).value_or(0);
            // Room for the menus the text can hold (a menu section takes more than 32 bytes).
            if (menus > 0) objects.reserve(objects.size() + std::min<std::size_t>(menus, text.size() / 32 + 64));
            generalDone = true;
        } else if (in == In::Menu) {
            objects.push_back(maker.menu(value(menu[kText], kText), value(menu[kCommand], kCommand),
                                         value(menu[kName], kName), next == defaultMenu));
            ++next;
        }
        in = In::Nothing;
    };
    // A key line by the profile rules; `rest` is the line from its first character that is not
    // blank, which is not '[' (a header).
    const auto take = [](std::string_view rest, std::span<const std::string_view> keys,
                         std::span<std::optional<std::string_view>> raw) {
        // The key is what stands before the first '=', trimmed. No wanted key holds a blank or '=',
        // nor starts another, so the line holds key i exactly when it starts with it and only blanks
        // come between it and an '='.
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::string_view key = keys[i];
            if (rest.size() <= key.size() || !profileNamesEqual(rest.substr(0, key.size()), key)) continue;
            std::size_t eq = key.size();
            while (eq < rest.size() && isProfileBlank(rest[eq])) ++eq;
            if (eq < rest.size() && rest[eq] == '=' && !raw[i]) raw[i] = rest.substr(eq + 1);
            return;
        }
    };

    constexpr std::size_t kReleaseStep = 1u << 20;
    std::size_t released = 0;
    text::LineCursor cursor(text, true);
    std::size_t sectionStart = 0;  // the values of the section being read still point into the text from here
    while (!cursor.atEnd()) {
        const std::size_t lineStart = cursor.position();
        const std::string_view line = cursor.next();
        std::size_t first = 0;
        while (first < line.size() && isProfileBlank(line[first])) ++first;
        if (first == line.size()) {
            // a blank line
        } else if (line[first] != '[') {
            if (in == In::Menu) {
                take(line.substr(first), kMenuKeys, menu);
            } else if (in == In::General) {
                take(line.substr(first), kGeneralKeys, general);
            } else if (in == In::Settings) {
                if (const auto kv = profileKeyLine(line))
                    settings.take(kv->first, settingsValue(kv->second, encoding, scratch[0]));
            }
        } else if (const auto name = profileHeaderName(line)) {
            endSection();
            sectionStart = lineStart;
            if (!generalSeen && profileNamesEqual(*name, kSection)) {
                in = In::General;
                generalSeen = true;
            } else if (profileNamesEqual(*name, kSettingsSection)) {
                // A second settings section is read as if it followed the first; the file has errors.
                in = In::Settings;
                r.errors = r.errors || settingsSeen;
                settingsSeen = true;
                settings.startSection();
            } else if (const auto k = profileSectionNumber(*name, "Menu", INT32_MAX)) {
                if (!generalDone) return std::nullopt;              // a menu before the count
                if (*k > next && *k <= menus) return std::nullopt;  // out of order
                if (*k == next && *k <= menus) {
                    in = In::Menu;
                    menu = {};
                }
            }
        }
        if (consumed && sectionStart - released >= kReleaseStep) consumed(released = sectionStart);
    }
    endSection();
    if (!generalSeen) {
        r.versionOk = false;
        r.header = false;
        return r;
    }
    // Menus whose sections never came: a few are read as empty menus, far more make a broken file.
    const auto found = static_cast<std::size_t>(next - 1);
    if (menus > 0 && found < static_cast<std::size_t>(menus)) {
        if (countBacked(found, static_cast<std::size_t>(menus))) {
            for (std::int32_t k = next; k <= menus; ++k) objects.push_back(maker.menu({}, {}, {}, k == defaultMenu));
        } else {
            r.errors = true;  // the menus it does hold are kept; none is made up for the rest
        }
    }
    return r;
}

}  // namespace

ProjectReadResult readProjectV2(std::string_view content) {
    if (auto r = readV2WriterLayout(content, std::nullopt, {})) return std::move(*r);
    ProjectReadResult r = readV2AnyLayout(ProfileFile::parse(content));
    if (readSettingsSection(content, r.project.settings)) r.errors = true;
    return r;
}

ProjectReadResult readProjectV1(std::string_view content) {
    ProjectReadResult r;
    r.format = ProjectFormat::Version1;
    LineReader lines(content);
    auto& p = r.project;
    bool& errors = r.errors;

    if (text::asciiLower(lines.next()) != "[dantreva kmr file]") errors = true;
    if (text::asciiLower(lines.next()) != "version=1.0") errors = true;

    if (const auto line = lines.nextNonEmpty(); startsWithKey(line, "programa=")) {
        p.insert(makeProgram(std::string(text::from(line, 9))));
    } else {
        errors = true;
    }
    if (const auto line = lines.nextNonEmpty(); startsWithKey(line, "icono=")) {
        p.insert(makeIcon(std::string(text::from(line, 6))));
    } else {
        errors = true;
    }
    std::int32_t menus = 0;
    if (const auto line = lines.nextNonEmpty(); startsWithKey(line, "menus=")) {
        const auto n = text::parseInteger(text::trimLeftView(text::from(line, 6)), {.allowHexDollar = true});
        if (n)
            menus = *n;
        else
            errors = true;  // not a whole number: read no menus
    } else {
        errors = true;
    }
    for (std::int32_t k = 1; k <= menus; ++k) {
        // A file that ends early gives empty menus for the rest of its count, as far as the count is
        // one the file can back; past that it is broken, and the menus it did hold are kept.
        if (!lines.anyLeft()) {
            errors = true;
            const auto found = static_cast<std::size_t>(k - 1);
            const auto count = static_cast<std::size_t>(menus);
            if (!countBacked(found, count)) break;
            p.objects.reserve(p.size() + count - found);
            for (std::size_t missing = count - found; missing > 0; --missing) p.append(makeMenu({}, {}, {}));
            break;
        }
        const std::string number = std::to_string(k);
        const auto field = [&](std::string_view name) {
            const std::string key = "menu" + number + "." + std::string(name) + "=";
            const auto line = lines.nextNonEmpty();
            if (!startsWithKey(line, key)) errors = true;
            return std::string(text::from(line, text::length(key)));
        };
        std::string menuText = field("texto");
        std::string command = field("comando");
        std::string name = field("nombre");
        p.append(makeMenu(std::move(menuText), std::move(command), std::move(name)));
    }
    return r;
}

namespace {

// Reads file bytes; `release`, when given, may hand back what the one-pass reader has used, and
// `reload` must then bring it back before a second pass.
ProjectReadResult readBytes(std::string_view bytes, const std::function<void(std::size_t)>& release,
                            const std::function<bool()>& reload) {
    std::size_t mark = 0;
    const text::Encoding encoding = text::detectEncoding(bytes, mark);
    if (encoding == text::Encoding::Utf16Le) {
        const std::string decoded = text::decodeAs(bytes.substr(mark), encoding);
        if (detectProjectFormat(decoded) == ProjectFormat::Version1) return readProjectV1(decoded);
        return readProjectV2(decoded);
    }
    // Windows-1252 and UTF-8 are read as they stand, each value decoded when it is taken: the
    // structure of the file is all ASCII.
    const std::string_view raw = bytes.substr(mark);
    if (detectProjectFormat(raw) == ProjectFormat::Version1) return readProjectV1(text::decodeAs(raw, encoding));
    const auto consumed =
        release ? [&](std::size_t upTo) { release(mark + upTo); } : std::function<void(std::size_t)>();
    if (auto r = readV2WriterLayout(raw, encoding, consumed)) return std::move(*r);
    if (reload && !reload()) return {};
    std::string decoded = text::decodeAs(raw, encoding);
    DiscSettings settings;
    const bool repeated = readSettingsSection(decoded, settings);
    ProjectReadResult r = readV2AnyLayout(ProfileFile(std::move(decoded)));
    r.project.settings = std::move(settings);
    r.errors = r.errors || repeated;
    return r;
}

}  // namespace

ProjectReadResult readProjectFile(std::string_view bytes) { return readBytes(bytes, {}, {}); }

ProjectFileRead readProjectPath(const std::string& path) {
    ProjectFileRead result;
    io::FileBuffer file;
    static_cast<io::IoResult&>(result) = file.load(path);
    if (!result.ok()) return result;
    if (io::unfinishedWrite(file.bytes().substr(0, 2))) {
        static_cast<io::IoResult&>(result) = io::unfinishedFailure(path);
        return result;
    }
    result.read = readBytes(
        file.bytes(), [&](std::size_t upTo) { file.release(upTo); },
        [&] {
            static_cast<io::IoResult&>(result) = file.reload();
            return result.ok();
        });
    return result;
}

}  // namespace kmr
