#pragma once
// Panel3: the "Asistente ide@" at the foot of the frame. It shows one tip at a time, drawn afresh
// by its timer Timer1, and hands a click on the tip to whoever runs the tip's action.

#include <QFrame>

#include <functional>

#include "tips/tips.h"

class QLabel;
class QTimer;

namespace kmr::gui {

class TipsPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kHeight = 67;
    static constexpr int kPeriodMs = 15000;

    explicit TipsPanel(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // Tells the draw which tips are useful; without it every window tip counts as useless.
    void setContextSource(std::function<kmr::TipContext()> source);
    // The numbers the draw picks from; the clock-seeded source unless a test hands another.
    void setTipSource(kmr::TipSource source);

    // Draws one tip and shows it, or leaves the current one when the draw says so.
    void showNextTip();
    // Runs the tip timer and shows a tip at once, or stops the timer; the tip on screen stays.
    void setTimerRunning(bool running);

    QTimer* timer() const { return m_timer1; }
    int currentTip() const { return m_current; }
    kmr::TipAction clickAction() const { return m_action; }
    QString tipText() const;

signals:
    // A click on the tip (its action) or on the picture (the update command).
    void actionRequested(kmr::TipAction action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTip(int index);

    QLabel* m_picture;
    QLabel* m_title;
    QLabel* m_label2;
    QTimer* m_timer1;
    std::function<kmr::TipContext()> m_context;
    kmr::TipSource m_source;
    int m_current = 0;
    kmr::TipAction m_action = kmr::TipAction::None;
};

}  // namespace kmr::gui
