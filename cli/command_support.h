#pragma once
// What the kmrc commands share: reading project files and writing outputs.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "command_line.h"
#include "platform/file_write.h"
#include "project/project_file.h"

namespace kmr::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Reads a project file of either version. A version-2 file whose version is not "2.0" is refused
// unless `force`, saying what the file is when it holds no project at all (an autorun.inf, say). On
// failure prints the reason and sets `exitCode`.
[[nodiscard]] std::optional<ProjectReadResult> loadProject(const std::string& path, bool force, Streams io,
                                                           int& exitCode);

// Says why an input could not be read and returns the exit code: kRefused for one above the size
// limit or when memory ran out, kFileError for the rest.
[[nodiscard]] int readFailure(const io::IoResult& r, Streams io);

// Reads a whole file; on failure prints the reason and sets `exitCode`.
[[nodiscard]] std::optional<std::string> readInput(const std::string& path, Streams io, int& exitCode);

// Writes bytes to a file safely, or to standard output when the path is "-". Returns the exit code;
// a failed file write is reported here, a failed standard output by runKmrc. A file above the input
// limit is refused (kRefused) before the target is touched; a file that could only be overwritten in
// place is refused unless `options.inPlace` (--in-place).
[[nodiscard]] int writeOutput(const std::string& path, std::string_view bytes, Streams io,
                              io::WriteOptions options = {});
// The same for bytes made as they are written.
[[nodiscard]] int writeOutput(const std::string& path, const io::ByteProducer& produce, Streams io,
                              io::WriteOptions options = {});

// The flag that allows a write in place, and the options it gives.
inline constexpr std::string_view kInPlaceFlag = "--in-place";
[[nodiscard]] io::WriteOptions writeOptions(const ParsedArgs& args);

// Whether the project holds a value of more than one line, which no file may hold: then says which
// and the command refuses to write (kRefused).
[[nodiscard]] bool refuseLineBreaks(const Project& project, Streams io);

// Whether a command that reads `input` may write `output`: never when both lead to one file (the same
// name, a link, another letter case on Windows), whatever --force says. Says why it may not.
[[nodiscard]] bool distinctFromInput(const std::string& input, const std::string& output, Streams io);

// Whether `path` is a project file: a regular file whose first line is a project's.
[[nodiscard]] bool holdsProject(const std::string& path);
// Whether a command may write `path`: not when that would replace a project, unless `force`. Says why
// it may not.
[[nodiscard]] bool mayReplace(const std::string& path, bool force, Streams io);

}  // namespace kmr::cli
