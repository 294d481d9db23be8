#pragma once
// One row of the frame's command table: everything an action is, written once, from which the frame
// builds it.

#include <QKeyCombination>

#include "base/image_list.h"
#include "editing/object_rules.h"

class QAction;

namespace kmr::gui {

class MainWindow;

// How an action shows a check mark.
enum class CheckMark { None, Off, On };

struct FrameAction {
    const char* name;       // the object name
    const char* caption;    // UTF-8, with its Alt key; null for an action no menu shows
    const char* toolTip;    // the hint's short part; null for none
    const char* statusTip;  // the hint's long part, shown in the status bar; null when it is the short one
    Picture picture;
    QKeyCombination shortcut;
    const char* category;  // the action's "category" property
    void (*run)(MainWindow& frame);
    // An object command: shown only while the refresh offers it (kmr::offeredCommands()). Such a command
    // carries no shortcut, which could reach it while it is hidden.
    bool kmr::OfferedCommands::*offered = nullptr;
    CheckMark mark = CheckMark::None;
    // Where the frame keeps the action, for the few it changes after building them.
    QAction* MainWindow::*keep = nullptr;
    // Enabled only while a project window is open.
    bool needsProjectWindow = false;
    // No menu or tool bar shows it: the frame itself holds it, so that its shortcut works.
    bool onFrame = false;
};

// No shortcut.
inline constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);

}  // namespace kmr::gui
