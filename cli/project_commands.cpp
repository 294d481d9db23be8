#include <ostream>

#include "commands.h"
#include "json.h"
#include "kmrc.h"

namespace kmr::cli {

int showCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    writeJsonProject(io.out, r->format == ProjectFormat::Version1 ? 1 : 2, r->errors, r->project);
    return kDone;
}

int convertCommand(const ParsedArgs& p, Streams io, const KmrcSetup&) {
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    if (!distinctFromInput(p.positional[0], p.positional[1], io)) return kUsage;
    if (!mayReplace(p.positional[1], p.has("--force"), io)) return kUsage;
    if (refuseLineBreaks(r->project, io)) return kRefused;
    return writeOutput(
        p.positional[1], [&](const auto& write) { projectFileBytes(r->project, write); }, io, writeOptions(p));
}

}  // namespace kmr::cli
