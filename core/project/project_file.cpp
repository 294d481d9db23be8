#include "project/project_file.h"

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

// A count read from a file is only believed when the file could hold that many entries.
std::optional<std::int32_t> boundedCount(std::optional<std::int32_t> n, std::size_t lineCount) {
    if (n && *n > 0 && static_cast<std::size_t>(*n) > lineCount) return std::nullopt;
    return n;
}

// Reads lines one at a time; past the end every read gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view content) : m_lines(text::splitLines(content, true)) {}

    std::string_view next() { return m_pos < m_lines.size() ? m_lines[m_pos++] : std::string_view(); }
    // The next line that has at least one character, or an empty line at the end.
    std::string_view nextNonEmpty() {
        while (m_pos < m_lines.size()) {
            if (!m_lines[m_pos].empty()) return m_lines[m_pos++];
            ++m_pos;
        }
        return {};
    }
    std::size_t lineCount() const { return m_lines.size(); }

private:
    std::vector<std::string_view> m_lines;
    std::size_t m_pos = 0;
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
    if (!project.disc.folder.empty()) {
        // Keys of their own, which readers that do not know them skip; absent when no disc is named.
        writeKey(out, "Disco", project.disc.folder);
        writeKey(out, "Soporte", mediumName(project.disc.medium));
    }
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

ProjectReadResult readProjectV2(std::string_view content) {
    const ProfileFile file = ProfileFile::parse(content);
    ProjectReadResult r;
    r.format = ProjectFormat::Version2;
    r.versionOk = file.lookup(kSection, "Version") == "2.0";
    auto& p = r.project;
    if (auto v = file.lookup(kSection, "Programa"); !v.empty()) p.append(makeProgram(std::move(v)));
    if (auto v = file.lookup(kSection, "Ejecutar"); !v.empty()) p.append(makeResource(std::move(v)));
    if (auto v = file.lookup(kSection, "Icono"); !v.empty()) p.append(makeIcon(std::move(v)));
    if (auto v = file.lookup(kSection, "Etiqueta"); !v.empty()) p.append(makeLabel(std::move(v)));
    p.disc.folder = file.lookup(kSection, "Disco");
    if (!p.disc.folder.empty()) p.disc.medium = mediumFromName(file.lookup(kSection, "Soporte"));
    const std::int32_t defaultMenu = file.lookupInt(kSection, "Predeterminado");
    const std::int32_t menus = boundedCount(file.findInt(kSection, "Menus"), file.lineCount()).value_or(0);
    for (std::int32_t k = 1; k <= menus; ++k) {
        const std::string section = "Menu" + std::to_string(k);
        p.append(makeMenu(file.lookup(section, "Texto"), file.lookup(section, "Comando"),
                          file.lookup(section, "Nombre"), k == defaultMenu));
    }
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
        const auto n = boundedCount(
            text::parseInteger(text::trimLeftView(text::from(line, 6)), {.allowHexDollar = true}), lines.lineCount());
        if (n)
            menus = *n;
        else
            errors = true;  // not a whole number, or more menus than the file has lines: read none
    } else {
        errors = true;
    }
    for (std::int32_t k = 1; k <= menus; ++k) {
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
    const text::Decoded decoded = text::decode(bytes);
    return detectProjectFormat(decoded.text) == ProjectFormat::Version1 ? readProjectV1(decoded.text)
                                                                        : readProjectV2(decoded.text);
}

}  // namespace kmr
