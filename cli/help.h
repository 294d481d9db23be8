#pragma once
// kmrc's help: `kmrc --help`, `kmrc VERB --help` and the synopses of the usage lines, all written from
// the verbs' descriptions (verbs.cpp). The manual page and the help page take theirs from there too
// (manual.h).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "verb.h"

namespace kmr::cli {

// The widest line the help prints.
inline constexpr std::size_t kHelpColumns = 80;

// An option as the help lists it: its form and what it does.
using HelpOption = VerbOption;

// A verb as its help shows it, with its synopsis written out.
struct CommandHelp {
    std::string_view name;
    std::string synopsis;  // after "kmrc "
    std::span<const HelpOption> options;
    const Verb* verb;
};

// Every verb, in the order of verbs().
std::span<const CommandHelp> commandHelp();

// The synopsis after "kmrc ", as pieces that a line never breaks ("[--disc CARPETA]", "PROYECTO",
// "-o IMAGEN.iso"): the options in the verb's order, in brackets unless required, one that needs
// another inside the other's brackets and "..." after one given again and again; then the
// arguments; then the output option.
std::vector<std::string> synopsisPieces(const Verb& verb);
// The pieces on one line.
std::string synopsis(const Verb& verb);

// `kmrc --help`, `kmrc VERB --help` and `kmrc --version`.
std::string programHelpText();
std::string commandHelpText(const Verb& verb);
std::string versionText();

// What the arguments after a verb's name ask for before anything else: its help (--help, -h), the
// version (--version), or neither. Values of the verb's options and what follows "--" are not
// options.
enum class [[nodiscard]] HelpRequest{None, Help, Version};
HelpRequest helpRequest(const Verb& verb, const std::vector<std::string>& args);

// Text wrapped at `columns` (counted in characters, not bytes), each line after `indent` blanks;
// words longer than a line stand alone.
std::string wrapText(std::string_view text, std::size_t indent, std::size_t columns = kHelpColumns);
// Characters of UTF-8 text.
std::size_t columnsOf(std::string_view text);

}  // namespace kmr::cli
