#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class FileCommandsTest : public FrameTest {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString p = path(name);
        writeBytes(p, bytes);
        return p;
    }
    QByteArray exampleBytes() { return QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())); }
    QStringList recent() {
        QStringList list;
        for (const QString& s : m_frame->shared().recentFiles) list << s;
        return list;
    }
    const QString saved = QStringLiteral("El fichero ha sido guardado con éxito.");
    const QString overwrite = QStringLiteral("El fichero ya existe. ¿Desea sobreescribir?");
};

TEST_F(FileCommandsTest, SaveWritesTheFileAndSetsCaptionAndFlagButLeavesTheRecentList) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    const QString target = path(QStringLiteral("mi disco.kmr"));
    m_prompts.choose(target);
    EXPECT_EQ(m_frame->saveProject(child), SaveOutcome::Saved);
    ASSERT_EQ(m_prompts.files.size(), 1u);
    const FileDialogOptions& o = m_prompts.files[0].options;
    EXPECT_TRUE(m_prompts.files[0].save);
    EXPECT_EQ(o.title, QStringLiteral("Guardar como..."));
    EXPECT_EQ(o.filterName, QStringLiteral("Proyecto KMR 2.0"));
    EXPECT_EQ(o.filterPattern, QStringLiteral("*.kmr"));
    EXPECT_EQ(o.defaultSuffix, QStringLiteral("kmr"));
    const QByteArray expected =
        "[Brenlowe KMR File]\r\nVersion=2.0\r\nPrograma=setup.exe\r\nIcono=disco.ico\r\nEtiqueta=MiCD\r\nMenus=2\r\n"
        "Predeterminado=1\r\n\r\n[Menu1]\r\nTexto=Instalar\r\nComando=setup.exe\r\nNombre=instalar\r\n\r\n[Menu2]\r\n"
        "Texto=Leeme\r\nComando=notepad leeme.txt\r\nNombre=leeme\r\n";
    EXPECT_EQ(readBytes(target), expected);
    EXPECT_EQ(child->windowTitle(), QStringLiteral("mi disco.kmr"));
    EXPECT_EQ(child->filePath(), target);
    EXPECT_EQ(child->saved(), 1);
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, saved);
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Información"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(recent().join(QString()).isEmpty());

    // The next save asks nothing and writes the same path; the dialog proposes the last name.
    EXPECT_EQ(m_frame->saveProject(child), SaveOutcome::Saved);
    EXPECT_EQ(m_prompts.files.size(), 1u);
    ProjectWindow* other = newProject(exampleProject(), QStringLiteral("Sin nombre 2"));
    m_prompts.choose(std::nullopt);
    EXPECT_EQ(m_frame->saveProject(other), SaveOutcome::Abandoned);
    EXPECT_EQ(m_prompts.files.back().options.fileName, target);
}

TEST_F(FileCommandsTest, EmptyProjectsAreNeverSaved) {
    startFrame();
    ProjectWindow* child = newProject({});
    EXPECT_EQ(m_frame->saveProject(child), SaveOutcome::NothingToDo);
    action("Guardarcomo1")->trigger();
    EXPECT_TRUE(m_prompts.files.empty());
    EXPECT_EQ(m_frame->saveProject(nullptr), SaveOutcome::NothingToDo);
}

