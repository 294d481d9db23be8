#pragma once
// What one Windows does with the disc on one drive, worked out from the rules of disc/windows_rules.h:
// what inserting it does, the drive as the file manager shows it, a double click on it and its context
// menu, each with the pages it comes from. The editor's "Vista previa del disco" draws it; kmrc
// preview writes it.

#include <string>
#include <vector>

#include "disc/disc_view.h"
#include "disc/windows_rules.h"
#include "project/project.h"

namespace kmr::disc {

// One choice of the AutoPlay window or panel.
struct AutoPlayEntry {
    std::string text;
    std::string detail;     // what it is, in a second line
    bool fromDisc = false;  // the disc's program rather than a program of the computer
};

enum class Arrival {
    RunsProgram,   // the program starts at once
    AutoPlay,      // the choices of AutoPlay
    Undocumented,  // what happens is not documented
};

struct InsertionView {
    Arrival arrival = Arrival::Undocumented;
    std::string summary;
    Effect presentation = Effect::Window;  // Window or Panel, for the AutoPlay choices
    std::vector<AutoPlayEntry> entries;
    std::vector<std::string> notes;  // what else the rules say of this project, one sentence each
    std::vector<Source> sources;
};

struct DriveView {
    std::string label;
    std::string icon;        // the project's icon entry ("disco.ico,1"); empty when it names none
    std::vector<int> sizes;  // the sizes the file manager shows the icon at, smallest first
    std::vector<Source> sources;
};

struct DoubleClickView {
    bool documented = false;
    std::string text;
    std::vector<Source> sources;
};

struct ContextMenuView {
    bool documented = false;
    std::vector<MenuEntry> entries;
    std::vector<Source> sources;
};

struct DiscPreview {
    WindowsVersion version = WindowsVersion::Win8to11;
    DriveType drive = DriveType::CdDvd;
    InsertionView insertion;
    DriveView driveView;
    DoubleClickView doubleClick;
    ContextMenuView menu;
};

// The preview of the project's disc, whose files are in `folder` (resolved on this machine; empty
// when none is named), on `version` and `drive`.
DiscPreview previewDisc(const Project& project, const std::string& folder, WindowsVersion version, DriveType drive);

// What every Windows does not do with the project's program and menus on a drive that is not a CD or
// DVD, as one or two sentences: the program not offered, the menus' fate undocumented. Empty when the
// rules say nothing of the kind for that drive or the project has neither. The disc check's finding
// on a USB drive.
std::string entriesNotRunOn(const Project& project, DriveType drive);

// How a sentence names the text of action: the text in quotes («Instalar»), or for
// "@[path\]file,-id" which text of which file (el texto número 101 de «setup.exe»).
std::string actionPhrase(std::string_view action);

}  // namespace kmr::disc
