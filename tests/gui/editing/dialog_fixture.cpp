#include "editing/dialog_fixture.h"

#include "support/modal_driver.h"

#include <QApplication>
#include <QTimer>

namespace kmr::gui::test {

QString plain(QString text) { return text.remove(QLatin1Char('&')); }

std::shared_ptr<bool> DialogTest::actOnNextModal(std::function<void(QWidget*)> action) {
    return test::actOnNextModal(m_polls.get(), std::move(action));
}

void DialogTest::SetUp() {
    m_topLevelsBefore = QApplication::topLevelWidgets();
    m_builder = std::make_unique<CommandBuilderDialog>(m_state, m_prompts);
}

void DialogTest::TearDown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) ADD_FAILURE() << "left-over window: " << w->windowTitle().toStdString();
    }
    m_polls.reset();
    m_builder.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!m_topLevelsBefore.contains(w)) ADD_FAILURE() << "left-over window: " << w->metaObject()->className();
    }
    EXPECT_FALSE(m_prompts.unusedAnswers());
}

QStringList DialogTest::shown() const {
    QStringList list;
    for (const AskedMessage& m : m_prompts.messages) list << m.title + QLatin1Char('|') + m.text;
    return list;
}

}  // namespace kmr::gui::test
