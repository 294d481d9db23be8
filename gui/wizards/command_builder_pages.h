#pragma once
// What the pages of the command builder share; only the builder's own files include this one.

class QCheckBox;
class QLineEdit;
class QString;
class QVBoxLayout;
class QWidget;

namespace kmr::gui {

// A text field of the builder, with the hint that every one of them carries.
QLineEdit* builderField(const QString& name, QWidget* parent);

QCheckBox* checkBox(const QString& text, const QString& name, QWidget* parent);

// A page's layout, headed by its headline and its explanation.
QVBoxLayout* pageLayout(QWidget* page, const QString& headline, const QString& explanation);

}  // namespace kmr::gui
