#include "base/dialog_widgets.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace kmr::gui {

QLineEdit* makeTextField(const QString& objectName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    // The default limit of 32767 characters would silently cut a long value read from a file.
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QLabel* makeBuddyLabel(const QString& text, QWidget* buddy, const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

QLabel* makeExampleLine(const QString& text, const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Disabled, QPalette::WindowText));
    label->setPalette(p);
    return label;
}

QLabel* makeExplanation(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLabel* makeHeadline(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    label->setFont(f);
    return label;
}

void setButtonFace(QWidget* field, bool buttonFace) {
    const QPalette app = QApplication::palette(field);
    QPalette p = field->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, app.color(group, buttonFace ? QPalette::Button : QPalette::Base));
    }
    field->setPalette(p);
}

AcceptCancel makeAcceptCancel(QWidget* parent) {
    auto* ok = new QPushButton(QStringLiteral("Aceptar"), parent);
    ok->setObjectName(QStringLiteral("Aceptar"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), parent);
    cancel->setObjectName(QStringLiteral("Cancelar"));
    cancel->setAutoDefault(false);
    return {ok, cancel};
}

void layOutWithButtons(QDialog* dialog, QGridLayout* fields, QWidget* ok, QWidget* cancel) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kmr::gui
