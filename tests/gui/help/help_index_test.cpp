// The keyword index: one entry per keyword whatever its letter case, and Enter on it brings the
// section that names the keyword into view; the search results show whole titles.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>

#include "help/help_collection.h"
#include "help/help_index.h"
#include "help/help_window.h"

namespace kmr::gui {
namespace {

// "keyword: page page ..." for each entry.
QStringList entryRows(const QList<HelpIndexEntry>& entries) {
    QStringList rows;
    for (const HelpIndexEntry& e : entries) {
        QString row = e.keyword + QLatin1Char(':');
        for (const HelpKeyword& place : e.places) row += QLatin1Char(' ') + place.page;
        rows << row;
    }
    return rows;
}

TEST(HelpIndex, KeywordsEqualButForLetterCaseMakeOneEntry) {
    auto k = [](const char* keyword, const char* page) {
        return HelpKeyword{QString::fromUtf8(keyword), QString::fromUtf8(page), QStringLiteral("T")};
    };
    const QList<HelpKeyword> index = {
        k("autorun.inf", "compilar.html"),
        k("AUTORUN.INF", "importar.html"),
        k("autorun.inf", "inicio.html"),
        k("autorun.inf", "compilar.html"),  // twice on one page: listed once
        k("barra de estado", "ventana.html"),
        k("Barra de estado", "opciones.html"),
        k("Menús", "a.html"),
        k("Menus", "b.html"),  // an accent makes another word
        k("Ñandú", "c.html"),
        k("ñandú", "d.html"),
    };
    EXPECT_EQ(
        entryRows(mergeIndex(index)),
        (QStringList{QStringLiteral("autorun.inf: compilar.html importar.html inicio.html"),
                     QStringLiteral("barra de estado: ventana.html opciones.html"), QStringLiteral("Menús: a.html"),
                     QStringLiteral("Menus: b.html"), QStringLiteral("Ñandú: c.html d.html")}));
}

TEST(HelpIndex, TheSectionOfAKeywordIsTheHeadingThatNamesIt) {
    QTextDocument page;
    page.setHtml(
        QStringLiteral("<h1>Ficheros de proyecto</h1><p>Un proyecto se guarda.</p>"     // blocks 0, 1
                       "<h2>Guardar</h2><p>Escribe el fichero autorun.inf aparte.</p>"  // 2, 3
                       "<h2>Abrir</h2><p>Lee un AUTORUN.INF o un proyecto.</p>"));      // 4, 5
    const struct {
        const char* keyword;
        int block;
    } cases[] = {
        {"abrir", 4},        // a heading names it
        {"autorun.inf", 2},  // the first paragraph that names it is under "Guardar"
        {"proyecto", -1},    // the title names it: the top of the page
        {"se guarda", -1},   // named under the title only
        {"no aparece", -1}, {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(keywordSection(page, QString::fromUtf8(c.keyword)), c.block) << c.keyword;
}

class HelpViewerIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        m_help = HelpCollection::open(QStringLiteral(KMR_HELP_FILE), &error);
        ASSERT_NE(m_help, nullptr) << error.toStdString();
        m_window.setCollection(m_help.get());
        // Small, so that a page is longer than the view and a section can come to its top.
        m_window.resize(520, 320);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        m_window.showIndexTab();
        QApplication::processEvents();
    }
    template <class T>
    T* find(const char* name) {
        return m_window.findChild<T*>(QLatin1String(name));
    }
    // Types `text` into the index's line and presses Enter.
    void enter(const QString& text) {
        find<QLineEdit>("IndiceTexto")->setText(text);
        QTest::keyClick(find<QLineEdit>("IndiceTexto"), Qt::Key_Return);
        QApplication::processEvents();
    }

    std::unique_ptr<HelpCollection> m_help;
    HelpWindow m_window;
};

TEST_F(HelpViewerIndexTest, EachKeywordIsOneEntryAndEnterOpensItsSection) {
    auto* index = find<QListWidget>("Indice");
    auto* pages = find<QListWidget>("IndicePaginas");
    ASSERT_TRUE(index != nullptr && pages != nullptr);
    QStringList seen;
    for (int i = 0; i < index->count(); ++i) {
        const QString folded = index->item(i)->text().toCaseFolded();
        EXPECT_FALSE(seen.contains(folded)) << index->item(i)->text().toStdString();
        seen << folded;
    }

    // One page: Enter opens it with the section that the keyword names at the top.
    enter(QStringLiteral("abrir"));
    EXPECT_EQ(m_window.currentPage(), QStringLiteral("proyectos.html"));
    QTextDocument* doc = m_window.browser()->document();
    const int block = keywordSection(*doc, QStringLiteral("abrir"));
    ASSERT_GT(block, 0);
    const int top = qRound(doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(block)).top());
    const QScrollBar* bar = m_window.browser()->verticalScrollBar();
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(bar->value(), std::min(top, bar->maximum()));

    // Several pages: the entry lists them, and Enter there opens the chosen one.
    enter(QStringLiteral("barra de estado"));
    QStringList listed;
    for (int i = 0; i < pages->count(); ++i) listed << pages->item(i)->data(Qt::UserRole).toString();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("opciones.html"), QStringLiteral("ventana.html")}));
    EXPECT_EQ(QApplication::focusWidget(), pages);
    pages->setCurrentRow(1);
    QTest::keyClick(pages, Qt::Key_Return);
    EXPECT_EQ(m_window.currentPage(), pages->item(1)->data(Qt::UserRole).toString());

    enter(QStringLiteral("autorun.inf"));
    EXPECT_GE(pages->count(), 3);
}

// A title longer than the panel is wide wraps onto a second line instead of ending in "...".
TEST_F(HelpViewerIndexTest, SearchResultsShowWholeTitles) {
    find<QTabWidget>("Pestanas")->setCurrentIndex(2);
    auto* query = find<QLineEdit>("BuscarTexto");
    query->setText(QStringLiteral("menú"));
    QTest::keyClick(query, Qt::Key_Return);
    QApplication::processEvents();
    auto* results = find<QListWidget>("Resultados");
    ASSERT_GT(results->count(), 3);
    const int room = results->viewport()->width();
    bool wrapped = false;
    for (int i = 0; i < results->count(); ++i) {
        const QListWidgetItem* item = results->item(i);
        const QRect shown = results->visualItemRect(item);
        const QRect need =
            results->fontMetrics().boundingRect(QRect(0, 0, shown.width(), 10000), Qt::TextWordWrap, item->text());
        EXPECT_LE(shown.right(), room) << item->text().toStdString();
        EXPECT_GE(shown.height(), need.height()) << item->text().toStdString();
        wrapped = wrapped || need.height() > results->fontMetrics().height();
    }
    EXPECT_TRUE(wrapped) << "no title was long enough to need a second line: the test shows nothing";
}

}  // namespace
}  // namespace kmr::gui
