// kmrc check and kmrc iso: the project on its own, or against the folder that will be burnt.

#include <cerrno>
#include <ostream>

#include "autorun/compiler.h"
#include "child_process.h"
#include "commands.h"
#include "disc/disc_check.h"
#include "disc/disc_files.h"
#include "disc/iso_image.h"
#include "disc/settings_check.h"
#include "json.h"
#include "kmrc.h"
#include "text/text.h"

namespace kmr::cli {
namespace {

// A verb's line and the project it names first.
struct LoadedCommand {
    const ParsedArgs& args;
    ProjectReadResult read;
};

// The disc a command works on: --disc, else the folder the project names (relative to the project
// file); the medium from --medium, else the project's. nullopt with `code` set when the line is
// wrong; a target with an empty folder when neither names one.
std::optional<DiscTarget> discOf(const LoadedCommand& c, Streams io, int& code) {
    DiscTarget disc = c.read.project.disc;
    disc.folder = disc::resolveDiscFolder(c.args.positional[0], disc.folder);
    if (const auto folder = c.args.value("--disc")) {
        // A folder named on the command line must be there; one the project names and that is gone is
        // a finding of the check.
        if (!disc::DiscFolder(*folder).exists()) {
            io.err << "kmrc: " << *folder << ": no es una carpeta\n";
            code = kFileError;
            return std::nullopt;
        }
        disc.folder = *folder;
    }
    if (const std::string unreadable = disc::DiscFolder(disc.folder).readError(); !unreadable.empty()) {
        io.err << "kmrc: " << unreadable << "\n";
        code = kFileError;
        return std::nullopt;
    }
    if (const auto medium = c.args.value("--medium")) {
        if (*medium == "usb" || *medium == "USB") {
            disc.medium = Medium::Usb;
        } else if (*medium == "cd" || *medium == "dvd" || *medium == "CD/DVD") {
            disc.medium = Medium::CdDvd;
        } else {
            code = usageError(c.args, "soporte desconocido: " + *medium + " (cd o usb)", io);
            return std::nullopt;
        }
        if (disc.folder.empty()) {
            code = usageError(c.args, "--medium necesita la carpeta del disco (--disc CARPETA)", io);
            return std::nullopt;
        }
    }
    return disc;
}

std::string jsonReport(const std::vector<disc::CheckItem>& items, const DiscTarget& disc) {
    std::string out = "{\n  \"disc\": ";
    out += disc.folder.empty() ? "null" : jsonString(disc.folder);
    out += ",\n  \"medium\": ";
    out += disc.folder.empty() ? "null" : jsonString(mediumName(disc.medium));
    out += ",\n  \"findings\": [";
    bool first = true;
    for (const disc::CheckItem& i : items) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += "{\"key\": " + jsonString(i.key) + ", \"title\": " + jsonString(i.title) +
               ", \"image\": " + std::to_string(i.image) + ", \"explanation\": [" +
               jsonString(text::trimLeftView(i.explanation[0])) + ", " +
               jsonString(text::trimLeftView(i.explanation[1])) + "]}";
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

// The findings as check prints them, one a line: a disc finding names its file or object on its line,
// so a title that comes up twice still says what it is about; `explain` adds what else explains it.
void printFindings(const std::vector<disc::CheckItem>& items, std::size_t conflicts, bool explain, std::ostream& out) {
    for (std::size_t n = 0; n < items.size(); ++n) {
        const disc::CheckItem& i = items[n];
        const bool onDisc = n >= conflicts;
        out << i.title;
        if (onDisc) out << ": " << text::trimLeftView(i.explanation[0]);
        out << "\n";
        if (explain && !onDisc) out << i.explanation[0] << "\n";
        if (explain) out << i.explanation[1] << "\n";
    }
}

// The verb's line and its project; nullopt with `code` set when the project cannot be read.
std::optional<LoadedCommand> loaded(const ParsedArgs& p, Streams io, int& code) {
    auto read = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!read) return std::nullopt;
    return LoadedCommand{p, std::move(*read)};
}

}  // namespace

int checkCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto c = loaded(p, io, code);
    if (!c) return code;
    const auto disc = discOf(*c, io, code);
    if (!disc) return code;
    // A folder the check cannot look through, or a file in it that reading could wait on for ever.
    if (const std::string problem = disc::discProblem(c->read.project, *disc); !problem.empty()) {
        io.err << "kmrc: " << problem << "\n";
        return kFileError;
    }
    // The conflict findings come first; then, with a disc folder, what is seen in it, and what the disc
    // settings show (with or without a folder).
    std::vector<disc::CheckItem> items = disc::conflictItems(c->read.project);
    const std::size_t conflicts = items.size();
    if (!disc->folder.empty()) {
        for (disc::CheckItem& i : disc::checkDisc(c->read.project, *disc)) items.push_back(std::move(i));
    }
    for (disc::CheckItem& i : disc::checkSettings(c->read.project, &*disc)) items.push_back(std::move(i));
    if (c->args.has("--json")) {
        io.out << jsonReport(items, *disc);
    } else {
        printFindings(items, conflicts, c->args.has("--explain"), io.out);
    }
    return items.empty() ? kDone : kFindings;
}

int isoCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto c = loaded(p, io, code);
    if (!c) return code;
    const auto disc = discOf(*c, io, code);
    if (!disc) return code;
    const std::string image = *p.output();
    if (const auto label = c->args.value("--label"); label && label->find_first_of("\r\n") != std::string::npos)
        return usageError(p, "--label: un valor no puede ocupar más de una línea", io);
    if (disc->folder.empty()) return usageError(p, "falta la carpeta del disco (--disc CARPETA)", io);
    if (!disc::DiscFolder(disc->folder).exists()) {
        io.err << "kmrc: " << disc->folder << ": no es una carpeta\n";
        return kFileError;
    }
    if (image == "-" || disc::imageInsideFolder(image, disc->folder)) {
        io.err << "kmrc: " << image << ": la imagen no puede escribirse dentro de la carpeta del disco ni en la "
               << "salida estándar\n";
        return kUsage;
    }
    // Neither the image nor the autorun.inf written into the folder may be the project read.
    const std::string autorun = disc::autorunPathIn(disc->folder);
    if (!distinctFromInput(c->args.positional[0], image, io) || !distinctFromInput(c->args.positional[0], autorun, io))
        return kUsage;
    if (refuseLineBreaks(c->read.project, io)) return kRefused;
    if (const std::string problem = disc::discProblem(c->read.project, *disc); !problem.empty()) {
        io.err << "kmrc: " << problem << "\n";
        return kFileError;
    }
    if (disc->medium == Medium::Usb) {
        io.err << "Aviso: el proyecto es para una unidad USB; la imagen ISO sirve para grabar un CD o DVD.\n";
    }

    // Without xorriso there will be no image: the folder is left as it was.
    if (!programInstalled(std::string(disc::kXorriso))) {
        io.err << "kmrc: no se encuentra xorriso (no está instalado); no se ha cambiado nada\n";
        return kToolFailed;
    }
    // The image's place is looked at next: a target that cannot take it changes nothing.
    const disc::PendingImage pending = disc::reservePendingImage(image);
    if (!pending.result.ok()) {
        io.err << "kmrc: " << pending.result.message << "\n";
        return kFileError;
    }
    const Project& project = c->read.project;
    if (const io::IoResult w = writeAutorunFile(autorun, project, writeOptions(c->args)); !w.ok()) {
        disc::discardPendingImage(pending);
        io.err << "kmrc: " << w.message;
        if (w.status == io::IoStatus::InPlaceOnly) io.err << "; use " << kInPlaceFlag << " para hacerlo igualmente";
        io.err << "\n";
        return kFileError;
    }
    io.err << kCompiledMessage << " (" << autorun << ")\n";
    printFindings(disc::checkProjectOnDisc(project, *disc), disc::conflictItems(project).size(), false, io.err);

    const disc::VolumeName volume =
        disc::isoVolumeName(disc::imageLabel(project, disc->folder, c->args.value("--label")));
    if (!volume.warning.empty()) io.err << "Aviso: " << volume.warning << "\n";

    // What xorriso prints is its own business unless it fails or it was asked for.
    const bool verbose = c->args.has("--verbose");
    std::string said;
    const ChildResult run =
        runChild(std::string(disc::kXorriso), disc::xorrisoArguments(disc->folder, pending.path, volume.id),
                 [&](std::string_view line) {
                     if (verbose) {
                         io.err << line << "\n";
                     } else {
                         said.append(line).append("\n");
                     }
                 });
    if (!run.succeeded()) {
        io.err << said;
        disc::discardPendingImage(pending);
        if (!run.started) {
            io.err << "kmrc: no se pudo ejecutar xorriso" << (run.startError == ENOENT ? " (no está instalado)" : "")
                   << "; no se ha creado la imagen\n";
        } else {
            io.err << "kmrc: xorriso terminó con "
                   << (run.signal != 0 ? "la señal " + std::to_string(run.signal)
                                       : "el código " + std::to_string(run.exitCode))
                   << "; no se ha creado la imagen\n";
        }
        return kToolFailed;
    }
    if (const io::IoResult done = disc::finishPendingImage(pending, image); !done.ok()) {
        io.err << "kmrc: " << done.message << "\n";
        return kFileError;
    }
    io.err << "Imagen creada: " << image << " (volumen \"" << volume.id << "\")\n";
    return kDone;
}

}  // namespace kmr::cli
