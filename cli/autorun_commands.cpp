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

int compileCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    const std::vector<Finding> findings = checkConflicts(r->project);
    for (const Finding f : findings) io.err << findingText(f).title << "\n";
    if (!findings.empty() && p.has("--strict")) return kFindings;

    const std::string out = p.output().value_or(std::string(kAutorunFileName));
    if (!distinctFromInput(p.positional[0], out, io)) return kUsage;
    if (out != "-" && !mayReplace(out, p.has("--force"), io)) return kUsage;
    if (out != "-" && !isAutorunFileName(out)) io.err << kFileNameWarning << "\n";
    if (refuseLineBreaks(r->project, io)) return kRefused;
    code = writeOutput(
        out, [&](const auto& write) { autorunFileBytes(r->project, write); }, io, writeOptions(p));
    if (code == kDone && out != "-") io.err << kCompiledMessage << "\n";
    return code;
}

int importCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const std::optional<std::string> output = p.output();
    // Only the decoded text is kept: the file's bytes are gone before the import builds its project.
    const AutorunSource source = readAutorunFile(p.positional[0]);
    if (!source.ok()) {
        return readFailure(source, io);
    }
    const std::string& content = source.text;
    // Said once: a file in a form that Windows would misread was read in its own form.
    if (const std::string notice = readingNotice(source); !notice.empty()) io.err << notice << "\n";
    if (crOnlyLineEnds(content)) io.err << "kmrc: " << p.positional[0] << ": " << kCrOnlyNote << "\n";
    if (!hasAutorunHeader(content) && !p.has("--force")) {
        // What the first line is, rather than that it is missing: most files refused here have it, with a
        // blank after it or after a comment.
        io.err << "kmrc: " << p.positional[0] << ": "
               << (content.empty()
                       ? "el fichero está vacío"
                       : "la primera línea es «" + firstLineShown(content) + "» y no exactamente «[autorun]»")
               << "; use --force para importarlo igualmente\n";
        return kRefused;
    }
    if (output && !distinctFromInput(p.positional[0], *output, io)) return kUsage;
    if (output && !mayReplace(*output, p.has("--force"), io)) return kUsage;
    // --sin-extras: the objects alone, as the importer made them before it kept the other entries.
    const ImportResult imported = importAutorun(content, {.keepExtras = !p.has("--sin-extras")});
    // Values that no file can hold as they are, or that Windows would cut, are said at once.
    for (const disc::CheckItem& i : disc::checkValues(imported.project))
        io.err << i.title << ": " << text::trimLeftView(i.explanation[0]) << "\n";
    if (output) {
        if (refuseLineBreaks(imported.project, io)) return kRefused;
        code = writeOutput(
            *output, [&](const auto& write) { projectFileBytes(imported.project, write); }, io, writeOptions(p));
        if (code != kDone) return code;
    }
    if (p.has("--json")) {
        writeJsonProject(io.out, 2, false, imported.project, imported.unrecognised);
    } else {
        io.err << importReportText(imported.unrecognised) << "\n";
        if (!output) io.err << "kmrc: no se ha guardado nada (-o PROYECTO lo guarda, --json lo muestra)\n";
    }
    return kDone;
}

}  // namespace kmr::cli
