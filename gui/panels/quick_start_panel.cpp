#include "panels/quick_start_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>

namespace kmr::gui {

QuickStartPanel::QuickStartPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel1"));
    setFixedWidth(kWidth);
    setFrameStyle(QFrame::NoFrame);

    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("QuickStartHeader"));
    header->setFixedHeight(kHeaderHeight);
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_picture = new QLabel(header);
    m_picture->setObjectName(QStringLiteral("QuickStartPicture"));
    m_picture->setFixedSize(24, 24);
    m_picture->setToolTip(QStringLiteral("Inicio rápido"));

    auto* title = new QLabel(QStringLiteral("Inicio rápido"), header);
    title->setObjectName(QStringLiteral("QuickStartTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    m_close = new QToolButton(header);
    m_close->setObjectName(QStringLiteral("QuickStartClose"));
    m_close->setText(QStringLiteral("x"));
    m_close->setAutoRaise(true);
    // A hint in two parts, as the commands' hints: the tool tip, then the status bar's text.
    const QStringList hint = QStringLiteral("Ocultar|Oculta el Inicio rápido").split(QLatin1Char('|'));
    m_close->setToolTip(hint.at(0));
    m_close->setStatusTip(hint.at(1));
    connect(m_close, &QToolButton::clicked, this, &QuickStartPanel::hideRequested);

    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(4);
    row->addWidget(m_picture);
    row->addWidget(title, 1);
    row->addWidget(m_close);

    m_categories = new CategoryButtons(this);
    m_categories->addCategory(QStringLiteral("Acciones de inicio"), QColor(kStartColour));
    m_categories->addCategory(QStringLiteral("Últimos ficheros"), QColor(kRecentColour));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header);
    column->addWidget(m_categories, 1);
}

void QuickStartPanel::setPicture(const QPixmap& picture) { m_picture->setPixmap(picture); }

void QuickStartPanel::setStartActions(const QList<CategoryButton>& buttons) {
    m_categories->setButtons(StartActions, buttons);
}

void QuickStartPanel::setRecentFiles(const QList<CategoryButton>& buttons) {
    m_categories->setButtons(RecentFiles, buttons);
}

}  // namespace kmr::gui
