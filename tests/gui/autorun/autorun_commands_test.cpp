#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "autorun/conflicts_dialog.h"
#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

const QByteArray kExampleAutorun =
    "[autorun]\r\nopen=setup.exe\r\nicon=disco.ico\r\nlabel=MiCD\r\nshell=instalar\r\n\r\nshell\\instalar=Instalar\r\n"
    "shell\\instalar\\command=setup.exe\r\n\r\nshell\\leeme=Leeme\r\nshell\\leeme\\command=notepad leeme.txt\r\n";

class AutorunCommandsTest : public FrameTest {
protected:
    // Answers the conflicts report with one of its buttons and notes what it listed.
    void answerReport(const char* button) {
        onNextModal([this, button](QWidget* w) {
            auto* report = qobject_cast<ConflictsDialog*>(w);
            ASSERT_NE(report, nullptr);
            QStringList titles;
            for (int i = 0; i < report->listView()->count(); ++i) titles << report->listView()->item(i)->text();
            m_reports << titles.join(QLatin1Char('|'));
            report->findChild<QPushButton*>(QLatin1String(button))->click();
        });
    }
    QStringList m_reports;
    const QString compiled = QStringLiteral("El fichero ha sido compilado con éxito.");
};

TEST_F(AutorunCommandsTest, TypicalRoadNewSaveReopenCompileClose) {
    MainWindow& f = startFrame();
    kmr::WizardData& data = f.shared().wizardData;
    data.runCommand = "setup.exe";
    data.icon = "disco.ico";
    data.label = "MiCD";
    data.menus = {{"Instalar", "setup.exe", "instalar", kmr::Kind::DefaultMenu},
                  {"Leeme", "notepad leeme.txt", "leeme", kmr::Kind::PlainMenu}};
    ProjectWindow* made = f.createProject(QStringLiteral("Sin nombre 1"));
    const QString project = path(QStringLiteral("micd.kmr"));
    m_prompts.choose(project);
    action("Guardar1")->trigger();
    made->parentWidget()->close();
    EXPECT_EQ(m_prompts.texts(), QStringList{QStringLiteral("El fichero ha sido guardado con éxito.")})
        << "a saved project closes without a question";

    m_prompts.choose(project);
    action("Abrir1")->trigger();
    ProjectWindow* child = f.activeProjectWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->project(), exampleProject());

    // A run entry and a default menu: the report comes first.
    const QString target = path(QStringLiteral("autorun.inf"));
    answerReport("SpeedButton1");
    m_prompts.choose(target);
    action("Exportar1")->trigger();
    EXPECT_EQ(m_reports, QStringList{QStringLiteral("Objetos incompatibles")});
    ASSERT_EQ(m_prompts.files.size(), 3u);
    const FileDialogOptions& o = m_prompts.files[2].options;
    EXPECT_EQ(o.title, QStringLiteral("Compilar fichero autorun..."));
    EXPECT_EQ(o.fileName, QStringLiteral("autorun.inf"));
    EXPECT_EQ(o.filterName, QStringLiteral("Fichero de autoarranque"));
    EXPECT_EQ(o.filterPattern, QStringLiteral("autorun.inf"));
    EXPECT_EQ(readBytes(target), kExampleAutorun);
    EXPECT_EQ(m_prompts.messages.back().text, compiled);
    EXPECT_EQ(m_prompts.messages.back().title, QStringLiteral("Información"));
    EXPECT_EQ(child->saved(), 1) << "compiling changes nothing in the project";

    m_prompts.messages.clear();
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(AutorunCommandsTest, CompileAnsweredNoAtTheOverwriteQuestionStartsAgainWithTheReport) {
    startFrame();
    newProject(exampleProject());
    const QString target = path(QStringLiteral("autorun.inf"));
    writeBytes(target, "viejo");
    answerReport("SpeedButton1");
    m_prompts.choose(target);
    m_prompts.answer(Answer::No);
    // The second round: the report again, then Cancelar ends the command silently.
    QTimer::singleShot(0, [this] { answerReport("SpeedButton2"); });
    action("Exportar1")->trigger();
    EXPECT_EQ(m_reports.size(), 2);
    EXPECT_EQ(m_prompts.texts(), QStringList{QStringLiteral("El fichero ya existe. ¿Desea sobreescribir?")});
    EXPECT_EQ(m_prompts.files.size(), 1u);
    EXPECT_EQ(readBytes(target), QByteArray("viejo"));
}

TEST_F(AutorunCommandsTest, CompileWithoutFindingsSkipsTheReportAndWarnsAboutAnotherName) {
    startFrame();
    kmr::Project p;
    p.append(kmr::makeLabel("MiCD"));
    p.append(kmr::makeMenu("Abrir", "explorer .", "abrir", true));
    newProject(p);
    const QString target = path(QStringLiteral("Salida.txt"));
    m_prompts.choose(target);
    action("Exportar1")->trigger();
    EXPECT_TRUE(m_reports.isEmpty());
    EXPECT_EQ(m_prompts.texts(),
              (QStringList{QStringLiteral("Guardar con este nombre podría inutilizar el fichero."), compiled}));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
    EXPECT_EQ(readBytes(target), QByteArray("[autorun]\r\nlabel=MiCD\r\nshell=abrir\r\n\r\nshell\\abrir="
                                            "Abrir\r\nshell\\abrir\\command=explorer .\r\n"));
    // The dialog proposes the last chosen name next time.
    m_prompts.choose(std::nullopt);
    action("Exportar1")->trigger();
    EXPECT_EQ(m_prompts.files.back().options.fileName, target);
}

