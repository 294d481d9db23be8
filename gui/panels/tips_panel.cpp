#include "panels/tips_panel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace kmr::gui {

namespace {

constexpr int kPictureSize = 24;
constexpr int kTipHeight = 45;
constexpr int kMargin = 2;

bool isLeftClick(QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

}  // namespace

TipsPanel::TipsPanel(QWidget* parent) : QFrame(parent), m_source(kmr::clockSeededTipSource()) {
    setObjectName(QStringLiteral("Panel3"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFixedHeight(kHeight);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("TipsPicture"));
    m_picture->setFixedSize(kPictureSize, kPictureSize);
    m_picture->setToolTip(QStringLiteral("Actualización de Brenlowe Quillmere"));
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->installEventFilter(this);

    m_title = new QLabel(QStringLiteral("Brenlowe Quillmere - Asistente Ide@"), this);
    m_title->setObjectName(QStringLiteral("TipsTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setAlignment(Qt::AlignCenter);
    m_label2->setWordWrap(true);
    QFont underlined = m_label2->font();
    underlined.setUnderline(true);
    m_label2->setFont(underlined);
    m_label2->setCursor(Qt::PointingHandCursor);
    m_label2->setToolTip(QStringLiteral("Pulse aquí para realizar la función descrita"));
    m_label2->installEventFilter(this);
    // The picture sits above the tip where the two meet, so its corner stays clickable.
    m_picture->raise();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kPeriodMs);
    connect(m_timer1, &QTimer::timeout, this, &TipsPanel::showNextTip);

    showTip(0);
}

void TipsPanel::setPicture(const QPixmap& picture) { m_picture->setPixmap(picture); }

void TipsPanel::setContextSource(std::function<kmr::TipContext()> source) { m_context = std::move(source); }

void TipsPanel::setTipSource(kmr::TipSource source) { m_source = std::move(source); }

QString TipsPanel::tipText() const { return m_label2->text(); }

void TipsPanel::showNextTip() {
    const kmr::TipContext context = m_context ? m_context() : kmr::TipContext{};
    if (const std::optional<int> tip = kmr::drawTip(context, m_source)) showTip(*tip);
}

void TipsPanel::setTimerRunning(bool running) {
    if (!running) {
        m_timer1->stop();
        return;
    }
    m_timer1->start();
    showNextTip();
}

void TipsPanel::showTip(int index) {
    const kmr::Tip& tip = kmr::tipTable().at(static_cast<std::size_t>(index));
    m_current = index;
    m_label2->setText(QString::fromUtf8(tip.text.data(), static_cast<qsizetype>(tip.text.size())));
    m_action = tip.action;
}

bool TipsPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_label2 || watched == m_picture) && isLeftClick(event)) {
        const kmr::TipAction action = watched == m_picture ? kmr::TipAction::Update : m_action;
        if (action != kmr::TipAction::None) emit actionRequested(action);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void TipsPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QRect inner = contentsRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    m_picture->move(inner.topLeft());
    const int titleLeft = inner.left() + kPictureSize + 2 * kMargin;
    const int titleHeight = m_title->sizeHint().height();
    m_title->setGeometry(titleLeft, inner.top(), inner.right() - titleLeft + 1, titleHeight);
    // The tip spans the whole width under the title, as high as the panel lets it be.
    const int top = inner.top() + titleHeight;
    m_label2->setGeometry(inner.left(), top, inner.width(), std::min(kTipHeight, inner.bottom() - top + 1));
}

}  // namespace kmr::gui
