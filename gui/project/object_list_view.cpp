#include "project/object_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kmr::gui {

ObjectListView::ObjectListView(QWidget* parent)
    : QAbstractItemView(parent), m_header(new QHeaderView(Qt::Horizontal, this)) {
    m_header->setStretchLastSection(true);
    m_header->setSectionsClickable(false);
    m_header->setSectionsMovable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void ObjectListView::setModel(QAbstractItemModel* model) {
    if (this->model() != nullptr) disconnect(this->model(), &QAbstractItemModel::rowsRemoved, this, nullptr);
    QAbstractItemView::setModel(model);
    m_header->setModel(model);
    if (model != nullptr) {
        // The rows are gone once the removal is announced: lay out and paint after it.
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex& parent, int start, int end) {
            if (parent != rootIndex()) return;
            updateGeometries();
            shiftRows(start, -(end - start + 1));
        });
    }
    m_rowHeight = 0;
    updateGeometries();
}

int ObjectListView::rowCount() const { return model() != nullptr ? model()->rowCount(rootIndex()) : 0; }

int ObjectListView::rowHeight() const {
    if (m_rowHeight == 0) {
        // Every row has the picture and one line of text, so the first row measures them all.
        const int floor = std::max({iconSize().height(), fontMetrics().height(), 1});
        if (rowCount() == 0) return floor;
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex first = model()->index(0, 0, rootIndex());
        m_rowHeight = std::max(itemDelegateForIndex(first)->sizeHint(option, first).height(), floor);
    }
    return m_rowHeight;
}

int ObjectListView::rowAt(int y) const {
    if (y < 0) return -1;
    const int row = (y + verticalOffset()) / rowHeight();
    return row < rowCount() ? row : -1;
}

int ObjectListView::rowsPerPage() const { return std::max(1, viewport()->height() / rowHeight()); }

QRect ObjectListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0) return {};
    return QRect(0, index.row() * rowHeight() - verticalOffset(), viewport()->width(), rowHeight());
}

void ObjectListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    const int top = index.row() * rowHeight();
    const int height = viewport()->height();
    const int offset = verticalOffset();
    int target = offset;
    switch (hint) {
        case EnsureVisible:
            if (top < offset)
                target = top;
            else if (top + rowHeight() > offset + height)
                target = top + rowHeight() - height;
            break;
        case PositionAtTop: target = top; break;
        case PositionAtBottom: target = top + rowHeight() - height; break;
        case PositionAtCenter: target = top + (rowHeight() - height) / 2; break;
    }
    verticalScrollBar()->setValue(target);
}

QModelIndex ObjectListView::indexAt(const QPoint& point) const {
    const int row = rowAt(point.y());
    return row >= 0 && point.x() >= 0 && point.x() < viewport()->width() ? model()->index(row, 0, rootIndex())
                                                                         : QModelIndex();
}

QModelIndex ObjectListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers /*modifiers*/) {
    const int rows = rowCount();
    if (rows == 0) return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return model()->index(0, 0, rootIndex());
    int row = current.row();
    switch (cursorAction) {
        case MoveUp:
        case MovePrevious: --row; break;
        case MoveDown:
        case MoveNext: ++row; break;
        case MovePageUp: row -= rowsPerPage(); break;
        case MovePageDown: row += rowsPerPage(); break;
        case MoveHome: row = 0; break;
        case MoveEnd: row = rows - 1; break;
        case MoveLeft:
        case MoveRight: break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

int ObjectListView::horizontalOffset() const { return 0; }
int ObjectListView::verticalOffset() const { return verticalScrollBar()->value(); }
bool ObjectListView::isIndexHidden(const QModelIndex& /*index*/) const { return false; }

void ObjectListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const int rows = rowCount();
    if (rows == 0) return;
    const QRect r = rect.normalized();
    const int first = std::clamp((r.top() + verticalOffset()) / rowHeight(), 0, rows - 1);
    const int last = std::clamp((r.bottom() + verticalOffset()) / rowHeight(), 0, rows - 1);
    const QItemSelection selection(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion ObjectListView::visualRegionForSelection(const QItemSelection& selection) const {
    // Only what can be seen: a selection may span the whole list.
    const int firstShown = verticalOffset() / rowHeight();
    const int lastShown = (verticalOffset() + viewport()->height()) / rowHeight();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex()) continue;
        const int top = std::max(range.top(), firstShown);
        const int bottom = std::min(range.bottom(), lastShown);
        if (top > bottom) continue;
        region += QRect(0, top * rowHeight() - verticalOffset(), viewport()->width(), (bottom - top + 1) * rowHeight());
    }
    return region;
}

void ObjectListView::updateGeometries() {
    // Setting the margins resizes the viewport, which lays out again.
    if (m_inGeometryUpdate) return;
    m_inGeometryUpdate = true;
    const int headerHeight = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect vg = viewport()->geometry();
    m_header->setGeometry(vg.left(), vg.top() - headerHeight, vg.width(), headerHeight);
    const int height = model() != nullptr ? rowCount() * rowHeight() : 0;
    verticalScrollBar()->setSingleStep(rowHeight());
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    QAbstractItemView::updateGeometries();
    m_inGeometryUpdate = false;
}

void ObjectListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int rows = rowCount();
    if (rows == 0) return;
    const QRect area = event->rect();
    const int first = std::max(0, rowAt(area.top()));
    int last = (area.bottom() + verticalOffset()) / rowHeight();
    last = std::min(last, rows - 1);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    const bool focus = hasFocus() || viewport()->hasFocus();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem o = option;
        o.rect = visualRect(index);
        if (selectionModel()->isSelected(index)) o.state |= QStyle::State_Selected;
        if (focus && index == current) o.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, o, index);
    }
}

void ObjectListView::scrollContentsBy(int dx, int dy) {
    Q_UNUSED(dx);
    viewport()->scroll(0, dy);
}

bool ObjectListView::viewportEvent(QEvent* event) {
    // A new font or style may change the height of the rows.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        updateGeometries();
    }
    return QAbstractItemView::viewportEvent(event);
}

QSize ObjectListView::viewportSizeHint() const { return {256, 192}; }

void ObjectListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent != rootIndex()) return;
    updateGeometries();
    shiftRows(start, end - start + 1);
}

void ObjectListView::shiftRows(int row, int count) {
    // The rows above keep their places; what is in sight from this row down moves by `count` rows,
    // and only the rows that come into sight are drawn.
    const int top = row * rowHeight() - verticalOffset();
    const int height = viewport()->height();
    if (top >= height) return;
    if (top <= 0) {
        viewport()->update();
        return;
    }
    viewport()->scroll(0, count * rowHeight(), QRect(0, top, viewport()->width(), height - top));
}

void ObjectListView::reset() {
    QAbstractItemView::reset();
    m_rowHeight = 0;
    updateGeometries();
    viewport()->update();
}

}  // namespace kmr::gui
