// The help file that the build compiles, and the viewer's answer to each context number.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

#include "help/help.h"
#include "help/help_collection.h"
#include "help/help_window.h"
#include "support/scripted_prompts.h"

namespace kmr::gui {
namespace {

const QString kBuiltHelp = QStringLiteral(KMR_HELP_FILE);

std::unique_ptr<HelpCollection> builtHelp() {
    QString error;
    auto help = HelpCollection::open(kBuiltHelp, &error);
    EXPECT_NE(help, nullptr) << error.toStdString();
    return help;
}

void collectTopics(const QList<HelpTopic>& topics, QStringList& pages) {
    for (const HelpTopic& t : topics) {
        if (!t.page.isEmpty()) pages << t.page;
        collectTopics(t.children, pages);
    }
}

QString pageSource(const HelpCollection& help, const QString& page) {
    QFile f(QLatin1Char(':') + help.url(page).path());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Every entry of the contents and every link inside a page leads to a page (and an anchor) that the
// built file holds, and no page is left out of the contents.
TEST(HelpFile, EveryLinkLeadsToAPageOfTheBuiltFile) {
    const auto help = builtHelp();
    ASSERT_NE(help, nullptr);
    QStringList targets;
    collectTopics(help->contents(), targets);
    QSet<QString> inContents;
    for (const QString& t : targets) inContents.insert(t.section(QLatin1Char('#'), 0, 0));

    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const QString& page : help->pages()) {
        EXPECT_TRUE(inContents.contains(page)) << page.toStdString() << " is missing from the contents";
        EXPECT_FALSE(help->pageTitle(page).isEmpty()) << page.toStdString();
        const QString html = pageSource(*help, page);
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            if (link.startsWith(QLatin1String("http")) || link.endsWith(QLatin1String(".css"))) continue;
            targets << (link.startsWith(QLatin1Char('#')) ? page + link : link);
        }
    }
    ASSERT_GT(targets.size(), 40);
    for (const QString& target : targets) {
        const QString page = target.section(QLatin1Char('#'), 0, 0);
        ASSERT_TRUE(help->hasPage(page)) << target.toStdString();
        const QString anchor = target.section(QLatin1Char('#'), 1);
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(pageSource(*help, page).contains(QStringLiteral("name=\"%1\"").arg(anchor)))
                << target.toStdString();
        }
    }
}

TEST(HelpFile, IndexAndSearchFindThePages) {
    const auto help = builtHelp();
    ASSERT_NE(help, nullptr);
    const struct {
        QString keyword;
        QString page;
    } keywords[] = {
        {QStringLiteral("shellexecute"), QStringLiteral("objetos.html")},
        {QStringLiteral("UTF-16"), QStringLiteral("compilar.html")},
        {QStringLiteral("kmrt"), QStringLiteral("plantillas.html")},
        {QStringLiteral("códigos de salida"), QStringLiteral("kmrc.html")},
    };
    for (const auto& k : keywords) {
        bool found = false;
        for (const HelpKeyword& entry : help->index())
            found = found || (entry.keyword == k.keyword && entry.page == k.page);
        EXPECT_TRUE(found) << k.keyword.toStdString();
    }
    // Accents and letter case do not matter; every word must be on the page.
    const struct {
        QString query;
        QString firstPage;
    } searches[] = {
        {QStringLiteral("PAGINA de codigos"), QStringLiteral("compilar.html")},
        {QStringLiteral("referencia peligrosa icono"), QStringLiteral("conflictos.html")},
        {QStringLiteral("carpeta mailto explorer"), QStringLiteral("constructor_explorar.html")},
    };
    for (const auto& s : searches) {
        const QList<HelpHit> hits = help->search(s.query);
        ASSERT_FALSE(hits.isEmpty()) << s.query.toStdString();
        EXPECT_EQ(hits.first().page, s.firstPage) << s.query.toStdString();
    }
    EXPECT_TRUE(help->search(QStringLiteral("compilar zzzyyyxxx")).isEmpty());
}

class HelpTest : public ::testing::Test {
protected:
    void TearDown() override { m_help.reset(); }
    test::ScriptedPrompts m_prompts;
    std::unique_ptr<Help> m_help = std::make_unique<Help>(m_prompts, nullptr);
};

