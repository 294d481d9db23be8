#include <ostream>

#include "commands.h"
#include "json.h"
#include "kmrc.h"

namespace kmr::cli {

int showCommand(const std::vector<std::string>& args, Streams io) {
    static const CommandForm kForm{
        {"--force"}, false, 1, "kmrc show [--force] FICHERO", "se espera un fichero de proyecto"};
    int code = kDone;
    const auto c = parseProjectCommand(args, kForm, io, code);
    if (!c) return code;
    const ProjectReadResult& r = c->read;
    writeJsonProject(io.out, r.format == ProjectFormat::Version1 ? 1 : 2, r.errors, r.project);
    return kDone;
}

int convertCommand(const std::vector<std::string>& args, Streams io) {
    static const CommandForm kForm{{"--force", kInPlaceFlag},
                                   false,
                                   2,
                                   "kmrc convert [--force] [--in-place] ENTRADA SALIDA",
                                   "se esperan un fichero de entrada y uno de salida"};
    int code = kDone;
    const auto c = parseProjectCommand(args, kForm, io, code);
    if (!c) return code;
    const ParsedArgs& p = c->args;
    const ProjectReadResult& r = c->read;
    if (!mayReplace(p.positional[1], p.has("--force"), io)) return kUsage;
    if (refuseLineBreaks(r.project, io)) return kRefused;
    return writeOutput(
        p.positional[1], [&](const auto& write) { projectFileBytes(r.project, write); }, io, writeOptions(p));
}

}  // namespace kmr::cli
