#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>
#include <vector>

#include "frame/options_dialog.h"
#include "help/web_links.h"
#include "panels/quick_start_panel.h"
#include "panels/tips_panel.h"
#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class FramePanelsTest : public FrameTest {
protected:
    TipsPanel* tips() { return m_frame->findChild<TipsPanel*>(QStringLiteral("Panel3")); }
    QuickStartPanel* quickStart() { return m_frame->findChild<QuickStartPanel*>(QStringLiteral("Panel1")); }
    QTimer* timer1() { return m_frame->findChild<QTimer*>(QStringLiteral("Timer1")); }
    // The tips panel draws `number` next.
    void drawNext(int number) {
        tips()->setTipSource([number] { return number; });
    }
    // Name, caption and hint of each button of a quick-start category.
    std::vector<std::vector<QString>> buttons(int category) {
        std::vector<std::vector<QString>> rows;
        for (QToolButton* b : quickStart()->categories()->buttons(category))
            rows.push_back({b->objectName(), b->text(), b->toolTip()});
        return rows;
    }
};

TEST_F(FramePanelsTest, ViewTogglesShowAndHideThePanelsAndTheTipTimer) {
    startFrame();
    ASSERT_NE(tips(), nullptr);
    ASSERT_NE(quickStart(), nullptr);
    EXPECT_FALSE(tips()->isHidden());
    EXPECT_FALSE(quickStart()->isHidden());
    EXPECT_TRUE(timer1()->isActive());
    EXPECT_TRUE(action("Asistenteidea1")->isChecked());
    EXPECT_TRUE(action("Iniciorpido1")->isChecked());

    // "Asistente idea" off: the panel hides, the timer stops, the tip stays as it was.
    drawNext(5);
    tips()->showNextTip();
    drawNext(6);
    action("Asistenteidea1")->trigger();
    EXPECT_TRUE(tips()->isHidden());
    EXPECT_FALSE(timer1()->isActive());
    EXPECT_FALSE(action("Asistenteidea1")->isChecked());
    EXPECT_FALSE(key().readBool(QStringLiteral("Veridea")));
    EXPECT_EQ(tips()->currentTip(), 5);
    // On again: a tip shows at once, not after the timer's period.
    action("Asistenteidea1")->trigger();
    EXPECT_FALSE(tips()->isHidden());
    EXPECT_TRUE(timer1()->isActive());
    EXPECT_EQ(tips()->currentTip(), 6);

    // The "x" turns "Inicio rápido" off for this and later starts; tip 23 is no longer useful.
    EXPECT_EQ(quickStart()->closeButton()->toolTip(), QStringLiteral("Ocultar"));
    EXPECT_EQ(quickStart()->closeButton()->statusTip(), QStringLiteral("Oculta el Inicio rápido"));
    QTest::mouseClick(quickStart()->closeButton(), Qt::LeftButton);
    EXPECT_TRUE(quickStart()->isHidden());
    EXPECT_FALSE(action("Iniciorpido1")->isChecked());
    EXPECT_FALSE(key().readBool(QStringLiteral("inicio")));
    EXPECT_FALSE(m_frame->tipContext().quickStartShown);
    startFrame();
    EXPECT_TRUE(quickStart()->isHidden());
    action("Iniciorpido1")->trigger();
    EXPECT_FALSE(quickStart()->isHidden());
    EXPECT_TRUE(key().readBool(QStringLiteral("inicio")));
}

TEST_F(FramePanelsTest, TheDrawAsksTheActiveProject) {
    startFrame();
    EXPECT_EQ(m_frame->tipContext().projectWindows, 0);
    // An empty active project keeps the tip on screen when tip 9 is drawn.
    drawNext(5);
    tips()->showNextTip();
    newProject(kmr::Project{});
    drawNext(9);
    tips()->showNextTip();
    EXPECT_EQ(tips()->currentTip(), 5);
    newProject(exampleProject(), QStringLiteral("Sin nombre 2"));
    const kmr::TipContext c = m_frame->tipContext();
    EXPECT_EQ(c.projectWindows, 2);
    EXPECT_EQ(c.objectCount, 5U);
    EXPECT_TRUE(c.hasRunEntry && c.hasIcon && c.hasLabel);
    tips()->showNextTip();
    EXPECT_EQ(tips()->currentTip(), 9);
}

