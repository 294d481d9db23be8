#pragma once
// The values that the editing dialogs and the command builder hand back to whoever opened them.

#include <QString>

namespace kmr::gui {

// Who opened the menu editor or the value dialog; "Aceptar" sets the context to kEditAccepted.
inline constexpr int kEditAccepted = 0;
inline constexpr int kEditFromWizard = 1;
inline constexpr int kEditFromProject = 2;

// Owned by the main frame for the whole run and handed to the dialogs; nothing here is a global.
struct EditState {
    // Set by the caller before showing the menu editor or the value dialog; kEditAccepted afterwards
    // exactly when the user accepted.
    int editContext = kEditAccepted;
    // The internal name the menu had when the editor opened; an unchanged name is not tested again.
    QString initialInternalName;
    // What the command builder composed in its last opening; empty when it composed nothing.
    QString builderResult;
    // True when the composed text is a document or address opened by its associated program.
    bool resourceFlag = false;

    bool accepted() const { return editContext == kEditAccepted; }
};

}  // namespace kmr::gui
