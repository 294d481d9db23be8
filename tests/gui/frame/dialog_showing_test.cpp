// The reused dialogs at each showing: where they stand and where the focus starts.

#include <QApplication>
#include <QDialog>

#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

using DialogShowingTest = FrameTest;

// Every showing starts on the first field, whatever held the focus when the dialog last closed, and
// stands where the first one stood: centred on the frame.
TEST_F(DialogShowingTest, EachShowingStartsOnTheFirstFieldCentredOnTheFrame) {
    MainWindow& f = startFrame();
    const struct {
        const char* dialog;
        const char* first;
        const char* leftOn;
    } cases[] = {{"TForm1", "Texto", "NombreInterno"},
                 {"TForm4", "Valor", "Recurso"},
                 {"TForm5", "Bienvenida", "Otro"},
                 {"TForm2", "Plantillas", "NoEditar"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        auto* dialog = f.findChild<QDialog*>(QLatin1String(c.dialog));
        ASSERT_NE(dialog, nullptr);
        QWidget* first = dialog->findChild<QWidget*>(QLatin1String(c.first));
        QWidget* other = dialog->findChild<QWidget*>(QLatin1String(c.leftOn));
        ASSERT_TRUE(first != nullptr && other != nullptr);
        QRect firstPlace;
        for (int showing = 0; showing < 2; ++showing) {
            dialog->show();
            QApplication::processEvents();
            EXPECT_EQ(dialog->focusWidget(), first) << "showing " << showing;
            if (showing == 0) firstPlace = dialog->geometry();
            EXPECT_EQ(dialog->geometry(), firstPlace);
            EXPECT_LE((dialog->geometry().center() - f.geometry().center()).manhattanLength(), 2);
            other->setFocus();
            dialog->hide();
        }
    }
}

}  // namespace
}  // namespace kmr::gui::test
