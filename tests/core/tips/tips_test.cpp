#include "tips/tips.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/project_lists.h"

namespace kmr {
namespace {

using test::listOf;

// One letter per table row: s shown, - drawn again, k keeps the current tip; a bar stands before
// the row that the draw never reaches.
std::string verdicts(const TipContext& context) {
    std::string s;
    for (int i = 0; i < kTipRows; ++i) {
        if (i == kDrawnTips) s += '|';
        switch (judgeTip(i, context)) {
            case TipVerdict::Show: s += 's'; break;
            case TipVerdict::Redraw: s += '-'; break;
            case TipVerdict::KeepCurrent: s += 'k'; break;
        }
    }
    return s;
}

TEST(Tips, ConditionsFollowTheOpenProjectsAndTheOptions) {
    struct Case {
        const char* name;
        int windows;
        const char* active;  // object letters of the active project; null: no window is active
        bool welcome;
        bool quickStart;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no window", 0, nullptr, true, true, "ssss-ssss--ssssss--sssss|s"},
        {"two windows", 2, "PILM", true, true, "s-s--sssss-sssssss-sssss|s"},
        {"run entry, icon and label", 1, "PIL", true, true, "s-ss-sssss-sssssss-sssss|s"},
        {"resource, icon and label", 1, "RIL", true, true, "s-ss-sssss-sssssss-sssss|s"},
        {"empty project", 1, "", true, true, "s-ssssssskssssssssssssss|s"},
        {"menus only", 1, "MD", true, true, "s-ssssssssssssssssssssss|s"},
        {"window open, none active", 1, nullptr, true, true, "s-ssssssskssssssssssssss|s"},
        {"options off", 0, nullptr, false, false, "ssss-ss-s--ssssss--ssss-|-"},
        {"options off, full project", 1, "PILM", false, false, "s-ss-ss-ss-sssssss-ssss-|-"},
    };
    for (const Case& c : cases) {
        Project project;
        if (c.active != nullptr) project = listOf(c.active);
        const TipContext context =
            tipContext(c.windows, c.active != nullptr ? &project : nullptr, c.welcome, c.quickStart);
        EXPECT_EQ(verdicts(context), c.expected) << c.name;
    }
}

TEST(Tips, FifteenTipsAreAlwaysAllowedAndTipThreeDoesNothing) {
    int always = 0;
    for (int i = 0; i < kDrawnTips; ++i) {
        if (tipTable()[static_cast<std::size_t>(i)].condition == TipCondition::Always) ++always;
    }
    EXPECT_EQ(always, 15);
    EXPECT_EQ(tipTable()[3].action, TipAction::None);
    for (int i = 0; i < kTipRows; ++i) {
        if (i != 3) {
            EXPECT_NE(tipTable()[static_cast<std::size_t>(i)].action, TipAction::None) << i;
        }
    }
}

TEST(Tips, TheDrawRepeatsUntilATipFitsOrKeepsTheCurrentOne) {
    struct Case {
        const char* name;
        TipContext context;
        std::vector<int> draws;
        std::optional<int> expected;
        std::size_t used;  // how many numbers the draw took
    };
    const TipContext none = tipContext(0, nullptr, true, true);
    const Project empty;
    const Project full = listOf("PILM");
    const TipContext emptyProject = tipContext(1, &empty, true, true);
    const TipContext twoFull = tipContext(2, &full, false, false);
    const std::vector<Case> cases = {
        {"window tips without a window", none, {4, 9, 17, 10, 18, 1}, 1, 6},
        {"tip 9 on an empty project", emptyProject, {1, 9, 0}, std::nullopt, 2},
        {"tip 9 without a window is drawn again", none, {9, 2}, 2, 2},
        {"two full windows", twoFull, {3, 1, 4, 7, 10, 18, 23, 9}, 9, 8},
        {"numbers outside 0 to 23", none, {-1, 24, 30, 6}, 6, 4},
    };
    for (const Case& c : cases) {
        std::size_t next = 0;
        const TipSource source = [&] { return next < c.draws.size() ? c.draws[next++] : 0; };
        EXPECT_EQ(drawTip(c.context, source), c.expected) << c.name;
        EXPECT_EQ(next, c.used) << c.name;
    }
}

TEST(Tips, AStuckSourceCannotHoldTheDraw) {
    // Always tip 4, which needs a window: the draw gives up on the source and takes the next
    // useful tip instead of looping for ever.
    int calls = 0;
    const TipSource stuck = [&] {
        ++calls;
        return 4;
    };
    EXPECT_EQ(drawTip(tipContext(0, nullptr, true, true), stuck), 5);
    EXPECT_EQ(calls, kMaxDraws);
    // Past tip 23 the walk wraps round to tip 0.
    const TipSource last = [] { return 23; };
    EXPECT_EQ(drawTip(tipContext(0, nullptr, true, false), last), 0);
}

TEST(Tips, EveryDrawReseedsEvenWhenTheClockStandsStill) {
    TipSource frozen = clockSeededTipSource([] { return std::uint64_t{42}; });
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const int n = frozen();
        ASSERT_GE(n, 0);
        ASSERT_LT(n, kDrawnTips);
        seen.insert(n);
    }
    EXPECT_GE(seen.size(), 20U);
    // The default source reads the high-resolution clock and stays in range too.
    TipSource live = clockSeededTipSource();
    for (int i = 0; i < 50; ++i) {
        const int n = live();
        EXPECT_TRUE(n >= 0 && n < kDrawnTips) << n;
    }
}

}  // namespace
}  // namespace kmr
