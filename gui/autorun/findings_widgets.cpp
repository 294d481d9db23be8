#include "autorun/findings_widgets.h"

#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>

namespace kmr::gui {

QListWidget* makeFindingsList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(16, 16));
    return list;
}

QPlainTextEdit* makeExplanationBox(QWidget* parent, int height) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QStringLiteral("Explicacion"));
    box->setReadOnly(true);
    box->setFrameShape(QFrame::NoFrame);
    box->setFixedHeight(height);
    // The box sits on the dialog's own colour, like a note rather than an input.
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
    box->setPalette(pal);
    return box;
}

}  // namespace kmr::gui
