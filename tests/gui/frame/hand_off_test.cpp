#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class HandOffTest : public FrameTest {
protected:
    // The real editor on this test's settings, started from the test's folder.
    void startEditor(QProcess& editor, const QStringList& arguments, bool exitAtFirstPaint) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KMR_SETTINGS_DIR"), path(QStringLiteral("settings")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (exitAtFirstPaint) env.insert(QStringLiteral("KMR_EXIT_AT_FIRST_PAINT"), QStringLiteral("1"));
        editor.setProcessEnvironment(env);
        editor.setWorkingDirectory(m_dir.path());
        editor.start(QStringLiteral(KMR_EDITOR_PATH), arguments);
        ASSERT_TRUE(editor.waitForStarted(5000));
    }
    StartOptions options(int handOffWaitMs, bool withLock) {
        StartOptions start;
        start.programFile = m_programFile;
        start.handOffWaitMs = handOffWaitMs;
        if (withLock) start.instanceLockPath = lockPath();
        return start;
    }
    QString lockPath() const { return path(QStringLiteral("settings/kmr.lock")); }
    static void stop(QProcess& editor) {
        if (editor.state() == QProcess::NotRunning) return;
        editor.kill();
        editor.waitForFinished(5000);
    }
};

// The running instance lives in this process; the second start is the real editor. The second
// start names the file relative to its own folder, which is not this process's folder.
TEST_F(HandOffTest, ASecondStartWithAPathHandsItToTheRunningInstanceAndEnds) {
    MainWindow& f = startFrame();
    const QString file = path(QStringLiteral("dado.kmr"));
    writeBytes(file, QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())));

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KMR_SETTINGS_DIR"), path(QStringLiteral("settings")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(m_dir.path());
    second.start(QStringLiteral(KMR_EDITOR_PATH), {QStringLiteral("dado.kmr")});
    ASSERT_TRUE(second.waitForStarted(5000));

    // Poll as the running instance's timer would, for a few seconds at most.
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    while (!finished && clock.elapsed() < 5000) {
        f.pollHandOff();
        finished = second.waitForFinished(20);
    }
    if (!finished) {
        second.kill();
        second.waitForFinished(1000);
    }
    ASSERT_TRUE(finished) << "the second instance should end once its file was taken";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_EQ(f.projectWindows().size(), 1);
    EXPECT_EQ(f.activeProjectWindow()->filePath(), file);
    EXPECT_EQ(f.activeProjectWindow()->project(), exampleProject());
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
    EXPECT_TRUE(m_prompts.messages.empty());
}

// An instance that holds no lock polls the mailbox here; the real editor, started with a file and
// finding the lock free, opens the file itself: nothing reaches the mailbox, and it shows its frame.
TEST_F(HandOffTest, WithTheLockFreeAStartWithAPathOpensItItselfWithoutTheMailbox) {
    m_frame = std::make_unique<MainWindow>(m_prompts, *m_store, options(5, false));
    ASSERT_TRUE(m_frame->startUp());
    key().writeBool(QStringLiteral("Asistente"), false);
    m_frame->show();
    m_frame->firstActivation();
    const QString file = path(QStringLiteral("propio.kmr"));
    writeBytes(file, QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())));

    QProcess editor;
    startEditor(editor, {QStringLiteral("propio.kmr")}, true);
    QElapsedTimer clock;
    clock.start();
    bool finished = false;
    while (!finished && clock.elapsed() < 10000) {
        m_frame->pollHandOff();
        finished = editor.waitForFinished(20);
    }
    stop(editor);
    ASSERT_TRUE(finished) << "the editor should paint its frame and quit";
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_TRUE(editor.readAllStandardOutput().startsWith("first-paint ")) << "it went on to show its frame";
    EXPECT_TRUE(m_frame->projectWindows().isEmpty()) << "nothing was handed over";
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
    EXPECT_FALSE(QFileInfo::exists(lockPath())) << "the lock goes with the instance";
}

// The real editor runs and holds the lock; this process is the later start, which hands its file over.
TEST_F(HandOffTest, ARunningEditorHoldsTheLockAndTakesTheFileOfALaterStart) {
    // The running editor finds its help file where the settings say, so nothing stops its start.
    key().writeText(QStringLiteral("Ayuda"), path(QStringLiteral("bin/kmr.hlp")));
    const QString own = path(QStringLiteral("propio.kmr"));
    const QString handed = path(QStringLiteral("dado.kmr"));
    writeBytes(own, QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())));
    writeBytes(handed, QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())));
    QProcess editor;
    startEditor(editor, {own}, false);
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(lockPath()) && clock.elapsed() < 10000) QThread::msleep(10);
    ASSERT_TRUE(QFileInfo::exists(lockPath())) << "the running editor holds the lock";

    // The editor polls every 450 ms; the wait ends as soon as it took the file.
    StartOptions later = options(10000, true);
    later.arguments = QStringList{handed};
    m_frame = std::make_unique<MainWindow>(m_prompts, *m_store, later);
    const bool goesOn = m_frame->startUp();
    const bool holds = m_frame->holdsInstanceLock();
    stop(editor);
    EXPECT_FALSE(goesOn) << "the running editor took the file, so this start ends";
    EXPECT_FALSE(holds);
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
}

TEST_F(HandOffTest, AnInstanceStartedBesideARunningOneTakesOverTheLockWhenThatOneEnds) {
    MainWindow& first = startFrame();
    EXPECT_TRUE(first.holdsInstanceLock());
    auto second = std::make_unique<MainWindow>(m_prompts, *m_store, options(5, true));
    ASSERT_TRUE(second->startUp());
    EXPECT_FALSE(second->holdsInstanceLock());
    second->pollHandOff();
    EXPECT_FALSE(second->holdsInstanceLock()) << "not while the first one runs";
    m_frame->close();
    m_frame.reset();
    second->pollHandOff();
    EXPECT_TRUE(second->holdsInstanceLock());
    second.reset();
    EXPECT_FALSE(QFileInfo::exists(lockPath()));
}

TEST_F(HandOffTest, AStartWithAPathAndNoRunningInstanceEmptiesTheMailboxAndGoesOn) {
    const QString file = path(QStringLiteral("solo.kmr"));
    MainWindow& f = makeFrame({file});
    EXPECT_TRUE(f.startUp());
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
}

// A path left in the mailbox by a start that never saw it taken is nobody's: a start that is alone
// empties it, so its own poll does not open it later.
TEST_F(HandOffTest, AStartThatIsAloneEmptiesAPathLeftInTheMailbox) {
    key().writeText(QStringLiteral("Archivo"), path(QStringLiteral("viejo.kmr")));
    MainWindow& f = makeFrame({path(QStringLiteral("solo.kmr"))});
    EXPECT_TRUE(f.startUp());
    EXPECT_TRUE(f.holdsInstanceLock());
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
}

}  // namespace
}  // namespace kmr::gui::test
