// The reused dialogs at each showing: where they stand, where the focus starts, and their Alt keys.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>

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
    } cases[] = {
        {"TForm1", "Texto", "NombreInterno"},
        {"TForm4", "Valor", "Recurso"},
        {"TForm5", "Bienvenida", "Otro"},
        {"TForm2", "Plantillas", "NoEditar"},
    };
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
            if (showing == 0) {
                firstPlace = dialog->geometry();
                EXPECT_LE((firstPlace.center() - f.geometry().center()).manhattanLength(), 2);
            } else {
                EXPECT_EQ(dialog->geometry(), firstPlace);
            }
            other->setFocus();
            dialog->hide();
        }
    }
}

// The options' check boxes and the labels of the wizard's first pages reach their control with Alt and
// a letter, the captions otherwise as they were; the walk over the fixed-size dialogs sees no two on one
// letter.
TEST_F(DialogShowingTest, CheckBoxesAndWizardLabelsCarryMnemonics) {
    MainWindow& f = startFrame();
    const struct {
        const char* dialog;
        const char* control;
        const char* caption;
    } cases[] = {
        {"TForm5", "Bienvenida", "Mensaje de bienvenida"},
        {"TForm5", "Centrar", "Centrar ventana"},
        {"TForm5", "Asistente", "Ejecutar el asistente"},
        {"TForm5", "Vericonos", "Barra de iconos"},
        {"TForm5", "Verestado", "Barra de estado"},
        {"TForm5", "Veridea", "Asistente ide@"},
        {"TForm5", "inicio", "Inicio rápido"},
        {"TForm2", "NoEditar", "No editar"},
        {"TForm2", "ProgramaEtiqueta", "Programa a ejecutar:"},
        {"TForm2", "Recurso", "Recurso con programa asociado"},
        {"TForm2", "IconoEtiqueta", "Icono a mostrar:"},
        {"TForm2", "EtiquetaEtiqueta", "Etiqueta a mostrar:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        auto* dialog = f.findChild<QDialog*>(QLatin1String(c.dialog));
        ASSERT_NE(dialog, nullptr);
        QWidget* w = dialog->findChild<QWidget*>(QLatin1String(c.control));
        ASSERT_NE(w, nullptr);
        QString text;
        if (auto* box = qobject_cast<QCheckBox*>(w)) text = box->text();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            EXPECT_NE(label->buddy(), nullptr);
        }
        EXPECT_FALSE(QKeySequence::mnemonic(text).isEmpty()) << text.toStdString();
        EXPECT_EQ(text.remove(QLatin1Char('&')), QString::fromUtf8(c.caption));
    }
}

}  // namespace
}  // namespace kmr::gui::test