TEST_F(AutorunCommandsTest, CompileStopsOnCancelAndOnAFailedWrite) {
    startFrame();
    newProject(exampleProject());
    answerReport("SpeedButton2");
    action("Exportar1")->trigger();
    EXPECT_TRUE(m_prompts.files.empty()) << "Cancelar in the report stops before the dialog";
    EXPECT_TRUE(m_prompts.messages.empty());

    const QString blocked = path(QStringLiteral("bin/kmr.hlp/autorun.inf"));
    answerReport("SpeedButton1");
    m_prompts.choose(blocked);
    action("Exportar1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(
        m_prompts.messages[0].text.startsWith(QStringLiteral("No se ha podido escribir el fichero \"") + blocked));
}

TEST_F(AutorunCommandsTest, ImportOfTheCompilersOwnOutputGivesTheSameProject) {
    startFrame();
    const QString source = path(QStringLiteral("autorun.inf"));
    writeBytes(source, kExampleAutorun);
    m_prompts.choose(source);
    action("Importar2")->trigger();
    ASSERT_EQ(m_prompts.files.size(), 1u);
    const FileDialogOptions& o = m_prompts.files[0].options;
    EXPECT_FALSE(m_prompts.files[0].save);
    EXPECT_EQ(o.title, QStringLiteral("Importar..."));
    EXPECT_EQ(o.fileName, QStringLiteral("autorun.inf"));
    EXPECT_EQ(o.filterName, QStringLiteral("Ficheros de autoarranque"));
    EXPECT_EQ(o.filterPattern, QStringLiteral("autorun.inf"));
    ProjectWindow* child = m_frame->activeProjectWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle(), QStringLiteral("Fichero Importado"));
    EXPECT_EQ(child->project(), exampleProject());
    EXPECT_EQ(child->saved(), 0);
    EXPECT_TRUE(child->filePath().isEmpty());
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("El fichero se ha importado con éxito."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Información"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Information);
}

TEST_F(AutorunCommandsTest, ImportMessages) {
    startFrame();
    m_prompts.choose(path(QStringLiteral("falta.inf")));
    action("Importar2")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("El fichero no existe."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Error);

    const QString headless = path(QStringLiteral("sin.inf"));
    writeBytes(headless, "open=a.exe\r\nraro=1\r\nicon=b.ico\r\n");
    for (Answer a : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(static_cast<int>(a));
        m_prompts.messages.clear();
        m_prompts.choose(headless);
        m_prompts.answer(a);
        action("Importar2")->trigger();
        ASSERT_GE(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("Encabezado incorrecto. ¿Desea continuar?"));
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(m_frame->projectWindows().size(), a == Answer::Yes ? 1 : 0);
    }
    ASSERT_EQ(m_prompts.messages.size(), 2u);
    EXPECT_EQ(m_prompts.messages[1].text, QStringLiteral("No se han reconocido 1 órdenes del fichero."));
    EXPECT_EQ(m_prompts.messages[1].title, QStringLiteral("Atención"));
    EXPECT_EQ(m_prompts.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(m_frame->activeProjectWindow()->project().size(), 2u);
}

// A lone CR kept inside an imported value is said at once, and neither save nor compile writes it: each
// says which value, before any dialog.
TEST_F(AutorunCommandsTest, AnImportedValueOfTwoLinesIsSaidAndNeverWritten) {
    startFrame();
    const QString lone = path(QStringLiteral("cr.inf"));
    writeBytes(lone, "[autorun]\r\nopen=a.exe\rIcono=evil.ico\r\nlabel=L\r\n");
    m_prompts.choose(lone);
    action("Importar2")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 2u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("El fichero se ha importado con éxito."));
    EXPECT_EQ(m_prompts.messages[1].text,
              QStringLiteral("El programa o recurso a ejecutar tiene un salto de línea (CR) tras \"a.exe\": en el "
                             "fichero, \"Icono=evil.ico\" sería otra línea.\n\nCorrija el valor: mientras ocupe más "
                             "de una línea, el proyecto no se puede guardar ni compilar."));
    EXPECT_EQ(m_prompts.messages[1].title, QStringLiteral("Atención"));
    const QString refusal = QStringLiteral(
        "El programa o recurso a ejecutar ocupa más de una línea: escrito en el fichero, lo que sigue al salto de "
        "línea se leería como otra entrada. Corrija el valor antes de guardar o compilar.");
    for (const char* command : {"Guardar1", "Guardarcomo1", "Exportar1"}) {
        SCOPED_TRACE(command);
        m_prompts.messages.clear();
        action(command)->trigger();
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, refusal);
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Warning);
    }
    EXPECT_TRUE(m_prompts.files.size() == 1) << "no dialog after the import's";
    EXPECT_EQ(m_frame->activeProjectWindow()->saved(), 0);
}

// A file from a Linux editor (UTF-8 without a mark) is read as UTF-8, and the editor says so once,
// before the import's own report.
TEST_F(AutorunCommandsTest, ImportOfUtf8WithoutAMarkSaysHowItWasRead) {
    startFrame();
    const QString source = path(QStringLiteral("autorun.inf"));
    writeBytes(source, "[autorun]\nlabel=Canción\n");
    m_prompts.choose(source);
    action("Importar2")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 2u);
    EXPECT_EQ(m_prompts.messages[0].text,
              QStringLiteral("El fichero está en UTF-8, que Windows leería como «CanciÃ³n»; se ha leído como UTF-8 y "
                             "al compilar se escribirá para que Windows lea «Canción»"));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Información"));
    EXPECT_EQ(m_prompts.messages[1].text, QStringLiteral("El fichero se ha importado con éxito."));
    EXPECT_EQ(m_frame->activeProjectWindow()->project().objects, std::vector<ProjectObject>{makeLabel("Canción")});
}

}  // namespace
}  // namespace kmr::gui::test
