#pragma once
// A verb's command line, read against the verb's description (verb.h).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "verb.h"

namespace kmr::cli {

struct Streams;

// The arguments after a verb's name, sorted into its options and its other arguments.
struct [[nodiscard]] ParsedArgs {
    const Verb* verb = nullptr;
    std::vector<std::string> positional;
    // Every option given, in order, by its name in the verb's description; a flag's value is empty.
    std::vector<std::pair<std::string_view, std::string>> given;
    std::string error;  // not empty when the line is not of the verb's form

    // Options are asked for by their name ("--disc"); one the verb does not have was not given.
    bool has(std::string_view option) const;
    // The values given to an option, in order.
    std::vector<std::string> values(std::string_view option) const;
    // The value of an option; the last one when given more than once.
    std::optional<std::string> value(std::string_view option) const;
    // The value of the verb's output option (-o).
    std::optional<std::string> output() const;
};

// Reads the arguments after the verb's name. An option that takes a value takes the next argument,
// whatever it looks like; "--" ends the options, and "-" or an empty argument is not one. Then the
// line as a whole: as many arguments as the verb takes, its required options, its Once options of
// the line given once, and each option given with the one it needs, in that order.
ParsedArgs parseVerbLine(const Verb& verb, const std::vector<std::string>& args);

// Says which Once option of `group` was given more than once (the first in the verb's order), or
// nothing.
[[nodiscard]] std::string repeatedOption(const ParsedArgs& args, OptionGroup group);

// What a usage error prints after "uso: ": "kmrc " and the verb's synopsis.
[[nodiscard]] std::string usageLine(const Verb& verb);

// Prints "kmrc: MESSAGE" and the usage line of the verb, and returns the exit code of a usage error.
[[nodiscard]] int usageError(const Verb& verb, std::string_view message, Streams io);
[[nodiscard]] int usageError(const ParsedArgs& args, std::string_view message, Streams io);

}  // namespace kmr::cli
