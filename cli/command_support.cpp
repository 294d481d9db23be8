#include "command_support.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "kmrc.h"
#include "project/project_values.h"
#include "text/file_io.h"
#include "text/text.h"

namespace kmr::cli {

bool ParsedArgs::has(std::string_view flag) const { return std::find(flags.begin(), flags.end(), flag) != flags.end(); }

std::vector<std::string> ParsedArgs::values(std::string_view option) const {
    std::vector<std::string> out;
    for (const auto& [name, value] : options) {
        if (name == option) out.push_back(value);
    }
    return out;
}

std::optional<std::string> ParsedArgs::value(std::string_view option) const {
    for (auto it = options.rbegin(); it != options.rend(); ++it) {
        if (it->first == option) return it->second;
    }
    return std::nullopt;
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string_view>& allowedFlags,
                     bool allowOutput, const std::vector<std::string_view>& valueOptions) {
    ParsedArgs p;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            p.positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (allowOutput && a == "-o") {
            if (i + 1 >= args.size()) {
                p.error = "falta el fichero tras -o";
                return p;
            }
            p.output = args[++i];
        } else if (std::find(valueOptions.begin(), valueOptions.end(), a) != valueOptions.end()) {
            if (i + 1 >= args.size()) {
                p.error = "falta el valor tras " + a;
                return p;
            }
            p.options.emplace_back(a, args[i + 1]);
            ++i;
        } else if (std::find(allowedFlags.begin(), allowedFlags.end(), a) != allowedFlags.end()) {
            p.flags.push_back(a);
        } else {
            p.error = "opción desconocida: " + a;
            return p;
        }
    }
    return p;
}

std::optional<ParsedArgs> parseCommand(const std::vector<std::string>& args, const CommandForm& form, Streams io,
                                       int& exitCode) {
    ParsedArgs p = parseArgs(args, form.flags, form.output);
    if (p.error.empty() && p.positional.size() != form.files) p.error = form.missingFiles;
    if (!p.error.empty()) {
        io.err << "kmrc: " << p.error << "\nuso: " << form.usage << "\n";
        exitCode = kUsage;
        return std::nullopt;
    }
    return p;
}

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
        io.err << "kmrc: " << path << ": versión no reconocida (use --force para seguir igualmente)\n";
        exitCode = kRefused;
        return std::nullopt;
    }
    return std::move(r);
}

std::optional<ProjectCommand> parseProjectCommand(const std::vector<std::string>& args, const CommandForm& form,
                                                  Streams io, int& exitCode) {
    auto parsed = parseCommand(args, form, io, exitCode);
    if (!parsed) return std::nullopt;
    auto read = loadProject(parsed->positional[0], parsed->has("--force"), io, exitCode);
    if (!read) return std::nullopt;
    return ProjectCommand{std::move(*parsed), std::move(*read)};
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
    const io::IoResult r = io::writeFileAtomic(path, produce, options);
    if (!r.ok()) {
        io.err << "kmrc: " << r.message;
        if (r.status == io::IoStatus::InPlaceOnly) io.err << "; use " << kInPlaceFlag << " para hacerlo igualmente";
        io.err << "\n";
        return kFileError;
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

bool mayReplace(const std::string& path, bool force, Streams io) {
    if (force || !holdsProject(path)) return true;
    io.err << "kmrc: " << path << ": ya existe un proyecto con ese nombre; use --force para sustituirlo\n";
    return false;
}

}  // namespace kmr::cli
