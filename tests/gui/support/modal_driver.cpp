#include "support/modal_driver.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <exception>

namespace kmr::gui::test {

std::shared_ptr<bool> actOnNextModal(QObject* owner, std::function<void(QWidget*)> action) {
    auto ran = std::make_shared<bool>(false);
    auto* timer = new QTimer(owner);
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

}  // namespace kmr::gui::test
