#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class HandOffTest : public FrameTest {};

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

TEST_F(HandOffTest, AStartWithAPathAndNoRunningInstanceEmptiesTheMailboxAndGoesOn) {
    const QString file = path(QStringLiteral("solo.kmr"));
    MainWindow& f = makeFrame({file});
    EXPECT_TRUE(f.startUp());
    EXPECT_EQ(key().readText(QStringLiteral("Archivo")), QString());
}

}  // namespace
}  // namespace kmr::gui::test
