#pragma once
// What the kmrc commands share: argument parsing, reading project files and writing outputs.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project_file.h"

namespace kmr::cli {

struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// A command line after the command's name: flags (--force, --json…), an optional "-o VALUE", and
// positional arguments. "--" ends the options.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::vector<std::string> flags;
    std::optional<std::string> output;
    std::string error;  // not empty when the line is not of the command's form

    bool has(std::string_view flag) const;
};

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string_view>& allowedFlags,
                     bool allowOutput);

// Reads a project file of either version. A version-2 file whose version is not "2.0" is refused
// unless `force`. On failure prints the reason and sets `exitCode`.
std::optional<ProjectReadResult> loadProject(const std::string& path, bool force, Streams io, int& exitCode);

// Reads a whole file; on failure prints the reason and sets `exitCode`.
std::optional<std::string> readInput(const std::string& path, Streams io, int& exitCode);

// Writes bytes to a file safely, or to standard output when the path is "-". Returns the exit code.
int writeOutput(const std::string& path, std::string_view bytes, Streams io);

}  // namespace kmr::cli
