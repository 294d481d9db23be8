#include <ostream>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "commands.h"
#include "json.h"
#include "kmrc.h"
#include "text/text.h"

namespace kmr::cli {
namespace {

int usage(Streams io, const std::string& error, const char* form) {
    io.err << "kmrc: " << error << "\nuso: " << form << "\n";
    return kUsage;
}

}  // namespace

int compileCommand(const std::vector<std::string>& args, Streams io) {
    constexpr const char* kForm = "kmrc compile [--force] [--strict] PROYECTO [-o SALIDA|-]";
    const ParsedArgs p = parseArgs(args, {"--force", "--strict"}, true);
    if (!p.error.empty()) return usage(io, p.error, kForm);
    if (p.positional.size() != 1) return usage(io, "se espera un fichero de proyecto", kForm);
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    const std::vector<Finding> findings = checkConflicts(r->project);
    for (const Finding f : findings) io.err << findingText(f).title << "\n";
    if (!findings.empty() && p.has("--strict")) return kFindings;

    const std::string out = p.output.value_or(std::string(kAutorunFileName));
    if (out != "-" && !isAutorunFileName(out)) io.err << kFileNameWarning << "\n";
    code = writeOutput(out, text::encodeForFile(compileAutorun(r->project)), io);
    if (code == kDone && out != "-") io.err << kCompiledMessage << "\n";
    return code;
}

int checkCommand(const std::vector<std::string>& args, Streams io) {
    constexpr const char* kForm = "kmrc check [--force] [--explain] PROYECTO";
    const ParsedArgs p = parseArgs(args, {"--force", "--explain"}, false);
    if (!p.error.empty()) return usage(io, p.error, kForm);
    if (p.positional.size() != 1) return usage(io, "se espera un fichero de proyecto", kForm);
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    const std::vector<Finding> findings = checkConflicts(r->project);
    for (const Finding f : findings) {
        const FindingText& t = findingText(f);
        io.out << t.title << "\n";
        if (p.has("--explain")) io.out << t.explanation[0] << "\n" << t.explanation[1] << "\n";
    }
    return findings.empty() ? kDone : kFindings;
}

int importCommand(const std::vector<std::string>& args, Streams io) {
    constexpr const char* kForm = "kmrc import [--force] [--json] AUTORUN [-o PROYECTO]";
    const ParsedArgs p = parseArgs(args, {"--force", "--json"}, true);
    if (!p.error.empty()) return usage(io, p.error, kForm);
    if (p.positional.size() != 1) return usage(io, "se espera un fichero autorun", kForm);
    int code = kDone;
    const auto bytes = readInput(p.positional[0], io, code);
    if (!bytes) return code;
    const std::string content = text::decode(*bytes).text;
    if (!hasAutorunHeader(content) && !p.has("--force")) {
        io.err << "Encabezado incorrecto.\n";
        io.err << "kmrc: " << p.positional[0] << ": falta la línea [autorun] (use --force para seguir igualmente)\n";
        return kRefused;
    }
    const ImportResult imported = importAutorun(content);
    if (p.output) {
        code = writeOutput(*p.output, projectFileBytes(imported.project), io);
        if (code != kDone) return code;
    }
    if (p.has("--json")) {
        io.out << "{\n  \"format\": 2,\n  \"errors\": false,\n  \"objects\": " << jsonObjects(imported.project)
               << ",\n  \"unrecognised\": " << imported.unrecognised << "\n}\n";
    } else {
        io.err << importReportText(imported.unrecognised) << "\n";
    }
    return kDone;
}

}  // namespace kmr::cli
