#pragma once
// Reading an autorun file back into a project: what is recognised becomes objects, the rest is counted.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/io_result.h"
#include "project/project.h"
#include "text/text.h"

namespace kmr {

// The caption of a project window built by an import.
inline constexpr std::string_view kImportedCaption = "Fichero Importado";

// Texts of the import command: the missing file ("Error", error icon, OK), the header question
// ("Error", error icon, Yes and No) and the success notice ("Información", information icon, OK).
inline constexpr std::string_view kMissingFileMessage = "El fichero no existe.";
inline constexpr std::string_view kBadHeaderQuestion = "Encabezado incorrecto. ¿Desea continuar?";
inline constexpr std::string_view kImportedMessage = "El fichero se ha importado con éxito.";

// An autorun file's text, decoded to UTF-8: Windows-1252 unless a byte-order mark says otherwise, or
// unless the bytes are in a form that Windows would misread (text::guessUnmarkedForm): valid UTF-8
// beyond ASCII, UTF-16 without its mark or big-endian. Such a file is read in its own form and the
// user is told once (readingNotice). On failure the status tells a missing file (NotFound) from any
// other failure.
struct [[nodiscard]] AutorunSource : io::IoResult {
    std::string text;
    text::UnmarkedForm form = text::UnmarkedForm::Cp1252;  // Cp1252: read as Windows reads it
    // For UTF-8, the first word beyond ASCII as Windows would read it and as it was read.
    std::string windowsWord;
    std::string word;
};

AutorunSource readAutorunFile(const std::string& path);
// The same for the bytes of a file already read.
AutorunSource decodeAutorun(std::string_view bytes);

// The name of a form ("UTF-8", "UTF-16 big-endian"…), for messages.
std::string_view formName(text::UnmarkedForm form);

// What the user is told when a file was read otherwise than Windows would read it: "El fichero está en
// UTF-8, que Windows leería como «CanciÃ³n»; …". Empty when it was read as Windows reads it.
std::string readingNotice(const AutorunSource& source);

// True when the first line, A–Z folded but not trimmed, is exactly "[autorun]". Otherwise the
// command asks whether to go on.
bool hasAutorunHeader(std::string_view content);
// True when the text has a section [autorun] or [autorun.PLATFORM] (any letter case): an autorun file,
// whatever else it holds, rather than a project given by mistake.
bool looksLikeAutorun(std::string_view content);

// The first line as a message shows it: at most 60 characters (then "…"), a control character other
// than the tab as "?".
std::string firstLineShown(std::string_view content);

// The imported project and the number of lines (a menu's two lines count once) that gave nothing.
struct [[nodiscard]] ImportResult {
    Project project;
    std::size_t unrecognised = 0;
};

// Imports decoded text line by line (CR LF or LF end a line). The keys open, shellexecute, icon and
// label (the first run entry, icon and label win; blanks anywhere in a key are ignored and A–Z folded),
// shell (the default verb, for the menus that follow it) and menus given as a text line and a command
// line next to each other, in either order (blanks before a line's first '=' do not matter). Everything
// else is counted. The header line is not read; a first line that is not the header is read as an entry,
// but is dropped uncounted when nothing takes it.
ImportResult importAutorun(std::string_view content);

// How an import is made; the one-argument importAutorun above is the import without extras. With
// `keepExtras` (the default of these options, and of the editor and kmrc), the project also keeps in its disc settings
// every entry and line that made no object (see keepExtras in autorun/kept_entries.h); the objects and
// the count are the same either way. Without it, nothing but the objects is kept.
struct ImportOptions {
    bool keepExtras = true;
};
ImportResult importAutorun(std::string_view content, const ImportOptions& options);

// True when the text ends its lines with a lone CR only, which the importer does not take for a line
// end (only CR LF and LF end a line): the whole text is then one line. What kmrc says of such a file:
inline constexpr std::string_view kCrOnlyNote =
    "sus líneas terminan solo en CR (retorno de carro), que al importar no separa líneas (solo lo hacen CR LF y "
    "LF): todo el fichero se lee como una sola línea";
bool crOnlyLineEnds(std::string_view content);

// The closing message: the warning ("Atención", warning icon) with the count, or the success notice.
std::string importReportText(std::size_t unrecognised);

}  // namespace kmr
