// The editor's entry: settings store, main frame, start-up, event loop.

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTranslator>

#include "base/interface_setup.h"
#include "base/pictures.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "frame/main_window.h"
#include "platform/data_paths.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No display name: the platform would append it to every title, and the titles are the
    // program's own ("Quillmere", "Error", "Atención"...). The desktop entry names the program.
    QApplication::setApplicationName(QStringLiteral("kmr"));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kmr::platform::desktopId()));
    // The help window, the about box and the dialogs carry the program's own icon.
    QApplication::setWindowIcon(QIcon(kmr::gui::programIcon()));
    QTranslator qtTexts;
    kmr::gui::installQtSpanish(qtTexts);
    kmr::gui::useInterfaceFont();

    kmr::gui::StartOptions start;
    start.programFile = QApplication::applicationFilePath();
    const QStringList args = QApplication::arguments();
    // A running instance may sit in another folder, so a handed path has to be absolute.
    if (args.size() > 1) start.arguments << QFileInfo(args.at(1)).absoluteFilePath();

    kmr::gui::IniSettingsStore store(kmr::gui::IniSettingsStore::defaultFolder());
    kmr::gui::QtPrompts prompts;
    kmr::gui::MainWindow frame(prompts, store, start);
    prompts.setParent(&frame);
    if (!frame.startUp()) return 0;
    frame.show();
    return QApplication::exec();
}
