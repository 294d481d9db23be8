// The new-project wizard inside the frame: "&Nuevo..." shows it and builds what it gathered, a
// cancelled wizard builds nothing, "Abrir..." and "Importar..." hand over to the frame's commands.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <vector>

#include "project/project_window.h"
#include "support/frame_fixture.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_fixture.h"

namespace kmr::gui::test {
namespace {

class WizardFrameTest : public FrameTest {
protected:
    // Triggers "&Nuevo..." and runs `drive` on the wizard; the wizard is closed afterwards if it is
    // still open, with a Yes queued for its close question so a failing test cannot hang.
    void runWizard(std::function<void(NewProjectWizard&)> drive) {
        bool ran = false;
        onNextModal([this, &ran, drive = std::move(drive)](QWidget* modal) {
            auto* wizard = qobject_cast<NewProjectWizard*>(modal);
            ASSERT_NE(wizard, nullptr);
            ran = true;
            drive(*wizard);
            if (wizard->isVisible()) {
                ADD_FAILURE() << "the wizard is still open";
                m_prompts.answer(Answer::Yes);
                wizard->close();
            }
        });
        action("Nuevo1")->trigger();
        EXPECT_TRUE(ran);
    }
    static void press(NewProjectWizard& w, const char* button) {
        w.findChild<QPushButton*>(QLatin1String(button))->click();
    }
    QStringList captions() {
        QStringList list;
        for (const ProjectWindow* p : m_frame->projectWindows()) list << p->windowTitle();
        return list;
    }
};

TEST_F(WizardFrameTest, AnUntouchedWizardGivesAnEmptyProjectNumberedByTheOpenWindows) {
    startFrame();
    newProject(exampleProject());
    QString summary;
    runWizard([&summary](NewProjectWizard& w) {
        for (int i = 0; i < 3; ++i) press(w, "Siguiente");
        summary = w.findChild<QPlainTextEdit*>(QStringLiteral("Resumen"))->toPlainText();
        press(w, "Siguiente");
    });
    EXPECT_EQ(summary, QStringLiteral("  No ha introducido datos. El proyecto está en blanco."));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Sin nombre 1"), QStringLiteral("Sin nombre 2")}));
    ProjectWindow* made = m_frame->activeProjectWindow();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->windowTitle(), QStringLiteral("Sin nombre 2"));
    EXPECT_TRUE(made->project().empty());
    EXPECT_EQ(made->saved(), 0);
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(WizardFrameTest, ATemplateAppliedAndFinishedBuildsItsProject) {
    startFrame();
    // The program's folder holds the template; "No editar" walks the shorter road to the same project.
    writeBytes(QFileInfo(m_programFile).dir().filePath(QStringLiteral("instalador.kmrt")), kInstallerTemplate);
    kmr::Project expected;
    expected.append(kmr::makeProgram("setup.exe"));
    expected.append(kmr::makeIcon("setup.exe,0"));
    expected.append(kmr::makeLabel("Instalación"));
    expected.append(kmr::makeMenu("Léame", "notepad leame.txt", "leame"));
    expected.append(kmr::makeMenu("Instalar", "setup.exe", "instalar", true));
    // "No editar" jumps from page 0 to the end and stays checked for the next showing.
    for (const bool noEdit : {true, false}) {
        SCOPED_TRACE(noEdit);
        runWizard([noEdit](NewProjectWizard& w) {
            auto* list = w.findChild<QListWidget*>(QStringLiteral("Plantillas"));
            ASSERT_EQ(list->count(), 1);
            EXPECT_EQ(list->item(0)->text(), QStringLiteral("Instalador"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
            auto* box = w.findChild<QCheckBox*>(QStringLiteral("NoEditar"));
            EXPECT_EQ(box->isChecked(), !noEdit);
            box->setChecked(noEdit);
            press(w, "Siguiente");
            if (noEdit) {
                EXPECT_EQ(w.currentPage(), NewProjectWizard::Finalizar);
                EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("Anterior"))->isEnabled());
                EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Siguiente"))->text(), QStringLiteral("&Finalizar"));
            }
            while (w.isVisible()) press(w, "Siguiente");
        });
        ProjectWindow* made = m_frame->activeProjectWindow();
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->project(), expected);
    }
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Sin nombre 1"), QStringLiteral("Sin nombre 2")}));
}

TEST_F(WizardFrameTest, AbrirWithItsDialogCancelledClosesTheWizardWithoutAProject) {
    startFrame();
    m_prompts.choose(std::nullopt);
    runWizard([](NewProjectWizard& w) { press(w, "Abrir"); });
    ASSERT_EQ(m_prompts.files.size(), 1U);
    EXPECT_FALSE(m_prompts.files[0].save);
    EXPECT_EQ(m_prompts.files[0].options.filterPattern, QStringLiteral("*.kmr"));
    EXPECT_TRUE(m_prompts.messages.empty());
    EXPECT_TRUE(captions().isEmpty());

    // The next showing asks its close question again.
    m_prompts.answer(Answer::Yes);
    runWizard([](NewProjectWizard& w) { press(w, "Cancelar"); });
    EXPECT_EQ(m_prompts.messages.size(), 1U);
    EXPECT_TRUE(captions().isEmpty());
}

TEST_F(WizardFrameTest, ImportarHandsOverToTheImportCommand) {
    startFrame();
    const QString source = path(QStringLiteral("autorun.inf"));
    writeBytes(source, "[autorun]\r\nopen=setup.exe\r\nlabel=MiCD\r\n");
    m_prompts.choose(source);
    runWizard([](NewProjectWizard& w) {
        w.findChild<QLineEdit*>(QStringLiteral("Etiqueta"))->setText(QStringLiteral("del asistente"));
        press(w, "Importar");
    });
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Fichero Importado")});
    EXPECT_EQ(m_frame->activeProjectWindow()->project(),
              (kmr::Project{{kmr::makeProgram("setup.exe"), kmr::makeLabel("MiCD")}}));
    EXPECT_EQ(m_prompts.texts(), QStringList{QStringLiteral("El fichero se ha importado con éxito.")});
}

}  // namespace
}  // namespace kmr::gui::test
