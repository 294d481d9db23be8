#include <gtest/gtest.h>

#include <new>

#include "base/guarded_application.h"
#include "support/scripted_prompts.h"

namespace kmr::gui::test {
namespace {

// Running out of memory in a command is a message and a false result; anything else passes through.
TEST(GuardedApplicationTest, OutOfMemoryIsAMessageNotTheEndOfTheProgram) {
    ScriptedPrompts prompts;
    EXPECT_TRUE(runGuarded(prompts, [] { return true; }));
    EXPECT_TRUE(prompts.messages.empty());

    EXPECT_FALSE(runGuarded(prompts, []() -> bool { throw std::bad_alloc(); }));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("No hay memoria suficiente para completar la orden."));
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace kmr::gui::test
