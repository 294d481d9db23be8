#include "help/splash_window.h"

#include <QTimer>

#include "help/banner.h"

namespace kmr::gui {

namespace {
constexpr int kSplashPeriodMs = 2500;
}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TForm3"));
    auto* banner = new Banner(this);
    banner->move(0, 0);
    setFixedSize(banner->size());
    m_timer = new QTimer(this);
    // Not "Timer1": the frame's tip timer carries that name and a search from the frame would find both.
    m_timer->setObjectName(QStringLiteral("SplashTimer"));
    m_timer->setInterval(kSplashPeriodMs);
    connect(m_timer, &QTimer::timeout, this, &TForm3::Timer1Timer);
    m_timer->start();
}

QPoint TForm3::centredOver(const QRect& frame, const QSize& size) {
    return {frame.x() + (frame.width() - size.width()) / 2, frame.y() + (frame.height() - size.height()) / 2};
}

void TForm3::showOver(const QWidget* frame) {
    if (frame != nullptr) move(centredOver(frame->frameGeometry(), size()));
    exec();
}

void TForm3::Timer1Timer() {
    if (isVisible()) done(QDialog::Accepted);
}

}  // namespace kmr::gui
