// The about box TAboutBox and the splash window TForm3.

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "help/about_box.h"
#include "help/banner.h"
#include "help/splash_window.h"

namespace kmr::gui {
namespace {

TEST(AboutBox, ShowsItsTextsAndOpensTheContactPage) {
    QStringList opened;
    AboutBox box([&](const QString& a) { opened << a; });
    EXPECT_EQ(box.objectName(), QStringLiteral("TAboutBox"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Acerca de..."));
    EXPECT_EQ(box.size(), QSize(595, 323));
    EXPECT_EQ(box.font().family(), QStringLiteral("Verdana"));
    QStringList texts;
    for (const QLabel* l : box.findChildren<QLabel*>()) texts << l->text();
    for (const char* t :
         {"Versión 2.3.2006.18", "Programa freeware", "Programado para Windows 9x/Me/xp", "Contactar con el autor"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    }
    const auto* banner = box.findChild<Banner*>();
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->picture().size(), QSize(600, 129)) << banner->pictureError().toStdString();
    EXPECT_EQ(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().size(), QSize(64, 64));

    box.show();
    auto* link = box.findChild<QLabel*>(QStringLiteral("Contactar"));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{QStringLiteral("http://www.brenlowe-pexilon.example/contacto/index.htm")});
    box.findChild<QPushButton*>(QStringLiteral("Aceptar"))->click();
    EXPECT_FALSE(box.isVisible());
}

TEST(SplashWindow, ABorderlessBannerThatTheNextTickCloses) {
    SplashWindow splash;
    EXPECT_EQ(splash.objectName(), QStringLiteral("TForm3"));
    EXPECT_EQ(splash.size(), QSize(600, 129));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // The timer runs from the window's creation on, shown or not.
    EXPECT_EQ(splash.timer()->interval(), 2500);
    EXPECT_EQ(splash.timer()->timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(splash.timer()->isActive());

    splash.tick();  // hidden: nothing happens
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(splash.timer()->isActive());

    QMainWindow frame;
    frame.setGeometry(100, 80, 900, 700);
    bool wasShown = false;
    QPoint shownAt;
    QTimer::singleShot(0, &splash, [&] {
        wasShown = splash.isVisible();
        shownAt = splash.pos();
        splash.tick();
    });
    splash.showOver(&frame);  // returns once the tick has closed it
    EXPECT_TRUE(wasShown);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(shownAt, SplashWindow::centredOver(frame.frameGeometry(), QSize(600, 129)));
    EXPECT_EQ(SplashWindow::centredOver(QRect(100, 80, 900, 700), QSize(600, 129)), QPoint(250, 365));
    EXPECT_TRUE(splash.timer()->isActive());
}

}  // namespace
}  // namespace kmr::gui
