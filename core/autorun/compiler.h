#pragma once
// Compiling a project into the text of autorun.inf, and writing that file.

#include <functional>
#include <string>
#include <string_view>

#include "platform/file_write.h"
#include "project/project.h"

namespace kmr {

inline constexpr std::string_view kAutorunFileName = "autorun.inf";

// Texts of the compile command ("Atención" with a warning icon, except the success notice, which is
// "Información" with an information icon).
inline constexpr std::string_view kOverwriteQuestion = "El fichero ya existe. ¿Desea sobreescribir?";
inline constexpr std::string_view kFileNameWarning = "Guardar con este nombre podría inutilizar el fichero.";
inline constexpr std::string_view kCompiledMessage = "El fichero ha sido compilado con éxito.";

// The [autorun] section of the project: its objects in list order, every value exactly as it stands,
// every line (the last one too) ended by CR LF. UTF-8; text::encodeForFile gives the file's bytes.
std::string compileAutorun(const Project& project);
// The same text handed to `sink` in pieces of whole lines; it stops when the sink returns false.
void compileAutorun(const Project& project, const std::function<bool(std::string_view)>& sink);
// The file's bytes (text::encodeForFile of the compiled text) handed to `write` in pieces.
void autorunFileBytes(const Project& project, const std::function<bool(std::string_view)>& write);
// The same bytes, made in one buffer.
std::string autorunFileBytes(const Project& project);

// Compiles the project and replaces the file with it: Windows-1252 bytes, or UTF-16 LE with its mark
// when some character has no Windows-1252 byte. A failure names the file and the system's reason and
// leaves an existing file whole; a file above the input limit, or a project holding a value of more than
// one line, is refused before anything is written.
io::IoResult writeAutorunFile(const std::string& path, const Project& project, io::WriteOptions options = {});

// True when the path's file name, A–Z folded, is "autorun.inf"; any other name only earns a warning.
bool isAutorunFileName(std::string_view path);

}  // namespace kmr
