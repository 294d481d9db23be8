#pragma once
// kmrc's help: one table per command, from which `kmrc --help`, `kmrc ORDEN --help` and the usage
// lines are printed. The manual page and the help page are checked against these tables.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::cli {

// The widest line the help prints.
inline constexpr std::size_t kHelpColumns = 80;

// One option of a command: its form as the synopsis writes it ("--disc CARPETA": it takes a value)
// and what it does.
struct HelpOption {
    std::string_view form;
    std::string_view text;
};

// One command: its synopsis after "kmrc " (options in brackets when optional), what it does (a
// paragraph per entry, wrapped when printed) and its options.
struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;
    std::span<const HelpOption> options;
    std::span<const std::string_view> text;
};

struct ExitCodeHelp {
    int code;
    std::string_view text;
};

// Every command, in the order the help lists them, and the exit codes.
std::span<const CommandHelp> commandHelp();
std::span<const ExitCodeHelp> exitCodeHelp();
const CommandHelp* findCommandHelp(std::string_view name);

// The option's name: "--disc" for "--disc CARPETA".
std::string_view optionName(const HelpOption& option);
// Whether the option takes the next argument as its value.
bool optionTakesValue(const HelpOption& option);

// `kmrc --help`, `kmrc ORDEN --help` and `kmrc --version`.
std::string programHelpText();
std::string commandHelpText(const CommandHelp& command);
std::string versionText();

// What the arguments after a command's name ask for before anything else: its help (--help, -h),
// the version (--version), or neither. Values of the command's options and what follows "--" are
// not options.
enum class HelpRequest { None, Help, Version };
HelpRequest helpRequest(const CommandHelp& command, const std::vector<std::string>& args);

// Text wrapped at `columns` (counted in characters, not bytes), each line after `indent` blanks;
// words longer than a line stand alone.
std::string wrapText(std::string_view text, std::size_t indent, std::size_t columns = kHelpColumns);

}  // namespace kmr::cli
