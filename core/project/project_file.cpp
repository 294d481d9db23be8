#include "project/project_file.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "project/profile.h"
#include "text/integer.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kSection = "Brenlowe KMR File";
constexpr std::string_view kCrLf = "\r\n";

// The reader trims values and removes one enclosing pair of matching quotes. A value that this
// would change is written inside one extra pair of double quotes, which the reader removes again;
// every other value is written exactly as it stands.
bool readerWouldChange(std::string_view v) {
    if (v.empty()) return false;
    if (text::isBlank(v.front()) || text::isBlank(v.back())) return true;
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

void writeKey(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out.push_back('=');
    if (readerWouldChange(value)) {
        out.push_back('"');
        out.append(value);
        out.push_back('"');
    } else {
        out.append(value);
    }
    out.append(kCrLf);
}

std::string_view valueAt(const ProjectObject& o, std::size_t i) {
    return i < o.values.size() ? std::string_view(o.values[i]) : std::string_view();
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

std::string writeProjectV2(const Project& project) {
    std::string out;
    out.reserve(64 + project.size() * 96);
    out.append("[Brenlowe KMR File]").append(kCrLf);
    out.append("Version=2.0").append(kCrLf);
    const auto& objects = project.objects;
    std::size_t general = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ProjectObject& o = objects[i];
        switch (o.kind) {
            case Kind::RunEntry:
                ++general;
                if (isResourceEntry(o))
                    writeKey(out, "Ejecutar", valueAt(o, 0));
                else if (isProgramEntry(o))
                    writeKey(out, "Programa", valueAt(o, 0));
                break;
            case Kind::Icon:
                writeKey(out, "Icono", valueAt(o, 0));
                ++general;
                break;
            case Kind::Label:
                writeKey(out, "Etiqueta", valueAt(o, 0));
                ++general;
                break;
            case Kind::PlainMenu:
            case Kind::DefaultMenu:
                if (i == general) {
                    out.append("Menus=").append(std::to_string(objects.size() - i)).append(kCrLf);
                    for (std::size_t j = i; j < objects.size(); ++j) {
                        if (objects[j].kind == Kind::DefaultMenu) {
                            out.append("Predeterminado=").append(std::to_string(j - general + 1)).append(kCrLf);
                        }
                    }
                }
                out.append(kCrLf);
                out.append("[Menu").append(std::to_string(i - general + 1)).append("]").append(kCrLf);
                writeKey(out, "Texto", valueAt(o, 0));
                writeKey(out, "Comando", valueAt(o, 1));
                writeKey(out, "Nombre", valueAt(o, 2));
                break;
        }
    }
    return out;
}

std::string projectFileBytes(const Project& project) { return text::encodeForFile(writeProjectV2(project)); }

namespace {

ProjectReadResult readV2(const ProfileFile& file) {
    ProjectReadResult r;
    r.format = ProjectFormat::Version2;
    const std::optional<ProfileSection> general = file.section(kSection);
    if (!general) {
        r.versionOk = false;
        return r;
    }
    // The general keys in one pass over their section.
    static constexpr std::array<std::string_view, 7> kKeys = {"Version",  "Programa",       "Ejecutar", "Icono",
                                                              "Etiqueta", "Predeterminado", "Menus"};
    std::array<std::optional<std::string_view>, 7> raw;
    general->findEach(kKeys, raw);
    const auto value = [&](std::size_t i) { return raw[i] ? profileValue(*raw[i]) : std::string(); };
    const auto integer = [&](std::size_t i) { return text::parseInteger(value(i)).value_or(0); };
    r.versionOk = value(0) == "2.0";
    auto& p = r.project;
    if (auto v = value(1); !v.empty()) p.append(makeProgram(std::move(v)));
    if (auto v = value(2); !v.empty()) p.append(makeResource(std::move(v)));
    if (auto v = value(3); !v.empty()) p.append(makeIcon(std::move(v)));
    if (auto v = value(4); !v.empty()) p.append(makeLabel(std::move(v)));
    const std::int32_t defaultMenu = integer(5);
    const std::int32_t menus = integer(6);
    if (menus <= 0) return r;
    // The menu sections are taken in one pass in file order, not looked up by name one by one.
    const ProfileFile::NumberedSections numbered = file.numberedSections("Menu", menus);
    if (!numbered.backed) {
        r.errors = true;  // far more menus than sections: a broken file, not a list of empty menus
        return r;
    }
    static constexpr std::array<std::string_view, 3> kMenuKeys = {"Texto", "Comando", "Nombre"};
    p.objects.reserve(p.size() + static_cast<std::size_t>(menus));
    auto next = numbered.sections.begin();
    for (std::int32_t k = 1; k <= menus; ++k) {
        std::array<std::optional<std::string_view>, 3> raw;
        if (next != numbered.sections.end() && next->first == k) (next++)->second.findEach(kMenuKeys, raw);
        const auto value = [&](std::size_t i) { return raw[i] ? profileValue(*raw[i]) : std::string(); };
        p.append(makeMenu(value(0), value(1), value(2), k == defaultMenu));
    }
    return r;
}

}  // namespace

ProjectReadResult readProjectV2(std::string_view content) { return readV2(ProfileFile::parse(content)); }

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
        // A menu with not one line left is not made: a count the file cannot back reads as broken,
        // not as a list of empty menus.
        if (!lines.anyLeft()) {
            errors = true;
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

ProjectReadResult readProjectFile(std::string_view bytes) {
    text::Decoded decoded = text::decode(bytes);
    if (detectProjectFormat(decoded.text) == ProjectFormat::Version1) return readProjectV1(decoded.text);
    return readV2(ProfileFile(std::move(decoded.text)));
}

}  // namespace kmr
