#pragma once
// ObjectListView: a one-column report list of rows of one height under a header, for lists of any
// length. Where a row is follows from its number, so inserting, removing or changing a row costs the
// same whatever the length of the list, and a paint draws only the rows in sight.

#include <QAbstractItemView>

class QHeaderView;

namespace kmr::gui {

class ObjectListView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit ObjectListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QHeaderView* header() const { return m_header; }
    int rowHeight() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    QSize viewportSizeHint() const override;

protected slots:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void reset() override;

private:
    int rowCount() const;
    int rowAt(int y) const;
    // Rows the viewport shows whole.
    int rowsPerPage() const;
    // After `count` rows were inserted (or, negative, removed) at `row`: moves what is in sight below.
    void shiftRows(int row, int count);

    QHeaderView* m_header;
    mutable int m_rowHeight = 0;  // 0: not measured yet
    bool m_inGeometryUpdate = false;
};

}  // namespace kmr::gui
