#pragma once
// The check of a project against the folder that will be burnt: the six conflict findings first,
// unchanged, then what only the disc's contents can tell (files that are not there, documents
// started as programs, orders of the command interpreter started as programs, icons that Windows cannot show, menu
// names that clash, entries a USB drive ignores, an autorun.inf that is not the project's or that
// Windows will misread).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "disc/pe_icons.h"
#include "project/project.h"

namespace kmr::disc {

// The disc findings, in the fixed order in which a report lists them, after the conflict findings.
enum class DiscFinding {
    FolderMissing,       // the disc folder is not there
    MissingFile,         // a run entry, icon or menu command names a file the disc does not hold
    AbsolutePath,        // a drive or network path inside a value
    DocumentAsProgram,   // a document or web page started as a program
    InterpreterCommand,  // a command that begins with an order of the command interpreter (start, dir…)
    NotAnIcon,           // the icon file is neither an icon, a program nor a library
    UnreadableIcon,      // a program whose icons cannot be read
    IconNumberPastEnd,   // the icon number picks no icon of the file
    MenuNamesClash,      // menu internal names that differ only in letter case
    BadMenuName,         // an internal name that breaks the shell\NAME\command key
    BlanksDropped,       // blanks at either end of a value, which Windows drops
    AutorunDiffers,      // the folder's autorun.inf is not what the project compiles to
    AutorunMisread,      // the folder's autorun.inf is in a form Windows misreads (UTF-8 without a mark…)
    UsbIgnoresEntries,   // on a USB drive Windows runs nothing from autorun.inf
};

// One line of a report: a conflict finding or a disc finding about one object.
struct CheckItem {
    std::string_view key;  // a stable name for scripts ("missing-file", "no-resource"…)
    std::string_view title;
    int image = 0;                           // index in the shared image list: 29 warning, 28 information
    std::array<std::string, 2> explanation;  // each line begins with two blanks
};

// The key scripts see for each finding.
std::string_view findingKey(DiscFinding finding);
// Title and picture of a disc finding.
std::string_view findingTitle(DiscFinding finding);
int findingImage(DiscFinding finding);

// The disc findings alone, in their order; within one finding, in the order of the objects. An
// empty project raises none.
std::vector<CheckItem> checkDisc(const Project& project, const DiscTarget& disc);

// The six conflict findings of the project as report lines.
std::vector<CheckItem> conflictItems(const Project& project);

// The report of "Comprobar disco...": the conflict findings of the project, exactly as the compile
// command shows them, then the disc findings, then those of the disc settings (disc/settings_check.h).
std::vector<CheckItem> checkProjectOnDisc(const Project& project, const DiscTarget& disc);

// Why the disc folder cannot be checked, previewed or made into an image, in Spanish and naming the
// folder or the file; empty when it can (or when there is no such folder, which the check reports):
// the folder cannot be read, a folder on the way to a file the project names cannot be read (looking
// the file up would call it missing), or a file the project names (autorun.inf, the icon, a program, a
// settings' file or folder) is a FIFO, a device or a socket, or a link to one. Reads no file.
std::string discProblem(const Project& project, const DiscTarget& disc);

// The icon the project shows for the disc, read from the disc folder, for a preview. When `ico` is
// empty, `reason` says in Spanish why the standard CD picture is shown instead.
struct DiscIcon {
    std::string ico;
    std::string reason;
    std::string path;  // the file on this machine, when found
};
DiscIcon discIcon(const Project& project, const DiscTarget& disc);

}  // namespace kmr::disc