TEST_F(FileCommandsTest, OverwriteQuestionOfSave) {
    startFrame();
    const QString existing = write(QStringLiteral("viejo.kmr"), "contenido viejo");
    const QString fresh = path(QStringLiteral("nuevo.kmr"));
    const struct {
        const char* name;
        Answer answer;
        bool secondDialog;
        SaveOutcome outcome;
        QString written;
    } cases[] = {
        {"Yes overwrites", Answer::Yes, false, SaveOutcome::Saved, existing},
        {"No asks again", Answer::No, true, SaveOutcome::Saved, fresh},
        {"Cancel stops", Answer::Cancel, false, SaveOutcome::Abandoned, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(existing, "contenido viejo");
        QFile::remove(fresh);
        m_prompts.messages.clear();
        ProjectWindow* child = newProject(exampleProject());
        m_prompts.choose(existing);
        m_prompts.answer(c.answer);
        if (c.secondDialog) m_prompts.choose(fresh);
        EXPECT_EQ(m_frame->saveProject(child), c.outcome);
        EXPECT_EQ(m_prompts.messages[0].text, overwrite);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(readBytes(existing), c.written == existing ? exampleBytes() : QByteArray("contenido viejo"));
        EXPECT_EQ(QFileInfo::exists(fresh), c.written == fresh);
        EXPECT_EQ(child->filePath(), c.written);
        child->setSaved(1);
        child->parentWidget()->close();
    }
}

TEST_F(FileCommandsTest, SaveOfAFileThatWentAwayAsksForANameAgain) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    child->setFilePath(path(QStringLiteral("borrado.kmr")));
    const QString target = path(QStringLiteral("otra.kmr"));
    m_prompts.choose(target);
    EXPECT_EQ(m_frame->saveProject(child), SaveOutcome::Saved);
    EXPECT_EQ(child->filePath(), target);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("borrado.kmr"))));
}

TEST_F(FileCommandsTest, AFailedWriteIsReportedAndChangesNothing) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    const QString blocked = path(QStringLiteral("bin/kmr.hlp/p.kmr"));
    m_prompts.choose(blocked);
    EXPECT_EQ(m_frame->saveProject(child), SaveOutcome::Failed);
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(
        m_prompts.messages[0].text.startsWith(QStringLiteral("No se ha podido escribir el fichero \"") + blocked));
    EXPECT_EQ(child->saved(), 0);
    EXPECT_EQ(child->windowTitle(), QStringLiteral("Sin nombre 1"));
    EXPECT_TRUE(child->filePath().isEmpty());

    // Save as reports the same way and does not list a file it could not write.
    m_prompts.messages.clear();
    m_prompts.choose(blocked);
    action("Guardarcomo1")->trigger();
    EXPECT_EQ(m_prompts.texts().size(), 1);
    EXPECT_TRUE(recent().join(QString()).isEmpty());
}

TEST_F(FileCommandsTest, SaveAsListsTheFileAndAnswerNoSavesUnderTheOldPath) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    const QString first = path(QStringLiteral("primero.kmr"));
    m_prompts.choose(first);
    action("Guardarcomo1")->trigger();
    EXPECT_EQ(readBytes(first), exampleBytes());
    EXPECT_EQ(child->windowTitle(), QStringLiteral("primero.kmr"));
    EXPECT_EQ(recent()[0], first);
    EXPECT_TRUE(m_frame->linkAction(0)->isVisible());
    EXPECT_EQ(key().readText(QStringLiteral("link1")), first);

    // Over an existing file, answered No: the project goes to its own path again.
    const QString other = write(QStringLiteral("otro.kmr"), "no tocar");
    kmr::Project changed = exampleProject();
    changed.objects.pop_back();
    child->setProject(changed);
    m_prompts.messages.clear();
    m_prompts.choose(other);
    m_prompts.answer(Answer::No);
    action("Guardarcomo1")->trigger();
    EXPECT_EQ(m_prompts.files.back().options.fileName, QStringLiteral("primero.kmr")) << "in its own folder";
    EXPECT_EQ(m_prompts.files.back().options.folder, QFileInfo(first).absolutePath());
    EXPECT_EQ(readBytes(other), QByteArray("no tocar"));
    EXPECT_EQ(readBytes(first), QByteArray::fromStdString(kmr::projectFileBytes(changed)));
    EXPECT_EQ(m_prompts.texts(), (QStringList{overwrite, saved}));
    EXPECT_EQ(recent()[1], QString()) << "the No does not add to the list";
}

