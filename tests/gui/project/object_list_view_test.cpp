// The object list view over long lists: it draws and asks for the rows in sight only, finds rows by
// position both ways, and follows the keys and the mouse as a report list does.

#include <QAbstractListModel>
#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStringListModel>
#include <QTest>

#include <gtest/gtest.h>

#include "project/object_list_view.h"

namespace kmr::gui::test {
namespace {

// Rows "Fila 0", "Fila 1"…, noting which rows were asked for their text.
class CountingModel : public QAbstractListModel {
public:
    explicit CountingModel(int rows) : m_rows(rows) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : m_rows; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        asked.insert(index.row());
        return QStringLiteral("Fila %1").arg(index.row());
    }
    void insertAt(int row) {
        beginInsertRows(QModelIndex(), row, row);
        ++m_rows;
        endInsertRows();
    }
    mutable QSet<int> asked;

private:
    int m_rows;
};

class ObjectListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_view.setModel(&m_model);
        m_view.setSelectionMode(QAbstractItemView::SingleSelection);
        m_view.resize(300, 200);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }
    // Rows the viewport can show, whole or in part.
    int rowsInSight() const { return m_view.viewport()->height() / m_view.rowHeight() + 2; }
    void paint() {
        m_model.asked.clear();
        m_view.viewport()->repaint();
    }

    static constexpr int kRows = 100000;
    CountingModel m_model{kRows};
    ObjectListView m_view;
};

TEST_F(ObjectListViewTest, APaintAsksForTheRowsInSightOnly) {
    paint();
    ASSERT_FALSE(m_model.asked.isEmpty());
    EXPECT_LE(m_model.asked.size(), rowsInSight());
    EXPECT_TRUE(m_model.asked.contains(0));

    m_view.scrollToBottom();
    paint();
    EXPECT_LE(m_model.asked.size(), rowsInSight());
    EXPECT_TRUE(m_model.asked.contains(kRows - 1));

    // A row inserted far above what is shown costs no look at the rows in between.
    m_model.insertAt(10);
    QApplication::processEvents();
    m_view.scrollToBottom();
    paint();
    EXPECT_LE(m_model.asked.size(), rowsInSight());
    EXPECT_TRUE(m_model.asked.contains(kRows));
    EXPECT_EQ(m_view.verticalScrollBar()->maximum() + m_view.viewport()->height(), (kRows + 1) * m_view.rowHeight());
}

// Rows that move when others are inserted or removed above them are moved on screen, not drawn
// again: what is on screen afterwards is what a full paint draws.
TEST(ObjectListViewScreen, InsertedAndRemovedRowsLeaveTheScreenAsAFullPaintWould) {
    QStringList rows;
    for (int i = 0; i < 40; ++i) rows << QStringLiteral("Fila %1").arg(i);
    QStringListModel model(rows);
    ObjectListView view;
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const auto onScreen = [&view] {
        QApplication::processEvents();
        return view.screen()->grabWindow(view.winId()).toImage();
    };
    const auto fullPaint = [&] {
        view.viewport()->repaint();
        return onScreen();
    };
    view.setCurrentIndex(model.index(6));
    onScreen();
    model.removeRows(5, 1);
    const QImage removed = onScreen();
    EXPECT_EQ(removed, fullPaint());
    model.insertRows(5, 1);
    model.setData(model.index(5), QStringLiteral("Nueva A"));
    model.insertRows(7, 2);
    const QImage inserted = onScreen();
    EXPECT_EQ(inserted, fullPaint());
    EXPECT_NE(removed, inserted);
    view.scrollToBottom();
    onScreen();
    model.removeRows(38, 1);
    EXPECT_EQ(onScreen(), fullPaint()) << "a removal at the end, where the view scrolls back";
}

TEST_F(ObjectListViewTest, RowsAreFoundByPositionAndPositionsByRow) {
    m_view.verticalScrollBar()->setValue(5000 * m_view.rowHeight() + 3);
    for (const int row : {5000, 5001, 5003}) {
        const QModelIndex index = m_model.index(row);
        const QRect rect = m_view.visualRect(index);
        EXPECT_EQ(rect.width(), m_view.viewport()->width());
        EXPECT_EQ(rect.height(), m_view.rowHeight());
        EXPECT_EQ(m_view.indexAt(rect.center()), index) << row;
    }
    EXPECT_FALSE(m_view.indexAt(QPoint(5, -1)).isValid());
    m_view.scrollToBottom();
    const QRect last = m_view.visualRect(m_model.index(kRows - 1));
    EXPECT_FALSE(m_view.indexAt(QPoint(5, last.bottom() + 2)).isValid()) << "below the last row there is no row";
    EXPECT_EQ(m_view.header()->geometry().bottom() + 1, m_view.viewport()->geometry().top())
        << "the header stands right above the rows";
}

TEST_F(ObjectListViewTest, KeysAndClicksMoveTheOneSelection) {
    const auto selectedRow = [this] {
        const QModelIndexList rows = m_view.selectionModel()->selectedIndexes();
        return rows.size() == 1 ? rows.first().row() : -1;
    };
    const auto inSight = [this](int row) {
        return m_view.viewport()->rect().contains(m_view.visualRect(m_model.index(row)));
    };
    m_view.setFocus();
    m_view.setCurrentIndex(m_model.index(0));
    EXPECT_EQ(selectedRow(), 0);
    QTest::keyClick(&m_view, Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    QTest::keyClick(&m_view, Qt::Key_End);
    EXPECT_EQ(selectedRow(), kRows - 1);
    EXPECT_TRUE(inSight(kRows - 1));
    QTest::keyClick(&m_view, Qt::Key_PageUp);
    const int page = m_view.viewport()->height() / m_view.rowHeight();
    EXPECT_EQ(selectedRow(), kRows - 1 - page);
    EXPECT_TRUE(inSight(kRows - 1 - page));
    QTest::keyClick(&m_view, Qt::Key_Home);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_TRUE(inSight(0));
    QTest::keyClick(&m_view, Qt::Key_Up);
    EXPECT_EQ(selectedRow(), 0) << "nothing above the first row";

    const QRect third = m_view.visualRect(m_model.index(2));
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(selectedRow(), 2);
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, m_view.visualRect(m_model.index(4)).center());
    EXPECT_EQ(selectedRow(), 4) << "one selection at a time";
}

}  // namespace
}  // namespace kmr::gui::test
