// The update command's question and the web commands, with an opener that records instead of opening.

#include <gtest/gtest.h>

#include "help/web_links.h"
#include "support/scripted_prompts.h"

namespace kmr::gui {
namespace {

class WebLinksTest : public ::testing::Test {
protected:
    test::ScriptedPrompts m_prompts;
    QStringList m_opened;
    WebLinks m_links{m_prompts, [this](const QString& address) { m_opened << address; }};
};

TEST_F(WebLinksTest, UpdateAsksWithTheVersionInLowerCaseAndOpensOnlyOnAceptar) {
    const QString question = QStringLiteral(
        "Actualmente dispone de la versión 2.3.2006.18. Pulse \"Aceptar\" para ejecutar la web de descarga.");
    const QString site = QStringLiteral("http://www.brenlowe-pexilon.example/kmr/index.htm");
    const struct {
        Answer answer;
        QString address;
        QStringList opened;
    } cases[] = {
        {Answer::Cancel, site, {}},
        {Answer::Ok, site, {site}},
        // "Otro:" still holding its default opens that text unchanged.
        {Answer::Ok, QStringLiteral("http://"), {QStringLiteral("http://")}},
        // A site selection outside 0 to 4 has no address: nothing to open.
        {Answer::Ok, QString(), {}},
    };
    for (const auto& c : cases) {
        m_opened.clear();
        m_prompts.messages.clear();
        m_prompts.answer(c.answer);
        m_links.update(c.address);
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, question);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Confirmación"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::OkCancel);
        EXPECT_EQ(m_opened, c.opened);
    }
    EXPECT_FALSE(m_prompts.unusedAnswers());
}

// With no browser the address is not lost: the user reads it in a message, to copy.
TEST(DesktopUrlOpener, WithoutABrowserTheMessageHoldsTheAddress) {
    const QString address = QStringLiteral("http://www.brenlowe-pexilon.example/manual/kmr/index.htm");
    for (const bool browser : {true, false}) {
        test::ScriptedPrompts prompts;
        QStringList handed;
        desktopUrlOpener(prompts, [&](const QString& a) {
            handed << a;
            return browser;
        })(address);
        EXPECT_EQ(handed, QStringList{address});
        ASSERT_EQ(prompts.messages.size(), browser ? 0U : 1U);
        if (browser) continue;
        EXPECT_TRUE(prompts.messages[0].text.contains(QLatin1Char('\n') + address + QLatin1Char('\n')));
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Atención"));
    }
}

}  // namespace
}  // namespace kmr::gui