TEST_F(FileCommandsTest, OpenReadsAVersion2FileAndListsItOnlyWhenChosenInTheDialog) {
    startFrame();
    const QString file = write(QStringLiteral("disco.kmr"), exampleBytes());
    m_prompts.choose(file);
    action("Abrir1")->trigger();
    ASSERT_EQ(m_prompts.files.size(), 1u);
    EXPECT_EQ(m_prompts.files[0].options.filterName, QStringLiteral("Proyecto KMR"));
    EXPECT_EQ(m_prompts.files[0].options.filterPattern, QStringLiteral("*.kmr"));
    EXPECT_TRUE(m_prompts.files[0].options.title.isEmpty());
    ProjectWindow* child = m_frame->activeProjectWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->project(), exampleProject());
    EXPECT_EQ(child->windowTitle(), QStringLiteral("disco.kmr"));
    EXPECT_EQ(child->filePath(), file);
    EXPECT_EQ(child->saved(), 1);
    EXPECT_TRUE(m_prompts.messages.empty());

    // The same file again through the dialog takes slots 1 and 2.
    m_prompts.choose(file);
    action("Abrir1")->trigger();
    EXPECT_EQ(recent().mid(0, 3), (QStringList{file, file, QString()}));
    EXPECT_EQ(m_frame->projectWindows().size(), 2);

    // From the list it opens without a dialog and without moving anything.
    const QString other = write(QStringLiteral("otro.kmr"), exampleBytes());
    m_frame->shared().recentFiles[2] = other;
    m_frame->showRecentFiles();
    m_frame->linkAction(2)->trigger();
    EXPECT_EQ(m_prompts.files.size(), 2u);
    EXPECT_EQ(m_frame->activeProjectWindow()->windowTitle(), QStringLiteral("otro.kmr"));
    EXPECT_EQ(recent().mid(0, 3), (QStringList{file, file, other}));
}

// A version-2 file that promises far more menus than it holds is broken: its general objects are
// shown, no invented menus, and the user is told.
TEST_F(FileCommandsTest, OpenOfABrokenVersion2FileSaysSo) {
    startFrame();
    QByteArray bytes = "[Brenlowe KMR File]\r\nVersion=2.0\r\nEtiqueta=Disco\r\nMenus=100000\r\n";
    for (int i = 0; i < 200; ++i) bytes += "\r\n";
    m_prompts.choose(write(QStringLiteral("roto.kmr"), bytes));
    action("Abrir1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text,
              QStringLiteral("El fichero contenía errores. Puede no haberse cargado correctamente."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
    ProjectWindow* child = m_frame->activeProjectWindow();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->project().size(), 1u);
    EXPECT_EQ(child->project().objects[0].kind, kmr::Kind::Label);
}

TEST_F(FileCommandsTest, OpenQuestionsAndMessages) {
    startFrame();
    m_prompts.choose(path(QStringLiteral("no-existe.kmr")));
    action("Abrir1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, QStringLiteral("No se encuentra el fichero."));
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Warning);

    const QString odd = write(QStringLiteral("raro.kmr"), "[Brenlowe KMR File]\r\nVersion=3.1\r\nIcono=a.ico\r\n");
    for (Answer a : {Answer::No, Answer::Yes}) {
        m_prompts.messages.clear();
        m_prompts.choose(odd);
        m_prompts.answer(a);
        action("Abrir1")->trigger();
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(
            m_prompts.messages[0].text,
            QStringLiteral("El fichero no tiene una versión reconocida o el formato es incorrecto. ¿Desea proceder "
                           "igualmente?"));
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Confirmación"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(m_frame->projectWindows().size(), a == Answer::Yes ? 1 : 0);
    }
    EXPECT_EQ(m_frame->activeProjectWindow()->project().size(), 1u);
    EXPECT_EQ(m_frame->activeProjectWindow()->saved(), 1);
    EXPECT_EQ(recent()[0], odd) << "a file whose version the user accepted joins the list";
}

TEST_F(FileCommandsTest, Version1FilesOpenWithTheirAdviceAndAnEmptyPath) {
    startFrame();
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
        QString title;
    } cases[] = {
        {"clean", "[DANTREVA KMR FILE]\r\nversion=1.0\r\nprograma=setup.exe\r\n\r\nicono=a.ico\r\nmenus=0\r\n",
         QStringLiteral("El fichero se ha cargado con éxito, pero se trata de un fichero de una versión anterior. Es "
                        "recomendable guardarlo en la versión actual."),
         QStringLiteral("Información")},
        {"broken", "[dantreva kmr file]\r\nversion=1.0\r\nprograma=setup.exe\r\nmenus=0\r\n",
         QStringLiteral("El fichero contenía errores. Puede no haberse cargado correctamente."),
         QStringLiteral("Error")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompts.messages.clear();
        const QString file = write(QStringLiteral("viejo.kmr"), c.bytes);
        m_prompts.choose(file);
        action("Abrir1")->trigger();
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, c.text);
        EXPECT_EQ(m_prompts.messages[0].title, c.title);
        ProjectWindow* child = m_frame->activeProjectWindow();
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->windowTitle(), QStringLiteral("viejo.kmr"));
        EXPECT_TRUE(child->filePath().isEmpty());
        EXPECT_EQ(child->saved(), 1);
        EXPECT_EQ(child->project().objects.at(0), kmr::makeProgram("setup.exe"));
        EXPECT_TRUE(recent().join(QString()).isEmpty()) << "version-1 files are not listed";
    }
}

