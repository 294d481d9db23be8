#pragma once
// What kmrc knows of a verb, declared once in verbs.cpp: its options with their argument names, its
// arguments, what it does and examples. The parser, `--help`, the usage lines of usage errors and the
// verb sections of the manual page and of the help page are all made from it.

#include <span>
#include <string_view>

namespace kmr::cli {

struct ParsedArgs;
struct Streams;
struct KmrcSetup;

// How often an option may be given.
enum class Repeat {
    LastCounts,  // again and again; the last one counts
    Once,        // a second one is a usage error
    Each,        // every one counts ("..." after it in the synopsis)
};

// When a repeated Once option is refused: with the rest of the line, or only when the options of
// its group are applied (kmrc new refuses a wrong template or menu before a repeated disc entry).
enum class OptionGroup { Line, DiscEntries };

// One option: its form as the synopsis writes it ("--disc CARPETA": a name and, when it takes the
// next argument as its value, the value's name) and what it does.
struct VerbOption {
    std::string_view form;
    std::string_view text;
    Repeat repeat = Repeat::LastCounts;
    // The option it goes with: refused without it, and written inside its brackets in the synopsis.
    std::string_view needs = {};
    OptionGroup group = OptionGroup::Line;
    // The file the verb writes ("-o"): it follows the arguments in the synopsis, and a missing value
    // is a missing file.
    bool output = false;
    // "-" stands for the standard stream ("SALIDA|-" in the synopsis).
    bool dash = false;
    bool required = false;
    // What a usage error says when a required option is missing; "falta " and the form when empty.
    std::string_view whenMissing = {};
};

// One argument that is not an option, by the name the synopsis gives it.
struct VerbArgument {
    std::string_view name;
};

// A help page of the user guide that says more, and the text of its link.
struct VerbLink {
    std::string_view page;
    std::string_view text;
};

// What a verb does once its line has been parsed: the exit code.
using VerbRun = int (*)(const ParsedArgs& args, Streams io, const KmrcSetup& setup);

struct Verb {
    std::string_view name;
    std::span<const VerbArgument> arguments = {};
    std::span<const VerbOption> options = {};
    std::span<const std::string_view> text = {};  // one paragraph an entry, wrapped when printed
    // Lines after "kmrc NAME " that show the verb at work; each one parses as a line of the verb.
    std::span<const std::string_view> examples = {};
    std::span<const VerbLink> links = {};
    VerbRun run = nullptr;
    // What a usage error says when the arguments are not as many as the verb takes; when empty, the
    // first one too many or the name of the first one missing.
    std::string_view wrongArguments = {};
    // What a usage error prints after "uso: kmrc " when it differs from the synopsis.
    std::string_view errorSynopsis = {};
};

struct ExitCodeHelp {
    int code;
    std::string_view text;
};

// Every verb, in the order the help lists them, and the exit codes.
std::span<const Verb> verbs();
const Verb* findVerb(std::string_view name);
std::span<const ExitCodeHelp> exitCodeHelp();

// The option's name ("--disc" for "--disc CARPETA") and its value's name (empty for a flag).
std::string_view optionName(const VerbOption& option);
std::string_view optionArgument(const VerbOption& option);
// Whether the option takes the next argument as its value.
bool optionTakesValue(const VerbOption& option);
const VerbOption* findOption(const Verb& verb, std::string_view name);

}  // namespace kmr::cli
