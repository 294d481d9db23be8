#include "command_support.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "autorun/importer.h"
#include "kmrc.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "platform/files.h"
#include "project/project_values.h"
#include "text/text.h"

namespace kmr::cli {

int readFailure(const io::IoResult& r, Streams io) {
    if (r.error == ENOMEM) {
        io.err << kOutOfMemory;
        return kRefused;
    }
    io.err << "kmrc: " << r.message << "\n";
    return r.status == io::IoStatus::TooLarge || r.status == io::IoStatus::Unfinished ? kRefused : kFileError;
}

std::optional<std::string> readInput(const std::string& path, Streams io, int& exitCode) {
    io::ReadResult r = io::readFile(path);
    if (!r.ok()) {
        exitCode = readFailure(r, io);
        return std::nullopt;
    }
    return std::move(r.bytes);
}

std::optional<ProjectReadResult> loadProject(const std::string& path, bool force, Streams io, int& exitCode) {
    ProjectFileRead file = readProjectPath(path);
    if (!file.ok()) {
        exitCode = readFailure(file, io);
        return std::nullopt;
    }
    ProjectReadResult& r = file.read;
    if (r.format == ProjectFormat::Version2 && !r.versionOk && !force) {
        // What was found, when it is no project at all: an autorun.inf given to the wrong command, say.
        io.err << "kmrc: " << path << ": ";
        if (r.header) {
            io.err << "versión no reconocida (use --force para seguir igualmente)\n";
        } else if (const AutorunSource source = readAutorunFile(path); looksLikeAutorun(source.text)) {
            io.err << "no es un proyecto de KMR, sino un autorun.inf: use kmrc import para importarlo (o --force "
                      "para leerlo igualmente como proyecto)\n";
        } else {
            io.err << "no es un proyecto de KMR (use --force para leerlo igualmente)\n";
        }
        exitCode = kRefused;
        return std::nullopt;
    }
    return std::move(r);
}

int writeOutput(const std::string& path, std::string_view bytes, Streams io, io::WriteOptions options) {
    return writeOutput(
        path, [bytes](const auto& write) { write(bytes); }, io, options);
}

io::WriteOptions writeOptions(const ParsedArgs& args) { return {.inPlace = args.has(kInPlaceFlag)}; }

int writeOutput(const std::string& path, const io::ByteProducer& produce, Streams io, io::WriteOptions options) {
    if (path == "-") {
        produce([&](std::string_view piece) {
            io.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            return static_cast<bool>(io.out);
        });
        io.out.flush();
        return io.out ? kDone : kFileError;  // runKmrc says what failed
    }
    // A file that kmrc and the editor would refuse to read is not written at all.
    io::IoResult r = io::checkOutputSize(path, io::producedSize(produce));
    if (r.ok()) r = io::writeFileAtomic(path, produce, options);
    if (!r.ok()) {
        io.err << "kmrc: " << r.message;
        if (r.status == io::IoStatus::InPlaceOnly) io.err << "; use " << kInPlaceFlag << " para hacerlo igualmente";
        io.err << "\n";
        return r.status == io::IoStatus::TooLarge ? kRefused : kFileError;
    }
    return kDone;
}

bool refuseLineBreaks(const Project& project, Streams io) {
    const auto refusal = lineBreakRefusal(project);
    if (refusal) io.err << "kmrc: " << *refusal << "\n";
    return refusal.has_value();
}

bool holdsProject(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    // Known by its first line, in 8 bits or in UTF-16, whatever the file's name.
    std::ifstream file(path, std::ios::binary);
    std::string head(64, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    std::erase(head, '\0');
    head = text::asciiLower(head);
    return head.find("[brenlowe kmr file]") != std::string::npos ||
           head.find("[dantreva kmr file]") != std::string::npos;
}

bool distinctFromInput(const std::string& input, const std::string& output, Streams io) {
    if (output == "-" || !platform::sameFile(input, output)) return true;
    io.err << "kmrc: " << output << ": es el mismo fichero que la entrada " << input << "; no se ha escrito nada\n";
    return false;
}

bool mayReplace(const std::string& path, bool force, Streams io) {
    if (force || !holdsProject(path)) return true;
    io.err << "kmrc: " << path << ": ya existe un proyecto con ese nombre; use --force para sustituirlo\n";
    return false;
}

}  // namespace kmr::cli
