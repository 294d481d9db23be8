// The keyword index: one entry per keyword whatever its letter case, Enter opens the section that names
// it; search results show whole titles.

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "help/help_index.h"
#include "help/help_window.h"

namespace kmr::gui {
namespace {

TEST(HelpIndex, KeywordsEqualButForLetterCaseMakeOneEntry) {
    QList<HelpKeyword> index;
    for (const char* row :
         {"autorun.inf|a", "AUTORUN.INF|b", "autorun.inf|a", "Menús|c", "Menus|d", "Ñandú|e", "ñandú|f"}) {
        const QStringList parts = QString::fromUtf8(row).split(QLatin1Char('|'));
        index.append({parts[0], parts[1], QString()});
    }
    QStringList rows;
    for (const HelpIndexEntry& e : mergeIndex(index)) {
        rows << e.keyword + QLatin1Char(':');
        for (const HelpKeyword& place : e.places) rows.last() += place.page;
    }
    EXPECT_EQ(rows.join(QLatin1Char(' ')), QStringLiteral("autorun.inf:ab Menús:c Menus:d Ñandú:ef"));
}

TEST(HelpIndex, TheViewerOpensTheSectionOfAKeywordAndShowsWholeTitles) {
    QString error;
    const auto help = HelpCollection::open(QStringLiteral(KMR_HELP_FILE), &error);
    ASSERT_NE(help, nullptr) << error.toStdString();
    HelpWindow w;
    w.setCollection(help.get());
    w.resize(520, 320);  // a page longer than the view
    w.show();
    QApplication::setActiveWindow(&w);
    auto* filter = w.findChild<QLineEdit*>(QStringLiteral("IndiceTexto"));
    auto* pages = w.findChild<QListWidget*>(QStringLiteral("IndicePaginas"));
    auto enter = [&](const char* keyword) {
        filter->setText(QString::fromUtf8(keyword));
        QTest::keyClick(filter, Qt::Key_Return);
    };
    enter("abrir");  // one page: it opens at the heading "Abrir"
    EXPECT_EQ(w.currentPage(), QStringLiteral("proyectos.html"));
    EXPECT_EQ(w.browser()->cursorForPosition(QPoint(4, 4)).block().text(), QStringLiteral("Abrir"));
    EXPECT_GT(w.browser()->verticalScrollBar()->value(), 0);
    enter("barra de estado");  // "Barra de estado" and "barra de estado": one entry, two pages to choose from
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(QApplication::focusWidget(), pages);
    enter("autorun.inf");
    EXPECT_GE(pages->count(), 3);

    w.findChild<QTabWidget*>(QStringLiteral("Pestanas"))->setCurrentIndex(2);
    auto* results = w.findChild<QListWidget*>(QStringLiteral("Resultados"));
    w.findChild<QLineEdit*>(QStringLiteral("BuscarTexto"))->setText(QStringLiteral("menú"));
    QTest::keyClick(w.findChild<QLineEdit*>(QStringLiteral("BuscarTexto")), Qt::Key_Return);
    ASSERT_GT(results->count(), 3);
    for (int i = 0; i < results->count(); ++i) {
        const QRect shown = results->visualItemRect(results->item(i));
        const QRect need = results->fontMetrics().boundingRect(QRect(0, 0, shown.width(), 1000), Qt::TextWordWrap,
                                                               results->item(i)->text());
        EXPECT_GE(shown.height(), need.height()) << results->item(i)->text().toStdString();
    }
}

}  // namespace
}  // namespace kmr::gui
