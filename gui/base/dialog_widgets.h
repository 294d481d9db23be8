#pragma once
// Small builders for the controls that the editing dialogs and the command builder share.

#include <QString>

class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kmr::gui {

// A text field without a length limit, so that no value is ever cut when it is shown.
QLineEdit* makeTextField(const QString& objectName, QWidget* parent);

// A label that moves the focus to `buddy` with the Alt key and the letter after '&' in `text`.
QLabel* makeBuddyLabel(const QString& text, QWidget* buddy, const QString& objectName, QWidget* parent);

// A grey example line under a field.
QLabel* makeExampleLine(const QString& text, const QString& objectName, QWidget* parent);

// A word-wrapped explanation, or a bold headline, at the top of a page.
QLabel* makeExplanation(const QString& text, QWidget* parent);
QLabel* makeHeadline(const QString& text, QWidget* parent);

// The "Aceptar" (default) and "Cancelar" buttons of a dialog, found by those object names.
struct AcceptCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
AcceptCancel makeAcceptCancel(QWidget* parent);

// Lays a dialog out as its fields above and its two buttons at the right below them, at a fixed size.
void layOutWithButtons(QDialog* dialog, QGridLayout* fields, QWidget* ok, QWidget* cancel);

// Gives an input field the button-face colour (a field that does not take input now) or the usual
// window colour.
void setButtonFace(QWidget* field, bool buttonFace);

}  // namespace kmr::gui
