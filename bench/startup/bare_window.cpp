// The yardstick of the editor's start-up: a bare Qt main window with a multi-document area, a menu
// bar and a tool bar, and nothing behind them. With KMR_EXIT_AT_FIRST_PAINT set it prints when its
// window was first painted and quits, exactly as the editor does.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            const double cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
            std::printf("first-paint %lld cpu-ms %.1f maxrss-kb %ld\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, cpuMs, usage.ru_maxrss);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Ventana"));
    window.resize(626, 532);
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    QStyle* style = QApplication::style();
    QToolBar* bar = window.addToolBar(QStringLiteral("Barra"));
    const char* menus[] = {"&Archivo", "&Edición", "Ver", "&Ventanas", "Ay&uda"};
    for (const char* title : menus) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(title));
        for (int i = 0; i < 6; ++i) {
            QAction* a = menu->addAction(style->standardIcon(QStyle::SP_FileIcon), QStringLiteral("Orden %1").arg(i));
            bar->addAction(a);
        }
    }
    window.statusBar();
    FirstPaint probe;
    if (qEnvironmentVariableIsSet("KMR_EXIT_AT_FIRST_PAINT")) window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
