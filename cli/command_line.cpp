#include "command_line.h"

#include <algorithm>
#include <ostream>

#include "command_support.h"
#include "help.h"
#include "kmrc.h"

namespace kmr::cli {
namespace {

std::string missingValue(const VerbOption& o) {
    return std::string(o.output ? "falta el fichero tras " : "falta el valor tras ") + std::string(optionName(o));
}

std::string wrongArguments(const Verb& verb, const std::vector<std::string>& positional) {
    if (!verb.wrongArguments.empty()) return std::string(verb.wrongArguments);
    if (positional.size() > verb.arguments.size()) return "argumento de más: " + positional[verb.arguments.size()];
    return "falta " + std::string(verb.arguments[positional.size()].name);
}

// The first thing wrong with a line whose every option is known.
std::string lineError(const ParsedArgs& p) {
    const Verb& verb = *p.verb;
    if (p.positional.size() != verb.arguments.size()) return wrongArguments(verb, p.positional);
    for (const VerbOption& o : verb.options) {
        if (o.required && !p.has(optionName(o))) {
            return o.whenMissing.empty() ? "falta " + std::string(o.form) : std::string(o.whenMissing);
        }
    }
    if (std::string repeated = repeatedOption(p, OptionGroup::Line); !repeated.empty()) return repeated;
    for (const VerbOption& o : verb.options) {
        if (!o.needs.empty() && p.has(optionName(o)) && !p.has(o.needs)) {
            return std::string(optionName(o)) + " va con " + std::string(o.needs);
        }
    }
    return {};
}

}  // namespace

bool ParsedArgs::has(std::string_view option) const {
    return std::any_of(given.begin(), given.end(), [&](const auto& g) { return g.first == option; });
}

std::vector<std::string> ParsedArgs::values(std::string_view option) const {
    std::vector<std::string> out;
    for (const auto& [name, value] : given) {
        if (name == option) out.push_back(value);
    }
    return out;
}

std::optional<std::string> ParsedArgs::value(std::string_view option) const {
    for (auto it = given.rbegin(); it != given.rend(); ++it) {
        if (it->first == option) return it->second;
    }
    return std::nullopt;
}

std::optional<std::string> ParsedArgs::output() const {
    const auto o =
        std::find_if(verb->options.begin(), verb->options.end(), [](const VerbOption& o) { return o.output; });
    return o == verb->options.end() ? std::nullopt : value(optionName(*o));
}

ParsedArgs parseVerbLine(const Verb& verb, const std::vector<std::string>& args) {
    ParsedArgs p;
    p.verb = &verb;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            p.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const VerbOption* o = findOption(verb, a);
        if (o == nullptr) {
            p.error = "opción desconocida: " + a;
            return p;
        }
        if (!optionTakesValue(*o)) {
            p.given.emplace_back(optionName(*o), std::string());
        } else if (i + 1 < args.size()) {
            p.given.emplace_back(optionName(*o), args[++i]);
        } else {
            p.error = missingValue(*o);
            return p;
        }
    }
    p.error = lineError(p);
    return p;
}

std::string repeatedOption(const ParsedArgs& p, OptionGroup group) {
    for (const VerbOption& o : p.verb->options) {
        if (o.repeat == Repeat::Once && o.group == group && p.values(optionName(o)).size() > 1) {
            return std::string(optionName(o)) + " se da más de una vez";
        }
    }
    return {};
}

std::string usageLine(const Verb& verb) {
    return "kmrc " + (verb.errorSynopsis.empty() ? synopsis(verb) : std::string(verb.errorSynopsis));
}

int usageError(const Verb& verb, std::string_view message, Streams io) {
    io.err << "kmrc: " << message << "\nuso: " << usageLine(verb) << "\n";
    return kUsage;
}

int usageError(const ParsedArgs& args, std::string_view message, Streams io) {
    return usageError(*args.verb, message, io);
}

}  // namespace kmr::cli
