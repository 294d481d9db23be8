#include "kmrc.h"

#include <new>
#include <ostream>
#include <string_view>

#include "command_line.h"
#include "command_support.h"
#include "help.h"

namespace kmr::cli {
namespace {

int runCommand(const std::vector<std::string>& args, Streams io, const KmrcSetup& setup) {
    std::ostream& out = io.out;
    std::ostream& err = io.err;
    if (args.empty()) {
        err << "kmrc: falta la orden (kmrc --help muestra la ayuda)\n";
        return kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << programHelpText();
        return kDone;
    }
    if (args[0] == "--version") {
        out << versionText();
        return kDone;
    }
    const Verb* verb = findVerb(args[0]);
    if (verb == nullptr) {
        err << "kmrc: orden desconocida: " << args[0] << " (kmrc --help muestra la ayuda)\n";
        return kUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    switch (helpRequest(*verb, rest)) {
        case HelpRequest::Help: out << commandHelpText(*verb); return kDone;
        case HelpRequest::Version: out << versionText(); return kDone;
        case HelpRequest::None: break;
    }
    const ParsedArgs parsed = parseVerbLine(*verb, rest);
    if (!parsed.error.empty()) return usageError(*verb, parsed.error, io);
    return verb->run(parsed, io, setup);
}

}  // namespace

int runKmrc(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            const KmrcSetup& setup) {
    int code = kDone;
    try {
        code = runCommand(args, {in, out, err}, setup);
    } catch (const std::bad_alloc&) {
        // What the command held is released by now, so the message can still be written.
        err << kOutOfMemory;
        return kRefused;
    }
    // Output that did not reach its destination is a failure, whatever the command made of it.
    out.flush();
    if (!out) {
        err << kStdoutFailed;
        return kFileError;
    }
    return code;
}

}  // namespace kmr::cli
