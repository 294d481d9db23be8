#pragma once
// What the kmrc commands share: argument parsing, reading project files and writing outputs.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/project_file.h"
#include "text/file_io.h"

namespace kmr::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// A command line after the command's name: flags (--force, --json…), options with a value
// ("--disc FOLDER"), an optional "-o VALUE", and positional arguments. "--" ends the options.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::vector<std::string> flags;
    std::optional<std::string> output;
    std::vector<std::pair<std::string, std::string>> options;  // options that take a value, in order
    std::string error;                                         // not empty when the line is not of the command's form

    bool has(std::string_view flag) const;
    // The values given to an option, in order.
    std::vector<std::string> values(std::string_view option) const;
    // The value of an option given with a value; the last one when given twice.
    std::optional<std::string> value(std::string_view option) const;
};

// `valueOptions` take the next argument as their value, whatever it looks like.
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string_view>& allowedFlags,
                     bool allowOutput, const std::vector<std::string_view>& valueOptions = {});

// What a command accepts: its flags, whether it takes "-o", how many file names, and the form and
// message printed when the line does not fit.
struct CommandForm {
    std::vector<std::string_view> flags;
    bool output = false;
    std::size_t files = 1;
    std::string_view usage;         // "kmrc show [--force] FICHERO"
    std::string_view missingFiles;  // "se espera un fichero de proyecto"
};

// Parses a command's arguments against its form; on a usage error prints it with the form and sets
// `exitCode`.
std::optional<ParsedArgs> parseCommand(const std::vector<std::string>& args, const CommandForm& form, Streams io,
                                       int& exitCode);

// A command's arguments and the project file named first in them.
struct ProjectCommand {
    ParsedArgs args;
    ProjectReadResult read;
};

// Parses the arguments against the form, then reads the project named first (refusing a version
// mismatch unless --force). On failure prints why and sets `exitCode`.
std::optional<ProjectCommand> parseProjectCommand(const std::vector<std::string>& args, const CommandForm& form,
                                                  Streams io, int& exitCode);

// Reads a project file of either version. A version-2 file whose version is not "2.0" is refused
// unless `force`. On failure prints the reason and sets `exitCode`.
std::optional<ProjectReadResult> loadProject(const std::string& path, bool force, Streams io, int& exitCode);

// Says why an input could not be read and returns the exit code: kRefused for one above the size
// limit or when memory ran out, kFileError for the rest.
int readFailure(const io::IoResult& r, Streams io);

// Reads a whole file; on failure prints the reason and sets `exitCode`.
std::optional<std::string> readInput(const std::string& path, Streams io, int& exitCode);

// Writes bytes to a file safely, or to standard output when the path is "-". Returns the exit code;
// a failed file write is reported here, a failed standard output by runKmrc. A file that could only be
// overwritten in place is refused unless `options.inPlace` (--in-place).
int writeOutput(const std::string& path, std::string_view bytes, Streams io, io::WriteOptions options = {});
// The same for bytes made as they are written.
int writeOutput(const std::string& path, const io::ByteProducer& produce, Streams io, io::WriteOptions options = {});

// The flag that allows a write in place, and the options it gives.
inline constexpr std::string_view kInPlaceFlag = "--in-place";
io::WriteOptions writeOptions(const ParsedArgs& args);

// Whether the project holds a value of more than one line, which no file may hold: then says which
// and the command refuses to write (kRefused).
bool refuseLineBreaks(const Project& project, Streams io);

// Whether `path` is a project file: a regular file whose first line is a project's.
bool holdsProject(const std::string& path);
// Whether a command may write `path`: not when that would replace a project, unless `force`. Says why
// it may not.
bool mayReplace(const std::string& path, bool force, Streams io);

}  // namespace kmr::cli
