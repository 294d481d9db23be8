#pragma once
// Where a reused dialog appears and where its focus starts, the same at every showing.

class QWidget;

namespace kmr::gui {

// Centres `dialog` on the window that owns it (on its screen when it has no shown owner) and keeps
// it on the screen. The dialog is placed by its client area: its frame is unknown before the first
// showing and known after it, so a placement by the frame would land lower the second time.
void centreOnOwner(QWidget* dialog);

// Puts the focus on `first` for the next activation of its window, as a freshly made dialog would
// have it, whatever control held it when the dialog last closed.
void startOn(QWidget* first);

}  // namespace kmr::gui
