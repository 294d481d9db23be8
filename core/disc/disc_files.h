#pragma once
// Files of a disc as Windows looks them up: relative to the root of the disc, letter case ignored;
// and the parts of autorun values that name files (the program of a command, the file and number of
// an icon, absolute paths).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kmr::disc {

// The folder whose contents will be burnt, seen as the root of the disc.
class DiscFolder {
public:
    explicit DiscFolder(std::string root) : m_root(std::move(root)) {}

    const std::string& root() const { return m_root; }
    bool exists() const;
    // Why a folder that exists cannot be listed or entered (its permissions), in Spanish, naming it;
    // empty when it can, or when it is not there. Such a folder is an error of its own: looking files
    // up in it would report every one of them missing.
    std::string readError() const;

    // The path on this machine of the file that a path on the disc names: '\' and '/' separate
    // folders, a leading separator is the root, "." and ".." are followed without leaving the disc,
    // and names match with A–Z folded (an exact match wins). Empty when no file is there.
    std::optional<std::string> find(std::string_view discPath) const;
    // The same for a folder; the root itself for "\" or an empty path.
    std::optional<std::string> findFolder(std::string_view discPath) const;

    // What stood in the way of the lookups so far, in Spanish and naming it (as readError does): a
    // folder on the way that could not be read where the name was not found (the file may be there),
    // or a file found that is no regular file (a FIFO, a device, a socket, or a link to one), which
    // reading could wait on for ever. Empty while nothing did; the first one is kept.
    const std::string& problem() const { return m_problem; }

private:
    std::optional<std::filesystem::path> findEntry(const std::filesystem::path& folder, const std::string& name) const;

    std::string m_root;
    mutable std::string m_problem;
};

// True when the path (links followed) is a regular file: never a FIFO, a device or a socket.
bool isRegularFile(const std::string& path);
// The problem of a file that is no regular file, naming it.
std::string notARegularFile(const std::string& path);

// The disc folder a project names, on this machine: a relative folder is taken from the folder of
// the project file, so that a project and its disc can move together.
std::string resolveDiscFolder(std::string_view projectPath, std::string_view folder);

// The autorun.inf at the root of a disc folder: the one already there, in whatever letter case, or
// "autorun.inf" in the folder. Where "Compilar" proposes to write and the ISO image is compiled to.
std::string autorunPathIn(const std::string& folder);

// The file names a command line may start with, in the order Windows tries them: the quoted part of
// a command that begins with a quote; otherwise the text up to each blank in turn and then the whole
// text ("setup", "setup de", "setup de prueba.exe"). Blanks at either end are dropped first.
std::vector<std::string> programCandidates(std::string_view command);

// A program name Windows finds among its own programs (explorer, notepad.exe, cmd…), compared
// with A–Z folded; only a bare name, without any folder, counts.
bool isSystemProgram(std::string_view name);

// An order that the command interpreter carries out itself (start, dir, copy…), compared with A–Z
// folded; only the bare word counts ("start.exe" would be a program of that name).
bool isInterpreterCommand(std::string_view name);

// What a file name is by its extension, as Windows starts it.
enum class FileRole {
    Program,   // .exe, .com, .bat, .cmd, .pif, .scr, or no extension (".exe" is tried)
    Document,  // any other extension
    WebPage,   // an address (http:, https:, ftp:, www., mailto:)
};
FileRole roleOf(std::string_view name);

// True when the text starts with an Internet address, not a file.
bool isAddress(std::string_view value);

// The first absolute path in a value: a drive path ("C:\", "d:/") or a network path ("\\server")
// at the start or after a blank, a quote, '=' or ','. The path found (up to the closing quote when
// it is quoted, else up to a blank, quote or comma), or empty.
std::string absolutePathIn(std::string_view value);

// "file[,number]" of an icon entry. The number is the text after the last comma when that is a
// whole number; otherwise the whole value is the file and the number is 0. Blanks and one pair of
// enclosing double quotes around the file are dropped.
struct IconReference {
    std::string file;
    int number = 0;
};
IconReference parseIconReference(std::string_view value);

}  // namespace kmr::disc
