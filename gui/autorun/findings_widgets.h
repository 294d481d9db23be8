#pragma once
// The two widgets that the conflicts report and the disc report share: the list of findings and the box
// that explains the one selected.

class QListWidget;
class QPlainTextEdit;
class QWidget;

namespace kmr::gui {

// A one-selection, read-only list with small pictures ("ListView1").
QListWidget* makeFindingsList(QWidget* parent);
// A read-only box of the given height on the dialog's own colour ("Explicacion").
QPlainTextEdit* makeExplanationBox(QWidget* parent, int height);

}  // namespace kmr::gui
