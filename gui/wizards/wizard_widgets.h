#pragma once
// Small helpers that the new-project wizard's files share: a control's hint, a button and a
// read-only text.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace kmr::gui {

// A hint holds a short part for the tool tip and a long part for the status line, split by "|";
// a hint without a bar serves for both.
template <class Hinted>
void setHint(Hinted* w, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

inline QPushButton* makeButton(const QString& caption, const char* name, const QString& hint, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

inline QPlainTextEdit* makeReadOnlyText(const char* name, QWidget* parent) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    return t;
}

}  // namespace kmr::gui
