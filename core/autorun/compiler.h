#pragma once
// Compiling a project into the text of autorun.inf, and writing that file.

#include <cstddef>
#include <string>
#include <string_view>

#include "project/project.h"
#include "text/file_io.h"

namespace kmr {

inline constexpr std::string_view kAutorunFileName = "autorun.inf";

// Texts of the compile command ("Atención" with a warning icon, except the success notice, which is
// "Información" with an information icon).
inline constexpr std::string_view kOverwriteQuestion = "El fichero ya existe. ¿Desea sobreescribir?";
inline constexpr std::string_view kFileNameWarning = "Guardar con este nombre podría inutilizar el fichero.";
inline constexpr std::string_view kCompiledMessage = "El fichero ha sido compilado con éxito.";

// Why a project cannot be compiled. Values are written as they stand, so a few characters would
// change what the disc reads rather than just what it shows.
enum class CompileStatus {
    Ok,
    LineBreakInValue,  // a carriage return or line feed would start a line of its own
    BadMenuName,       // '=' or '\' in an internal name would make the disc read another key
};

// The compiled text, or the first object that cannot be written.
struct CompileResult {
    CompileStatus status = CompileStatus::Ok;
    std::size_t objectIndex = 0;  // the refused object, when status is not Ok
    std::string text;             // UTF-8, every line ended by CR LF; empty when refused
    bool ok() const { return status == CompileStatus::Ok; }
};

// The [autorun] section of the project, its objects in list order.
CompileResult compileAutorun(const Project& project);

// The message ("Atención", warning icon) for a refused compilation.
std::string compileRefusalMessage(const CompileResult& result, const Project& project);

// Outcome of writing an autorun file: refused before anything was written, failed on disk (the
// message names the file and the system's reason; an existing file is left whole), or done.
struct AutorunWriteResult {
    CompileStatus compile = CompileStatus::Ok;
    std::size_t objectIndex = 0;
    io::IoResult io;
    bool ok() const { return compile == CompileStatus::Ok && io.ok(); }
};

// Compiles the project and replaces the file with it: Windows-1252 bytes, or UTF-16 LE with its mark
// when some character has no Windows-1252 byte.
AutorunWriteResult writeAutorunFile(const std::string& path, const Project& project);

// True when the path's file name, A–Z folded, is "autorun.inf"; any other name only earns a warning.
bool isAutorunFileName(std::string_view path);

}  // namespace kmr
