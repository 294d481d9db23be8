#include <ostream>

#include "autorun/compiler.h"
#include "autorun/conflicts.h"
#include "autorun/importer.h"
#include "commands.h"
#include "disc/settings_check.h"
#include "json.h"
#include "kmrc.h"
#include "text/text.h"

namespace kmr::cli {

int compileCommand(const std::vector<std::string>& args, Streams io) {
    static const CommandForm kForm{{"--force", "--strict", kInPlaceFlag},
                                   true,
                                   1,
                                   "kmrc compile [--force] [--strict] [--in-place] PROYECTO [-o SALIDA|-]",
                                   "se espera un fichero de proyecto"};
    int code = kDone;
    const auto c = parseProjectCommand(args, kForm, io, code);
    if (!c) return code;
    const ParsedArgs& p = c->args;
    const ProjectReadResult& r = c->read;
    const std::vector<Finding> findings = checkConflicts(r.project);
    for (const Finding f : findings) io.err << findingText(f).title << "\n";
    if (!findings.empty() && p.has("--strict")) return kFindings;

    const std::string out = p.output.value_or(std::string(kAutorunFileName));
    if (out != "-" && !mayReplace(out, p.has("--force"), io)) return kUsage;
    if (out != "-" && !isAutorunFileName(out)) io.err << kFileNameWarning << "\n";
    if (refuseLineBreaks(r.project, io)) return kRefused;
    code = writeOutput(
        out, [&](const auto& write) { autorunFileBytes(r.project, write); }, io, writeOptions(p));
    if (code == kDone && out != "-") io.err << kCompiledMessage << "\n";
    return code;
}

int importCommand(const std::vector<std::string>& args, Streams io) {
    static const CommandForm kForm{{"--force", "--json", "--sin-extras", kInPlaceFlag},
                                   true,
                                   1,
                                   "kmrc import [--force] [--json] [--sin-extras] [--in-place] AUTORUN [-o PROYECTO]",
                                   "se espera un fichero autorun"};
    int code = kDone;
    const auto p = parseCommand(args, kForm, io, code);
    if (!p) return code;
    // Only the decoded text is kept: the file's bytes are gone before the import builds its project.
    const AutorunSource source = readAutorunFile(p->positional[0]);
    if (!source.ok()) {
        return readFailure(source, io);
    }
    const std::string& content = source.text;
    if (crOnlyLineEnds(content)) io.err << "kmrc: " << p->positional[0] << ": " << kCrOnlyNote << "\n";
    if (!hasAutorunHeader(content) && !p->has("--force")) {
        io.err << "kmrc: " << p->positional[0] << ": falta la línea [autorun] (use --force para seguir igualmente)\n";
        return kRefused;
    }
    if (p->output && !mayReplace(*p->output, p->has("--force"), io)) return kUsage;
    // --sin-extras: the objects alone, as the importer made them before it kept the other entries.
    const ImportResult imported = importAutorun(content, {.keepExtras = !p->has("--sin-extras")});
    // Values that no file can hold as they are, or that Windows would cut, are said at once.
    for (const disc::CheckItem& i : disc::checkValues(imported.project))
        io.err << i.title << ": " << text::trimLeftView(i.explanation[0]) << "\n";
    if (p->output) {
        if (refuseLineBreaks(imported.project, io)) return kRefused;
        code = writeOutput(
            *p->output, [&](const auto& write) { projectFileBytes(imported.project, write); }, io, writeOptions(*p));
        if (code != kDone) return code;
    }
    if (p->has("--json")) {
        writeJsonProject(io.out, 2, false, imported.project, imported.unrecognised);
    } else {
        io.err << importReportText(imported.unrecognised) << "\n";
        if (!p->output) io.err << "kmrc: no se ha guardado nada (-o PROYECTO lo guarda, --json lo muestra)\n";
    }
    return kDone;
}

}  // namespace kmr::cli
