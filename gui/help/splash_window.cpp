#include "help/splash_window.h"

#include <QTimer>

#include "help/banner.h"

namespace kmr::gui {

namespace {
constexpr int kSplashPeriodMs = 2500;
}  // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TForm3"));
    auto* banner = new Banner(this);
    banner->move(0, 0);
    setFixedSize(banner->size());
    m_timer = new QTimer(this);
    // Not "Timer1": the frame's tip timer carries that name and a search from the frame would find both.
    m_timer->setObjectName(QStringLiteral("SplashTimer"));
    m_timer->setInterval(kSplashPeriodMs);
    m_timer->setTimerType(Qt::PreciseTimer);  // a coarse timer may fire 5 % late: the splash would outstay 2500 ms
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::tick);
    m_timer->start();
}

QPoint SplashWindow::centredOver(const QRect& frame, const QSize& size) {
    return {frame.x() + (frame.width() - size.width()) / 2, frame.y() + (frame.height() - size.height()) / 2};
}

void SplashWindow::showOver(const QWidget* frame) {
    if (frame != nullptr) move(centredOver(frame->frameGeometry(), size()));
    exec();
}

void SplashWindow::tick() {
    if (isVisible()) done(QDialog::Accepted);
}

}  // namespace kmr::gui
