#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "project/disc_bar.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

using DiscBarTest = FrameTest;

TEST_F(DiscBarTest, TheEmptyFolderSaysSoWholeInTheWindowAProjectOpensIn) {
    startFrame();
    ProjectWindow* child = newProject(kmr::Project{});
    QCoreApplication::processEvents();
    const QLineEdit* folder = child->discBar()->folderEdit();
    ASSERT_TRUE(folder->isVisible());
    EXPECT_FALSE(folder->placeholderText().isEmpty());
    // The text's own width, the frame's and the line's side margins of a couple of pixels each.
    const int frame = folder->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, folder);
    EXPECT_LE(folder->fontMetrics().horizontalAdvance(folder->placeholderText()) + 2 * frame + 4, folder->width())
        << folder->placeholderText().toStdString();
    EXPECT_TRUE(folder->toolTip().contains(QStringLiteral("\"Cambiar...\"")));
}

TEST_F(DiscBarTest, DiscIsSetInTheBarKeptInTheProjectFileAndWhereCompilingWrites) {
    MainWindow& f = startFrame();
    const QString disc = path(QStringLiteral("disco"));
    ASSERT_TRUE(QDir().mkpath(disc));
    writeBytes(disc + QStringLiteral("/AUTORUN.INF"), "[autorun]\r\n");
    kmr::Project p;
    p.append(kmr::makeProgram("setup.exe"));
    p.append(kmr::makeLabel("MiCD"));
    ProjectWindow* child = newProject(p);
    child->setSaved(1);
    DiscBar* bar = child->discBar();
    EXPECT_TRUE(bar->folderEdit()->text().isEmpty());

    m_prompts.choose(disc);
    bar->changeButton()->click();
    ASSERT_EQ(m_prompts.folders.size(), 1u);
    // A project without a file leaves the start to the dialog: the folder chosen last, else home.
    EXPECT_EQ(m_prompts.folders[0].start, QString());
    EXPECT_EQ(child->project().disc, (kmr::DiscTarget{disc.toStdString(), kmr::Medium::CdDvd}));
    EXPECT_EQ(bar->folderEdit()->text(), disc);
    EXPECT_EQ(child->saved(), 0);

    child->setSaved(1);
    bar->mediumBox()->setCurrentIndex(1);
    emit bar->mediumBox()->activated(1);
    EXPECT_EQ(child->project().disc.medium, kmr::Medium::Usb);
    EXPECT_EQ(child->saved(), 0);

    child->setSaved(1);
    emit bar->folderEdit()->editingFinished();
    EXPECT_EQ(child->saved(), 1) << "leaving the line unchanged is no edit";

    // A folder typed relative to the project file, saved and read back.
    const QString project = path(QStringLiteral("micd.kmr"));
    bar->folderEdit()->setText(QStringLiteral("disco"));
    emit bar->folderEdit()->editingFinished();
    EXPECT_EQ(child->saved(), 0);
    m_prompts.choose(project);
    action("Guardar1")->trigger();
    child->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_prompts.choose(project);
    action("Abrir1")->trigger();
    child = f.activeProjectWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->discBar()->folderEdit()->text(), QStringLiteral("disco"));
    EXPECT_EQ(child->discBar()->mediumBox()->currentText(), QStringLiteral("USB"));
    EXPECT_EQ(resolvedDisc(*child).folder, QDir::cleanPath(disc).toStdString());

    m_prompts.choose(std::nullopt);
    action("Exportar1")->trigger();
    EXPECT_EQ(m_prompts.files.back().options.fileName, disc + QStringLiteral("/AUTORUN.INF"))
        << "the folder's own autorun.inf, in its letter case";
}

}  // namespace
}  // namespace kmr::gui::test