// F1 and each "Ayuda" button open their topic; Contenidos1 the contents.
TEST_F(HelpTest, EachContextNumberOpensItsTopic) {
    m_help->setHelpFile(kBuiltHelp);
    const struct {
        int context;
        QString page;
        QString title;
    } cases[] = {
        {kHelpMain, QStringLiteral("inicio.html"), QStringLiteral("Bienvenido a KMR")},
        {kHelpWizard, QStringLiteral("asistente.html"), QStringLiteral("El asistente de nuevo proyecto")},
        {kHelpBuilder, QStringLiteral("constructor.html"), QStringLiteral("El asistente de edición de comandos")},
        {kHelpOptions, QStringLiteral("opciones.html"), QStringLiteral("Opciones")},
        {kHelpDiscProperties, QStringLiteral("propiedades.html"), QStringLiteral("Propiedades del disco")},
        {77, QStringLiteral("inicio.html"), QStringLiteral("Bienvenido a KMR")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_help->showContext(c.context)) << c.context;
        HelpWindow* w = m_help->window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), QStringLiteral("HelpWindow"));
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->currentPage(), c.page) << c.context;
        EXPECT_EQ(w->browser()->documentTitle(), c.title) << c.context;
        // The contents show where the page stands.
        const QTreeWidgetItem* current = w->findChild<QTreeWidget*>(QStringLiteral("Contenido"))->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->text(0), c.title) << c.context;
    }
    ASSERT_TRUE(m_help->showContents());
    EXPECT_EQ(m_help->window()->findChild<QTabWidget*>(QStringLiteral("Pestanas"))->currentIndex(), 0);
    EXPECT_TRUE(m_prompts.messages.empty());
}

// The viewer opens whole on the screen, and Escape closes it as it closes a dialog (opened from a modal
// dialog's "Ayuda" the viewer is modal too, and Escape is the way back).
TEST_F(HelpTest, TheViewerStandsWholeOnItsScreenAndEscapeClosesIt) {
    m_help->setHelpFile(kBuiltHelp);
    ASSERT_TRUE(m_help->showContext(kHelpMain));
    HelpWindow* w = m_help->window();
    ASSERT_NE(w, nullptr);
    const QRect room = w->screen()->availableGeometry();
    const QRect placed(w->pos(), w->size());
    EXPECT_TRUE(room.contains(placed)) << placed.x() << "," << placed.y() << " " << placed.width() << "x"
                                       << placed.height() << " on " << room.width() << "x" << room.height();
    QTest::keyClick(w->browser(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    ASSERT_TRUE(m_help->showContents());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(m_prompts.messages.empty());
}

// No help, or something that is not a help file: a message each time help is asked for, never a crash.
TEST_F(HelpTest, AMissingOrBrokenHelpFileIsReported) {
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("kmr.hlp"));
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(3000, 'x'));
    f.close();
    const QString missing = QStringLiteral("No se encuentra el fichero de ayuda.");
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {QString(), missing},
        {dir.filePath(QStringLiteral("no-esta.hlp")), missing},
        {garbage,
         QStringLiteral("El fichero \"%1\" no es un fichero de ayuda válido.").arg(QDir::toNativeSeparators(garbage))},
        {QStringLiteral(KMR_RESOURCES_DIR "/pictures/banner.jpg"), QString()},
    };
    for (const auto& c : cases) {
        m_prompts.messages.clear();
        m_help->setHelpFile(c.path);
        EXPECT_FALSE(m_help->showContext(kHelpMain));
        EXPECT_FALSE(m_help->showContents());
        ASSERT_EQ(m_prompts.messages.size(), 2u) << c.path.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(m_prompts.messages[0].text, c.message);
        }
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::Ok);
    }
    // A good file afterwards works at once.
    m_prompts.messages.clear();
    m_help->setHelpFile(kBuiltHelp);
    EXPECT_TRUE(m_help->showContext(kHelpOptions));
    EXPECT_TRUE(m_prompts.messages.empty());
}

TEST(HelpFileLocation, BesideTheProgramOrInstalled) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("prefix/bin")) && root.mkpath(QStringLiteral("prefix/share/kmr")));
    const QString program = root.filePath(QStringLiteral("prefix/bin/kmr"));
    const QString beside = root.filePath(QStringLiteral("prefix/bin/kmr.hlp"));
    const QString installed = root.filePath(QStringLiteral("prefix/share/kmr/kmr.hlp"));
    EXPECT_EQ(findHelpFile(program), beside);  // neither: the place the message speaks of
    ASSERT_TRUE(QFile::copy(kBuiltHelp, installed));
    EXPECT_EQ(findHelpFile(program), installed);
    ASSERT_TRUE(QFile::copy(kBuiltHelp, beside));
    EXPECT_EQ(findHelpFile(program), beside);
}

}  // namespace
}  // namespace kmr::gui