TEST_F(FileCommandsTest, RecentListShowsExistingSlotsWithoutGapsAndKeepsStoredValuesOfMissingOnes) {
    startFrame();
    QStringList files;
    for (int i = 0; i < 6; ++i) files << write(QStringLiteral("f%1.kmr").arg(i), exampleBytes());
    QDir(path(QString())).mkpath(QStringLiteral("otra"));
    files[3] = write(QStringLiteral("otra/f0.kmr"), exampleBytes());
    key().writeText(QStringLiteral("link2"), QStringLiteral("guardado antes"));
    for (int i = 0; i < 6; ++i) {
        m_frame->shared().pendingPath = files[i];
        m_frame->addRecentFile();
        EXPECT_TRUE(m_frame->shared().pendingPath.isEmpty());
    }
    // Newest first; the first file dropped out.
    EXPECT_EQ(recent(), (QStringList{files[5], files[4], files[3], files[2], files[1]}));
    QFile::remove(files[4]);
    m_frame->showRecentFiles();
    const struct {
        bool visible;
        QString caption;
    } expected[] = {{true, QStringLiteral("f5.kmr")},
                    {false, QString()},
                    {true, QStringLiteral("f0.kmr")},
                    {true, QStringLiteral("f2.kmr")},
                    {true, QStringLiteral("f1.kmr")}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        QAction* link = m_frame->linkAction(i);
        EXPECT_EQ(link->isVisible(), expected[i].visible);
        if (!expected[i].visible) continue;
        EXPECT_EQ(link->text(), expected[i].caption);
        EXPECT_EQ(link->statusTip(), recent()[i]) << "the hint tells same-named files apart";
        EXPECT_EQ(key().readText(QStringLiteral("link%1").arg(i + 1)), recent()[i]);
    }
    EXPECT_EQ(key().readText(QStringLiteral("link2")), QStringLiteral("guardado antes"));
}

TEST_F(FileCommandsTest, TheCommandLineFileOpensAtFirstActivationInsteadOfTheWizard) {
    const QString file = write(QStringLiteral("arg.kmr"), exampleBytes());
    MainWindow& f = makeFrame({file});
    ASSERT_TRUE(f.startUp()) << "nobody takes the hand-off, so this instance goes on";
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
    f.show();
    f.firstActivation();
    ASSERT_EQ(f.projectWindows().size(), 1);
    EXPECT_EQ(f.activeProjectWindow()->windowTitle(), QStringLiteral("arg.kmr"));
    EXPECT_TRUE(recent().join(QString()).isEmpty());
}

TEST_F(FileCommandsTest, TheHandOffPollOpensTheMailboxPathAndEmptiesIt) {
    startFrame();
    const QString file = write(QStringLiteral("dado.kmr"), exampleBytes());
    m_frame->pollHandOff();
    EXPECT_TRUE(m_frame->projectWindows().isEmpty()) << "an empty mailbox opens nothing";
    key().writeText(QStringLiteral("Archivo"), file);
    m_frame->pollHandOff();
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
    ASSERT_EQ(m_frame->projectWindows().size(), 1);
    EXPECT_EQ(m_frame->activeProjectWindow()->filePath(), file);
    EXPECT_TRUE(m_prompts.files.empty());
    EXPECT_TRUE(recent().join(QString()).isEmpty());
}

}  // namespace
}  // namespace kmr::gui::test