TEST_F(FramePanelsTest, AClickOnATipRunsItsCommandEvenWhileTheCommandIsHidden) {
    struct Case {
        int tip;
        const char* command;
        const char* dialog;  // the modal dialog the command opens
    };
    const std::vector<Case> cases = {
        {4, "ITexto1", "TForm4"},
        {10, "IProg1", "TForm4"},
        {17, "IMenu1", "TForm1"},
        {6, "Opciones1", "TForm5"},
    };
    startFrame();
    newProject(kmr::Project{});
    auto* label = tips()->findChild<QLabel*>(QStringLiteral("Label2"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        drawNext(c.tip);
        tips()->showNextTip();
        ASSERT_EQ(tips()->currentTip(), c.tip);
        QAction* command = action(c.command);
        command->setVisible(false);
        command->setEnabled(false);
        QString opened;
        onNextModal([&](QWidget* w) { opened = w->objectName(); });
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(opened, QString::fromLatin1(c.dialog));
        command->setEnabled(true);
    }
}

TEST_F(FramePanelsTest, HelpAndWebTipsOpenTheirPagesWhileTheirEntriesAreDisabled) {
    using kmr::web::WebPage;
    struct Case {
        int tip;                      // -1: the panel's picture
        std::optional<WebPage> page;  // none: the update site chosen in the options
    };
    const std::vector<Case> cases = {
        {0, std::nullopt},
        {-1, std::nullopt},
        {2, WebPage::ManualOnLine},
        {22, WebPage::ManualOnLine},
        {11, WebPage::Contact},
        {16, WebPage::Contact},
        {21, WebPage::Contact},
        {12, WebPage::Drevanto},
        {13, WebPage::OtherPrograms},
        {14, WebPage::FuturePrograms},
        {19, WebPage::SisterHome},
        {20, WebPage::MakerHome},
    };
    startFrame();
    for (const char* name : {"ActualizarWeb1", "ManualOnLine1", "Drevanto1", "OtrosProgramas1", "OtrosProyectos1",
                             "VisitarPexilon1", "VisitarWendrik1", "Creditos1"}) {
        action(name)->setEnabled(false);
        action(name)->setVisible(false);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tip);
        m_opened.clear();
        m_prompts.messages.clear();
        if (c.tip >= 0) {
            drawNext(c.tip);
            tips()->showNextTip();
            ASSERT_EQ(tips()->currentTip(), c.tip);
        }
        // The update command asks first.
        if (!c.page) m_prompts.answer(Answer::Ok);
        const char* clicked = c.tip >= 0 ? "Label2" : "TipsPicture";
        QTest::mouseClick(tips()->findChild<QLabel*>(QLatin1String(clicked)), Qt::LeftButton);
        EXPECT_EQ(m_prompts.messages.size(), c.page ? 0U : 1U);
        EXPECT_EQ(m_opened, QStringList{c.page ? webPageAddress(*c.page) : m_frame->optionsDialog()->siteAddress()});
    }
    // Tip 15 shows the about box.
    drawNext(15);
    tips()->showNextTip();
    QString opened;
    onNextModal([&](QWidget* w) { opened = w->objectName(); });
    QTest::mouseClick(tips()->findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    EXPECT_EQ(opened, QStringLiteral("TAboutBox"));
}

TEST_F(FramePanelsTest, QuickStartButtonsFollowTheRecentFiles) {
    startFrame();
    EXPECT_EQ(buttons(QuickStartPanel::StartActions),
              (std::vector<std::vector<QString>>{
                  {QStringLiteral("Nuevo1Button"), QStringLiteral("Nuevo..."), QStringLiteral("Nuevo")},
                  {QStringLiteral("Abrir1Button"), QStringLiteral("Abrir..."), QStringLiteral("Abrir")},
                  {QStringLiteral("Importar2Button"), QStringLiteral("Importar..."), QStringLiteral("Importar...")}}));
    EXPECT_TRUE(buttons(QuickStartPanel::RecentFiles).empty());

    const QByteArray bytes = QByteArray::fromStdString(kmr::projectFileBytes(exampleProject()));
    const QString a = path(QStringLiteral("a.kmr"));
    const QString c = path(QStringLiteral("c & d.kmr"));
    writeBytes(a, bytes);
    writeBytes(c, bytes);
    // Slot 2 names a file that is gone: no button for it and no gap.
    m_frame->shared().recentFiles = {a, path(QStringLiteral("borrado.kmr")), c, QString(), QString()};
    m_frame->showRecentFiles();
    EXPECT_EQ(buttons(QuickStartPanel::RecentFiles),
              (std::vector<std::vector<QString>>{{QStringLiteral("LinkP1"), QStringLiteral("a.kmr"), a},
                                                 {QStringLiteral("LinkP3"), QStringLiteral("c && d.kmr"), c}}));

    // A file that joins the list moves the others down.
    m_frame->rememberRecentFile(c);
    EXPECT_EQ(buttons(QuickStartPanel::RecentFiles),
              (std::vector<std::vector<QString>>{{QStringLiteral("LinkP1"), QStringLiteral("c && d.kmr"), c},
                                                 {QStringLiteral("LinkP2"), QStringLiteral("a.kmr"), a},
                                                 {QStringLiteral("LinkP4"), QStringLiteral("c && d.kmr"), c}}));

    // A button opens its slot's file without a dialog, as the menu entry does.
    QTest::mouseClick(quickStart()->categories()->buttons(QuickStartPanel::RecentFiles).at(1), Qt::LeftButton);
    ASSERT_EQ(m_frame->projectWindows().size(), 1);
    EXPECT_EQ(m_frame->activeProjectWindow()->filePath(), a);
    EXPECT_TRUE(m_prompts.files.empty());
}

}  // namespace
}  // namespace kmr::gui::test
