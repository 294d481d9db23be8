#pragma once
// The values that commands and dialogs hand to each other for the whole run.

#include <QString>

#include <array>

#include "base/edit_state.h"
#include "editing/object_rules.h"
#include "project/project.h"

namespace kmr::gui {

// Owned by the main frame and handed to whoever needs it; nothing here is a global.
struct SharedValues {
    // A project path that the open command opens without its dialog.
    QString pendingPath;
    // The path that the open command hands to the version-1 reader.
    QString version1Path;
    // While the frame closes: the project windows that have not closed yet.
    int closeCounter = 0;
    // Five paths, newest first; an empty text is an empty slot.
    std::array<QString, 5> recentFiles;
    // What the new-project wizard gathered, and whether it finished.
    kmr::WizardData wizardData;
    bool wizardFinished = false;
    // What the editing dialogs and the command builder hand back to whoever opened them.
    EditState edit;
    // The one object that cut and copy hold, shared by every project window; empty at start.
    kmr::ObjectBuffer objectBuffer;
};

}  // namespace kmr::gui
