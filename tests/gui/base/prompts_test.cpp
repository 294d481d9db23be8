#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "base/prompts.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

// The real message box: Spanish buttons, the icon asked for, and the answer of the button pressed.
TEST(QtPromptsTest, MessageBoxesShowSpanishButtonsAndReturnTheAnswerPressed) {
    const struct {
        MessageButtons buttons;
        MessageIcon icon;
        QMessageBox::Icon boxIcon;
        QStringList captions;
        const char* press;
        Answer expected;
    } cases[] = {
        {MessageButtons::Ok,
         MessageIcon::Information,
         QMessageBox::Information,
         {QStringLiteral("Aceptar")},
         "Aceptar",
         Answer::Ok},
        {MessageButtons::YesNo,
         MessageIcon::Question,
         QMessageBox::Question,
         {QStringLiteral("&Sí"), QStringLiteral("&No")},
         "&No",
         Answer::No},
        {MessageButtons::YesNoCancel,
         MessageIcon::Warning,
         QMessageBox::Warning,
         {QStringLiteral("&Sí"), QStringLiteral("&No"), QStringLiteral("Cancelar")},
         "&Sí",
         Answer::Yes},
        {MessageButtons::YesNoCancel,
         MessageIcon::Warning,
         QMessageBox::Warning,
         {QStringLiteral("&Sí"), QStringLiteral("&No"), QStringLiteral("Cancelar")},
         "Cancelar",
         Answer::Cancel},
        {MessageButtons::OkCancel,
         MessageIcon::Error,
         QMessageBox::Critical,
         {QStringLiteral("Aceptar"), QStringLiteral("Cancelar")},
         "Cancelar",
         Answer::Cancel},
    };
    QtPrompts prompts;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.press);
        QStringList captions;
        QString text;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        onNextModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) captions << b->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QString::fromUtf8(c.press)) b->click();
            }
        });
        const Answer a = prompts.message(QStringLiteral("¿Seguro?"), QStringLiteral("Atención"), c.icon, c.buttons);
        EXPECT_EQ(a, c.expected);
        EXPECT_EQ(text, QStringLiteral("¿Seguro?"));
        EXPECT_EQ(title, QStringLiteral("Atención"));
        EXPECT_EQ(icon, c.boxIcon);
        captions.sort();
        QStringList expected = c.captions;
        expected.sort();
        EXPECT_EQ(captions, expected);
    }
}

}  // namespace
}  // namespace kmr::gui::test
