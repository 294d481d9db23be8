#include "panels/quick_start_panel.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kmr::gui::test {
namespace {

TEST(QuickStartPanel, TwoExpandedCategoriesWhoseHeadersFoldThemAway) {
    QuickStartPanel panel;
    CategoryButtons* list = panel.categories();
    EXPECT_EQ(list->objectName(), QStringLiteral("CategoryButtons1"));
    EXPECT_EQ(list->header(QuickStartPanel::StartActions)->text(), QStringLiteral("Acciones de inicio"));
    EXPECT_EQ(list->header(QuickStartPanel::RecentFiles)->text(), QStringLiteral("Últimos ficheros"));

    QStringList ran;
    const auto button = [&ran](const char* name) {
        return CategoryButton{QLatin1String(name), QLatin1String(name), QIcon(), QStringLiteral("corto|largo"),
                              [&ran, name] { ran << QLatin1String(name); }};
    };
    panel.setRecentFiles({button("LinkP1"), button("LinkP3")});
    panel.setRecentFiles({button("LinkP2")});
    const QList<QToolButton*> recent = list->buttons(QuickStartPanel::RecentFiles);
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent[0]->toolTip(), QStringLiteral("corto"));
    EXPECT_EQ(recent[0]->statusTip(), QStringLiteral("largo"));
    QTest::mouseClick(recent[0], Qt::LeftButton);
    EXPECT_EQ(ran, QStringList{QStringLiteral("LinkP2")});

    for (int category : {QuickStartPanel::StartActions, QuickStartPanel::RecentFiles}) {
        EXPECT_TRUE(list->isExpanded(category));
    }
    QTest::mouseClick(list->header(QuickStartPanel::RecentFiles), Qt::LeftButton);
    EXPECT_FALSE(list->isExpanded(QuickStartPanel::RecentFiles));
    EXPECT_FALSE(recent[0]->isVisibleTo(&panel));
    EXPECT_TRUE(list->isExpanded(QuickStartPanel::StartActions));
    QTest::mouseClick(list->header(QuickStartPanel::RecentFiles), Qt::LeftButton);
    EXPECT_TRUE(recent[0]->isVisibleTo(&panel));
}

}  // namespace
}  // namespace kmr::gui::test
