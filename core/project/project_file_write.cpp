// The version-2 writer: the file's text made in one buffer or handed on in pieces, and its bytes.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "project/object_lines.h"
#include "project/profile.h"
#include "project/project_file.h"
#include "text/pieces.h"
#include "text/text.h"

namespace kmr {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void writeKey(std::string& out, std::string_view key, std::string_view value) { appendProfileKeyLine(out, key, value); }

constexpr char kMenuHeaderStart[] = "\r\n[Menu";  // after an empty line
constexpr char kMenuHeaderEnd[] = "]\r\n";
constexpr char kTextKey[] = "Texto=";
constexpr char kCommandKey[] = "Comando=";
constexpr char kNameKey[] = "Nombre=";

// A key line whose value is written as it stands or in one extra pair of quotes.
template <std::size_t N>
char* putKeyLine(char* p, const char (&key)[N], std::string_view value, bool quoted) {
    p = text::put(p, key);
    if (quoted) *p++ = '"';
    p = text::put(p, value);
    if (quoted) *p++ = '"';
    return text::put(p, kCrLf);
}

// The room putKeyLine takes.
template <std::size_t N>
std::size_t keyLineSize(const char (&key)[N], std::string_view value, bool quoted) {
    return text::lengthOf(key) + (quoted ? 2 : 0) + value.size() + kCrLf.size();
}

// A menu's section, preceded by an empty line, made with one size check: most of a big file is
// these, and a check and a call for every piece of every line cost more than the copying.
void writeMenuSection(std::string& out, std::size_t number, const ProjectObject& o) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
    const std::string_view numberText(digits, static_cast<std::size_t>(end - digits));
    const std::string_view menuText = o.value(0), command = o.value(1), name = o.value(2);
    const bool quoteText = readerWouldChange(menuText), quoteCommand = readerWouldChange(command),
               quoteName = readerWouldChange(name);
    const std::size_t size = text::lengthOf(kMenuHeaderStart) + numberText.size() + text::lengthOf(kMenuHeaderEnd) +
                             keyLineSize(kTextKey, menuText, quoteText) +
                             keyLineSize(kCommandKey, command, quoteCommand) + keyLineSize(kNameKey, name, quoteName);
    const std::size_t at = out.size();
    out.resize(at + size);
    char* p = out.data() + at;
    p = text::put(p, kMenuHeaderStart);
    p = text::put(p, numberText);
    p = text::put(p, kMenuHeaderEnd);
    p = putKeyLine(p, kTextKey, menuText, quoteText);
    p = putKeyLine(p, kCommandKey, command, quoteCommand);
    putKeyLine(p, kNameKey, name, quoteName);
}

// Writes the file's text into `out`; after each object `flush` may hand it on, and stops the writing
// by returning false.
template <class Flush>
void writeInto(const Project& project, std::string& out, Flush&& flush) {
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
                    writeKey(out, "Ejecutar", o.value(0));
                else if (isProgramEntry(o))
                    writeKey(out, "Programa", o.value(0));
                break;
            case Kind::Icon:
                writeKey(out, "Icono", o.value(0));
                ++general;
                break;
            case Kind::Label:
                writeKey(out, "Etiqueta", o.value(0));
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
                writeMenuSection(out, i - general + 1, o);
                break;
        }
        if (!flush()) return;
    }
    // The disc settings after the menus, only when there are some; with the lines of the objects that
    // the file cannot hold, since their values are empty.
    const std::optional<DiscSettings> stored = settingsToStore(project);
    writeSettingsSection(out, stored ? *stored : project.settings, flush);
}

}  // namespace

void projectV2Text(const Project& project, const std::function<bool(std::string_view)>& sink) {
    text::writeInPieces(sink, [&](std::string& out, auto&& flush) { writeInto(project, out, flush); });
}

std::string projectV2Text(const Project& project) {
    // Room for the whole text: the values and at most 64 bytes of keys, quotes and line ends each.
    std::size_t size = 128 + project.disc.folder.size();
    for (const auto& o : project.objects) {
        size += 64;
        for (std::size_t i = 0; i < o.valueCount(); ++i) size += o.value(i).size();
    }
    std::string out;
    out.reserve(size);
    writeInto(project, out, [] { return true; });
    return out;
}

void projectFileBytes(const Project& project, const std::function<bool(std::string_view)>& write) {
    // The characters that are not ASCII come from the values the writer writes; a run entry that is
    // neither a program nor a resource writes none.
    bool fits = true;
    for (const auto& o : project.objects) {
        if (o.kind == Kind::RunEntry && !isResourceEntry(o) && !isProgramEntry(o)) continue;
        const std::size_t n = std::min<std::size_t>(o.valueCount(), isMenu(o.kind) ? 3 : 1);
        for (std::size_t i = 0; fits && i < n; ++i) fits = text::fitsCp1252(o.value(i));
    }
    // The disc folder and the disc settings are written too, and may hold any character.
    const std::optional<DiscSettings> stored = settingsToStore(project);
    fits = fits && text::fitsCp1252(project.disc.folder) && settingsFitCp1252(stored ? *stored : project.settings);
    text::FileEncoder encoder(fits);
    projectV2Text(project, [&](std::string_view piece) { return write(encoder.encode(piece)); });
}

std::string projectFileBytes(const Project& project) {
    // Most projects fit Windows-1252: the text becomes its bytes where it stands, and is made again
    // for UTF-16 only when some character does not fit.
    std::string bytes = projectV2Text(project);
    if (text::toCp1252InPlace(bytes)) return bytes;
    return text::toUtf16LeWithBom(projectV2Text(project));
}

}  // namespace kmr
