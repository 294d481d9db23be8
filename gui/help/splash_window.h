#pragma once
// The splash window (objectName "TForm3"): the banner alone, which closes itself at the next tick of its timer.

#include <QDialog>

class QTimer;

namespace kmr::gui {

class SplashWindow : public QDialog {
    Q_OBJECT
public:
    // The timer starts here and keeps running as long as the window exists.
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the window modally, centred over `frame`; returns when the next tick closes it.
    void showOver(const QWidget* frame);
    // Every tick closes the window when it is shown; a tick while it is hidden does nothing.
    void tick();
    QTimer* timer() const { return m_timer; }

    // Where the window stands when centred over a frame with the geometry `frame`.
    static QPoint centredOver(const QRect& frame, const QSize& size);

private:
    QTimer* m_timer;
};

}  // namespace kmr::gui
