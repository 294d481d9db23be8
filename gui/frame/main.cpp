// The editor's entry: settings store, main frame, start-up, event loop.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSet>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "base/guarded_application.h"
#include "base/interface_setup.h"
#include "base/pictures.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "frame/editor_arguments.h"
#include "frame/main_window.h"
#include "platform/data_paths.h"
#include "project/project_window.h"

namespace {

// With KMR_EXIT_AT_FIRST_PAINT set, the start-up benchmark (bench/startup.sh) learns when the frame
// was first painted, with the CPU time and peak memory spent until then, and the program quits.
class FirstPaintProbe : public QObject {
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

// With KMR_REPORT_OPENED_MS=N set, the double-start benchmark (bench/double_start.sh) learns which
// projects this instance opened: each file once as "opened PATH", and the program quits after N ms.
class OpenedProbe : public QObject {
public:
    OpenedProbe(const kmr::gui::MainWindow& frame, int quitAfterMs) : m_frame(frame) {
        auto* scan = new QTimer(this);
        connect(scan, &QTimer::timeout, this, &OpenedProbe::report);
        scan->start(20);
        QTimer::singleShot(quitAfterMs, this, [this] {
            report();
            QCoreApplication::quit();
        });
    }

private:
    void report() {
        for (const kmr::gui::ProjectWindow* w : m_frame.projectWindows()) {
            if (m_seen.contains(w)) continue;
            m_seen.insert(w);
            std::printf("opened %s\n", w->filePath().toLocal8Bit().constData());
            std::fflush(stdout);
        }
    }
    const kmr::gui::MainWindow& m_frame;
    QSet<const kmr::gui::ProjectWindow*> m_seen;
};

// Answers --help and --version, and refuses a line it cannot read, before any window or display is
// needed. Returns the exit code, or -1 to go on.
int answerCommandLine(const std::vector<std::string>& args) {
    const kmr::gui::EditorArguments parsed = kmr::gui::parseEditorArguments(args);
    switch (parsed.action) {
        case kmr::gui::EditorArguments::Action::Help: std::fputs(kmr::gui::editorHelpText().c_str(), stdout); return 0;
        case kmr::gui::EditorArguments::Action::Version:
            std::fputs(kmr::gui::editorVersionText().c_str(), stdout);
            return 0;
        case kmr::gui::EditorArguments::Action::UsageError:
            std::fprintf(stderr, "kmr: %s (kmr --help muestra la ayuda)\n", parsed.error.c_str());
            return 2;
        case kmr::gui::EditorArguments::Action::Run: break;
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> line(argv + std::min(argc, 1), argv + argc);
    if (const int code = answerCommandLine(line); code >= 0) return code;
    kmr::gui::GuardedApplication app(argc, argv);
    // No display name: the platform would append it to every title, and the titles are the
    // program's own ("Quillmere", "Error", "Atención"...). The desktop entry names the program.
    QApplication::setApplicationName(QStringLiteral("kmr"));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kmr::platform::desktopId()));
    // The help window, the about box and the dialogs carry the program's own icon.
    QApplication::setWindowIcon(QIcon(kmr::gui::programIcon()));
    kmr::gui::QtSpanishTranslator qtTexts;
    kmr::gui::installQtSpanish(qtTexts);
    kmr::gui::useInterfaceFont();

    kmr::gui::StartOptions start;
    start.programFile = QApplication::applicationFilePath();
    const std::string project = kmr::gui::parseEditorArguments(line).project;
    // A running instance may sit in another folder, so a handed path has to be absolute.
    if (!project.empty()) {
        start.arguments << QFileInfo(QFile::decodeName(QByteArray::fromStdString(project))).absoluteFilePath();
    }

    const QString settingsFolder = kmr::gui::IniSettingsStore::defaultFolder();
    // Held while this instance runs, beside the settings that carry the hand-off.
    start.instanceLockPath = QDir(settingsFolder).filePath(QStringLiteral("kmr.lock"));
    kmr::gui::IniSettingsStore store(settingsFolder);
    kmr::gui::QtPrompts prompts;
    kmr::gui::MainWindow frame(prompts, store, start);
    prompts.setParent(&frame);
    app.setPrompts(&prompts);
    if (!frame.startUp()) return 0;
    FirstPaintProbe probe;
    if (qEnvironmentVariableIsSet("KMR_EXIT_AT_FIRST_PAINT")) frame.installEventFilter(&probe);
    std::unique_ptr<OpenedProbe> opened;
    if (qEnvironmentVariableIsSet("KMR_REPORT_OPENED_MS"))
        opened = std::make_unique<OpenedProbe>(frame, qEnvironmentVariableIntValue("KMR_REPORT_OPENED_MS"));
    frame.show();
    const int code = QApplication::exec();
    // The prompts go before the application does.
    app.setPrompts(nullptr);
    return code;
}
