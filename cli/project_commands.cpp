#include <ostream>

#include "commands.h"
#include "json.h"
#include "kmrc.h"

namespace kmr::cli {
namespace {

int usage(Streams io, const std::string& error, const char* form) {
    io.err << "kmrc: " << error << "\nuso: " << form << "\n";
    return kUsage;
}

}  // namespace

int showCommand(const std::vector<std::string>& args, Streams io) {
    constexpr const char* kForm = "kmrc show [--force] FICHERO";
    const ParsedArgs p = parseArgs(args, {"--force"}, false);
    if (!p.error.empty()) return usage(io, p.error, kForm);
    if (p.positional.size() != 1) return usage(io, "se espera un fichero de proyecto", kForm);
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    io.out << "{\n  \"format\": " << (r->format == ProjectFormat::Version1 ? 1 : 2)
           << ",\n  \"errors\": " << (r->errors ? "true" : "false") << ",\n  \"objects\": " << jsonObjects(r->project)
           << "\n}\n";
    return kDone;
}

int convertCommand(const std::vector<std::string>& args, Streams io) {
    constexpr const char* kForm = "kmrc convert [--force] ENTRADA SALIDA";
    const ParsedArgs p = parseArgs(args, {"--force"}, false);
    if (!p.error.empty()) return usage(io, p.error, kForm);
    if (p.positional.size() != 2) return usage(io, "se esperan un fichero de entrada y uno de salida", kForm);
    int code = kDone;
    const auto r = loadProject(p.positional[0], p.has("--force"), io, code);
    if (!r) return code;
    return writeOutput(p.positional[1], projectFileBytes(r->project), io);
}

}  // namespace kmr::cli
