#include "panels/tips_panel.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace kmr::gui::test {
namespace {

// A panel whose draws come from a list and whose clicks are recorded.
struct Panel {
    Panel() {
        panel.resize(600, TipsPanel::kHeight);
        panel.setTipSource([this] { return next < draws.size() ? draws[next++] : 0; });
        panel.setContextSource([this] { return context; });
        QObject::connect(&panel, &TipsPanel::actionRequested, [this](kmr::TipAction a) { clicks.push_back(a); });
    }
    void draw(std::vector<int> numbers) {
        draws = std::move(numbers);
        next = 0;
        panel.showNextTip();
    }
    std::vector<kmr::TipAction> click(const char* name) {
        clicks.clear();
        QTest::mouseClick(panel.findChild<QLabel*>(QLatin1String(name)), Qt::LeftButton);
        return clicks;
    }

    TipsPanel panel;
    kmr::TipContext context;
    std::vector<int> draws;
    std::size_t next = 0;
    std::vector<kmr::TipAction> clicks;
};

using Actions = std::vector<kmr::TipAction>;

TEST(TipsPanel, ShowsTipZeroUntilTheFirstDrawAndClicksRunTheShownTip) {
    Panel p;
    auto* label = p.panel.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Actualice Brenlowe KMR desde el sitio web de Brenlowe Pexilon."));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Pulse aquí para realizar la función descrita"));
    EXPECT_EQ(p.click("Label2"), Actions{kmr::TipAction::Update});

    // No window: the window tips are drawn again until tip 3, whose click does nothing.
    p.draw({4, 9, 17, 3});
    EXPECT_EQ(p.next, 4U);
    EXPECT_EQ(p.panel.currentTip(), 3);
    EXPECT_EQ(label->text(), QStringLiteral("Recuerde que Brenlowe KMR es una aplicación MDI, puede trabajar con "
                                            "varios proyectos a la vez."));
    EXPECT_EQ(p.click("Label2"), Actions{});
    // The picture runs the update command whatever the tip.
    EXPECT_EQ(p.click("TipsPicture"), Actions{kmr::TipAction::Update});

    // An empty project in the active window: drawing tip 9 leaves tip 3 in place.
    p.context = kmr::tipContext(1, nullptr, true, true);
    p.draw({9, 5});
    EXPECT_EQ(p.next, 1U);
    EXPECT_EQ(p.panel.currentTip(), 3);

    p.draw({10});
    EXPECT_EQ(label->text(), QStringLiteral("Si desea que su autorun ejecute un programa o un fichero pulse sobre "
                                            "\"añadir programa\"."));
    EXPECT_EQ(p.click("Label2"), Actions{kmr::TipAction::InsertRunEntry});
}

TEST(TipsPanel, RunningTheTimerDrawsAtOnceAndStoppingItKeepsTheTip) {
    Panel p;
    auto* timer = p.panel.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_EQ(timer, p.panel.timer());
    EXPECT_EQ(timer->interval(), 15000);
    EXPECT_FALSE(timer->isActive());

    p.draws = {6};
    p.panel.setTimerRunning(true);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(p.panel.currentTip(), 6);

    p.draws = {8};
    p.panel.setTimerRunning(false);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(p.panel.currentTip(), 6);
    EXPECT_EQ(p.click("Label2"), Actions{kmr::TipAction::Options});
}

}  // namespace
}  // namespace kmr::gui::test
