#include "panels/category_buttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace kmr::gui {

namespace {

QString rgb(const QColor& c) { return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

// From the colour on the left to white on the right.
QString gradient(const QColor& c) {
    return QStringLiteral("qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, stop: 0 %1, stop: 1 white)").arg(rgb(c));
}

QToolButton* makeRow(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setAutoRaise(true);
    QFont bold = b->font();
    bold.setBold(true);
    b->setFont(bold);
    return b;
}

}  // namespace

CategoryButtons::CategoryButtons(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("CategoryButtons1"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_content = new QWidget(this);
    m_content->setAutoFillBackground(true);
    QPalette white = m_content->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_content->setPalette(white);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    m_layout->addStretch(1);
    setWidget(m_content);
}

int CategoryButtons::addCategory(const QString& caption, const QColor& colour) {
    Category c;
    c.header = makeRow(m_content);
    c.header->setObjectName(QStringLiteral("Category%1").arg(m_categories.size() + 1));
    c.header->setText(caption);
    c.header->setCheckable(true);
    c.header->setChecked(true);
    c.header->setArrowType(Qt::DownArrow);
    c.header->setStyleSheet(
        QStringLiteral("QToolButton { background: %1; border: none; text-align: left; }").arg(gradient(colour)));
    c.body = new QWidget(m_content);
    c.layout = new QVBoxLayout(c.body);
    c.layout->setContentsMargins(0, 0, 0, 0);
    c.layout->setSpacing(1);
    // Before the stretch that keeps every category at the top.
    const int at = m_layout->count() - 1;
    m_layout->insertWidget(at, c.header);
    m_layout->insertWidget(at + 1, c.body);
    const int index = static_cast<int>(m_categories.size());
    connect(c.header, &QToolButton::toggled, this, [this, index](bool on) { setExpanded(index, on); });
    m_categories.append(c);
    return index;
}

void CategoryButtons::setButtons(int category, const QList<CategoryButton>& buttons) {
    Category& c = m_categories[category];
    for (QToolButton* b : c.buttons) {
        c.layout->removeWidget(b);
        // A button may be the one whose click led here; it goes once the click is over.
        b->hide();
        b->deleteLater();
    }
    c.buttons.clear();
    const QString style = QStringLiteral(
                              "QToolButton { background: %1; border: none; text-align: left; }"
                              "QToolButton:hover, QToolButton:focus { background: %2; }")
                              .arg(gradient(QColor(kButtonColour)), rgb(QColor(kSelectedColour)));
    for (const CategoryButton& item : buttons) {
        QToolButton* b = makeRow(c.body);
        b->setObjectName(item.name);
        b->setText(item.caption);
        b->setIcon(item.icon);
        const qsizetype bar = item.hint.indexOf(QLatin1Char('|'));
        b->setToolTip(bar < 0 ? item.hint : item.hint.left(bar));
        b->setStatusTip(bar < 0 ? item.hint : item.hint.mid(bar + 1));
        b->setStyleSheet(style);
        if (item.run) connect(b, &QToolButton::clicked, this, [run = item.run] { run(); });
        c.layout->addWidget(b);
        c.buttons.append(b);
    }
}

QList<QToolButton*> CategoryButtons::buttons(int category) const { return m_categories.at(category).buttons; }

QToolButton* CategoryButtons::header(int category) const { return m_categories.at(category).header; }

void CategoryButtons::setExpanded(int category, bool expanded) {
    Category& c = m_categories[category];
    c.header->setChecked(expanded);
    c.header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    c.body->setVisible(expanded);
}

bool CategoryButtons::isExpanded(int category) const { return m_categories.at(category).header->isChecked(); }

}  // namespace kmr::gui
