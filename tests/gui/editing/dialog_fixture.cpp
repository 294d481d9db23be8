#include "editing/dialog_fixture.h"

#include <QApplication>
#include <QTimer>

namespace kmr::gui::test {

QString plain(QString text) { return text.remove(QLatin1Char('&')); }

std::shared_ptr<bool> DialogTest::actOnNextModal(std::function<void(QWidget*)> action) {
    auto ran = std::make_shared<bool>(false);
    auto* timer = new QTimer(m_polls.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ran, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        *ran = true;
        try {
            action(modal);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        if (modal->isVisible()) modal->close();
    });
    timer->start();
    return ran;
}

void DialogTest::SetUp() {
    m_topLevelsBefore = QApplication::topLevelWidgets();
    m_builder = std::make_unique<TForm6>(m_state, m_prompts);
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
