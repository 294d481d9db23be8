// The frame's help, about, update and web commands, and the splash window at the first activation.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "autorun/disc_commands.h"
#include "autorun/disc_preview_dialog.h"
#include "frame/options_dialog.h"
#include "help/help.h"
#include "help/help_window.h"
#include "help/splash_window.h"
#include "support/frame_fixture.h"
#include "support/modal_driver.h"
#include "wizards/command_builder_dialog.h"
#include "wizards/new_project_wizard.h"

namespace kmr::gui::test {
namespace {

const QString kMaker = QStringLiteral("http://www.brenlowe-pexilon.example");

class HelpCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        // The real help file instead of the fixture's stand-in.
        QFile::remove(path(QStringLiteral("bin/kmr.hlp")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KMR_HELP_FILE), path(QStringLiteral("bin/kmr.hlp"))));
    }
    MainWindow& startQuietly() {
        MainWindow& f = makeFrame();
        EXPECT_TRUE(f.startUp());
        key().writeBool(QStringLiteral("Asistente"), false);
        key().writeBool(QStringLiteral("Bienvenida"), false);
        f.show();
        f.firstActivation();
        return f;
    }
    QString helpPage() {
        HelpWindow* w = m_frame->help().window();
        return w != nullptr && w->isVisible() ? w->currentPage() : QString();
    }
};

// Each web command of the menu and the tool bar opens its page, and only that.
TEST_F(HelpCommandsTest, EachWebCommandOpensItsPage) {
    startQuietly();
    const struct {
        const char* action;
        QString address;
    } cases[] = {
        {"ManualOnLine1", kMaker + QStringLiteral("/manual/kmr/index.htm")},
        {"AyudaOnLineBoton1", kMaker + QStringLiteral("/manual/kmr/index.htm")},
        {"Drevanto1", kMaker + QStringLiteral("/programas/drevanto/index.htm")},
        {"OtrosProgramas1", kMaker + QStringLiteral("/programas/index.htm")},
        {"OtrosProyectos1", kMaker + QStringLiteral("/programas/proximos.htm")},
        {"VisitarPexilon1", kMaker},
        {"VisitarWendrik1", QStringLiteral("http://www.wendrik.example/")},
    };
    for (const auto& c : cases) {
        m_opened.clear();
        QAction* a = action(c.action);
        ASSERT_TRUE(a->isEnabled()) << c.action;
        a->trigger();
        EXPECT_EQ(m_opened, QStringList{c.address}) << c.action;
    }
    EXPECT_TRUE(m_prompts.messages.empty());
}

// The update command opens the site that the options select (its question: WebLinksTest).
TEST_F(HelpCommandsTest, UpdateOpensTheSiteOfTheOptions) {
    startQuietly();
    const struct {
        const char* action;
        int site;
        QStringList opened;
    } cases[] = {
        {"ActualizarWeb1", 0, {kMaker + QStringLiteral("/kmr/index.htm")}},
        {"DescargaBoton1", 4, {QStringLiteral("http://otro.example/kmr")}},
        {"ActualizarWeb1", 7, {}},  // a selection outside 0 to 4 has no address
    };
    for (const auto& c : cases) {
        key().writeInt(QStringLiteral("Actualizar"), c.site);
        key().writeText(QStringLiteral("Otro"), QStringLiteral("http://otro.example/kmr"));
        m_frame->optionsDialog()->readOptions();
        m_opened.clear();
        m_prompts.messages.clear();
        m_prompts.answer(Answer::Ok);
        action(c.action)->trigger();
        ASSERT_EQ(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Confirmación"));
        EXPECT_EQ(m_opened, c.opened) << c.action << " site " << c.site;
    }
}

// F1, the tool-bar button and every "Ayuda" button open their topic; Contenidos1 the contents.
TEST_F(HelpCommandsTest, EachHelpRequestOpensItsTopic) {
    startQuietly();
    const struct {
        const char* what;
        std::function<void()> ask;
        QString page;
    } cases[] = {
        {"Ayuda1", [&] { action("Ayuda1")->trigger(); }, QStringLiteral("inicio.html")},
        {"options", [&] { m_frame->optionsDialog()->findChild<QPushButton*>(QStringLiteral("Ayuda"))->click(); },
         QStringLiteral("opciones.html")},
        {"builder", [&] { m_frame->commandBuilder()->findChild<QPushButton*>(QStringLiteral("Ayuda"))->click(); },
         QStringLiteral("constructor.html")},
        {"wizard", [&] { m_frame->newProjectWizard()->findChild<QPushButton*>(QStringLiteral("Ayuda"))->click(); },
         QStringLiteral("asistente.html")},
        {"preview",
         [&] { m_frame->discCommands().previewDialog()->findChild<QPushButton*>(QStringLiteral("Ayuda"))->click(); },
         QStringLiteral("vista_previa.html")},
        {"preview's F1",
         [&] {
             DiscPreviewDialog* preview = m_frame->discCommands().previewDialog();
             preview->show();
             QApplication::setActiveWindow(preview);
             QTest::keyClick(preview, Qt::Key_F1);
             preview->hide();
         },
         QStringLiteral("vista_previa.html")},
        {"AyudaBoton1", [&] { action("AyudaBoton1")->trigger(); }, QStringLiteral("inicio.html")},
        {"Contenidos1", [&] { action("Contenidos1")->trigger(); }, QStringLiteral("inicio.html")},
    };
    for (const auto& c : cases) {
        c.ask();
        EXPECT_EQ(helpPage(), c.page) << c.what;
    }
    EXPECT_TRUE(m_prompts.messages.empty());
    m_frame->help().window()->close();
}

TEST_F(HelpCommandsTest, WithoutAHelpFileF1SaysSo) {
    startQuietly();
    QFile::remove(path(QStringLiteral("bin/kmr.hlp")));
    // The file went away after start-up: the request reads it and reports.
    m_frame->help().setHelpFile(QString());
    action("Ayuda1")->trigger();
    EXPECT_EQ(m_prompts.texts(), QStringList{QStringLiteral("No se encuentra el fichero de ayuda.")});
}

TEST_F(HelpCommandsTest, TheAboutBoxShowsModally) {
    startQuietly();
    auto ran =
        actOnNextModal(m_frame.get(), [](QWidget* w) { EXPECT_EQ(w->objectName(), QStringLiteral("TAboutBox")); });
    action("Creditos1")->trigger();
    EXPECT_TRUE(*ran);
}

// The first activation shows the splash modally when "Mensaje de bienvenida" is on; a tick of its own
// timer, triggered here instead of waited for, closes it.
TEST_F(HelpCommandsTest, FirstActivationShowsTheSplashWhenWelcomeIsOn) {
    for (const bool welcome : {true, false}) {
        MainWindow& f = makeFrame();
        ASSERT_TRUE(f.startUp());
        key().writeBool(QStringLiteral("Asistente"), false);
        key().writeBool(QStringLiteral("Bienvenida"), welcome);
        SplashWindow* splash = f.splashWindow();
        splash->timer()->setInterval(3600 * 1000);
        f.show();
        QString shown;
        QPoint shownAt;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                shown = m->objectName();
                shownAt = m->pos();
                splash->tick();
            }
        });
        poll.start();
        f.firstActivation();
        EXPECT_EQ(shown, welcome ? QStringLiteral("TForm3") : QString()) << welcome;
        if (welcome) {
            EXPECT_EQ(shownAt, SplashWindow::centredOver(f.frameGeometry(), splash->size()));
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        f.close();
        m_frame.reset();
    }
}

}  // namespace
}  // namespace kmr::gui::test
