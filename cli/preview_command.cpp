// kmrc preview: what each Windows does with the disc, by version and drive, as text or JSON. The
// facts are those of the editor's "Vista previa del disco": both read disc/windows_preview.h.

#include <ostream>

#include "commands.h"
#include "disc/disc_files.h"
#include "disc/windows_preview.h"
#include "json.h"
#include "kmrc.h"

namespace kmr::cli {
namespace {

using disc::DiscPreview;

std::string sourceKeys(const std::vector<disc::Source>& sources) {
    std::string keys;
    for (const disc::Source s : sources) keys.append(keys.empty() ? "" : ", ").append(disc::sourceInfo(s).key);
    return keys;
}

std::string jsonSources(const std::vector<disc::Source>& sources) {
    std::string out = "[";
    for (const disc::Source s : sources) {
        out.append(out.size() > 1 ? ", " : "").append(jsonString(disc::sourceInfo(s).key));
    }
    return out + "]";
}

std::string jsonBool(bool b) { return b ? "true" : "false"; }

// "16, 32 y 48"
std::string sizesText(const std::vector<int>& sizes) {
    std::string out;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        out += i == 0 ? "" : i + 1 == sizes.size() ? " y " : ", ";
        out += std::to_string(sizes[i]);
    }
    return out;
}

std::string_view arrivalKey(disc::Arrival a) {
    switch (a) {
        case disc::Arrival::RunsProgram: return "runs-program";
        case disc::Arrival::AutoPlay: return "autoplay";
        case disc::Arrival::Undocumented: break;
    }
    return "undocumented";
}

void writeText(const DiscPreview& p, std::ostream& out) {
    out << disc::versionName(p.version) << ", " << disc::driveName(p.drive) << "\n";
    const disc::InsertionView& in = p.insertion;
    out << "Al insertar el disco: " << in.summary << "\n";
    for (const disc::AutoPlayEntry& e : in.entries) out << "  > " << e.text << " (" << e.detail << ")\n";
    for (const std::string& n : in.notes) out << "  Nota: " << n << "\n";
    out << "  Fuentes: " << sourceKeys(in.sources) << "\n";

    const disc::DriveView& d = p.driveView;
    out << "Unidad: «" << d.label << "», "
        << (d.icon.empty() ? std::string("con el icono normal de la unidad") : "con el icono «" + d.icon + "»")
        << ", a " << sizesText(d.sizes) << " píxeles.\n";
    out << "  Fuentes: " << sourceKeys(d.sources) << "\n";

    out << "Doble clic: " << p.doubleClick.text << "\n";
    out << "  Fuentes: " << sourceKeys(p.doubleClick.sources) << "\n";

    out << "Menú contextual" << (p.menu.documented ? "" : " (no documentado qué entradas del autorun.inf muestra)")
        << ":\n";
    bool own = false;
    for (const disc::MenuEntry& e : p.menu.entries) {
        if (e.windows && !own) out << "  --\n";
        own = own || e.windows;
        out << "  " << (e.isDefault ? "* " : "") << e.text << (e.uncertain ? " (no documentado)" : "") << "\n";
    }
    out << "  Fuentes: " << sourceKeys(p.menu.sources) << "\n";
}

std::string jsonPreview(const DiscPreview& p) {
    const disc::InsertionView& in = p.insertion;
    std::string out = "    {\n      \"windows\": " + jsonString(disc::versionKey(p.version)) +
                      ", \"windows_name\": " + jsonString(disc::versionName(p.version)) +
                      ",\n      \"medium\": " + jsonString(disc::driveKey(p.drive)) +
                      ", \"medium_name\": " + jsonString(disc::driveName(p.drive)) + ",\n";
    out += "      \"insertion\": {\"arrival\": " + jsonString(arrivalKey(in.arrival)) +
           ", \"presentation\": " + jsonString(in.presentation == disc::Effect::Panel ? "panel" : "window") +
           ", \"summary\": " + jsonString(in.summary) + ", \"entries\": [";
    for (std::size_t i = 0; i < in.entries.size(); ++i) {
        const disc::AutoPlayEntry& e = in.entries[i];
        out += std::string(i == 0 ? "" : ", ") + "{\"text\": " + jsonString(e.text) +
               ", \"detail\": " + jsonString(e.detail) + ", \"from_disc\": " + jsonBool(e.fromDisc) + "}";
    }
    out += "], \"notes\": [";
    for (std::size_t i = 0; i < in.notes.size(); ++i) out += (i == 0 ? "" : ", ") + jsonString(in.notes[i]);
    out += "], \"sources\": " + jsonSources(in.sources) + "},\n";

    const disc::DriveView& d = p.driveView;
    out += "      \"drive\": {\"label\": " + jsonString(d.label) +
           ", \"icon\": " + (d.icon.empty() ? std::string("null") : jsonString(d.icon)) + ", \"sizes\": [";
    for (std::size_t i = 0; i < d.sizes.size(); ++i) out += (i == 0 ? "" : ", ") + std::to_string(d.sizes[i]);
    out += "], \"sources\": " + jsonSources(d.sources) + "},\n";

    out += "      \"double_click\": {\"documented\": " + jsonBool(p.doubleClick.documented) +
           ", \"text\": " + jsonString(p.doubleClick.text) + ", \"sources\": " + jsonSources(p.doubleClick.sources) +
           "},\n";

    out += "      \"context_menu\": {\"documented\": " + jsonBool(p.menu.documented) + ", \"entries\": [";
    for (std::size_t i = 0; i < p.menu.entries.size(); ++i) {
        const disc::MenuEntry& e = p.menu.entries[i];
        out += std::string(i == 0 ? "" : ", ") + "{\"text\": " + jsonString(e.text) +
               ", \"default\": " + jsonBool(e.isDefault) + ", \"windows\": " + jsonBool(e.windows) +
               ", \"uncertain\": " + jsonBool(e.uncertain) + "}";
    }
    out += "], \"sources\": " + jsonSources(p.menu.sources) + "}\n    }";
    return out;
}

}  // namespace

int previewCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto read = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!read) return code;
    const Project& project = read->project;

    std::vector<disc::WindowsVersion> versions(disc::kWindowsVersions.begin(), disc::kWindowsVersions.end());
    if (const auto v = p.value("--windows")) {
        const auto version = disc::versionFromKey(*v);
        if (!version) return usageError(p, "versión de Windows desconocida: " + *v + " (xp, 7 o 10)", io);
        versions = {*version};
    }
    disc::DriveType drive = disc::driveOf(project.disc.medium);
    if (const auto m = p.value("--medium")) {
        const auto named = disc::driveFromKey(*m);
        if (!named) return usageError(p, "soporte desconocido: " + *m + " (cd, usb o usb-disk)", io);
        drive = *named;
    }
    // The folder named on the line must be there; the project's own may be gone, and the preview then
    // says only what the project tells.
    std::string folder = disc::resolveDiscFolder(p.positional[0], project.disc.folder);
    if (const auto named = p.value("--disc")) {
        if (!disc::DiscFolder(*named).exists()) {
            io.err << "kmrc: " << *named << ": no es una carpeta\n";
            return kFileError;
        }
        folder = *named;
    }
    if (const std::string unreadable = disc::DiscFolder(folder).readError(); !unreadable.empty()) {
        io.err << "kmrc: " << unreadable << "\n";
        return kFileError;
    }

    const bool json = p.has("--json");
    if (json)
        io.out << "{\n  \"disc\": " << (folder.empty() ? std::string("null") : jsonString(folder))
               << ",\n  \"previews\": [\n";
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const DiscPreview preview = disc::previewDisc(project, folder, versions[i], drive);
        if (json) {
            io.out << jsonPreview(preview) << (i + 1 == versions.size() ? "\n" : ",\n");
        } else {
            if (i > 0) io.out << "\n";
            writeText(preview, io.out);
        }
    }
    if (json) io.out << "  ]\n}\n";
    return kDone;
}

}  // namespace kmr::cli
