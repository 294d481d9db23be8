// The editor's entry: settings store, main frame, start-up, event loop.

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "base/pictures.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "frame/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("KMR 2.3"));
    QApplication::setApplicationName(QStringLiteral("KMR 2.3"));
    // The help window, the about box and the dialogs carry the program's own icon.
    QApplication::setWindowIcon(QIcon(kmr::gui::programIcon()));
    // The program speaks Spanish, so Qt's own texts (file dialogs, context menus) do too when the
    // system has the translation.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

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
