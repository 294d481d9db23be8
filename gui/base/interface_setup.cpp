#include "base/interface_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>

#include <cstring>

namespace kmr::gui {

QString QtSpanishTranslator::translate(const char* context, const char* sourceText, const char* disambiguation,
                                       int n) const {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (!text.isNull() || context == nullptr || sourceText == nullptr) return text;
    // The type column of the file dialogs: Qt 6 names these under the icon provider.
    if (std::strcmp(context, "QAbstractFileIconProvider") != 0) return text;
    static const struct {
        const char* source;
        const char* spanish;
    } kTypes[] = {{"Folder", "Carpeta"},
                  {"File Folder", "Carpeta de archivos"},
                  {"Drive", "Unidad"},
                  {"Unknown", "Desconocido"},
                  {"Shortcut", "Acceso directo"}};
    for (const auto& t : kTypes) {
        if (std::strcmp(sourceText, t.source) == 0) return QString::fromUtf8(t.spanish);
    }
    return text;
}

bool installQtSpanish(QtSpanishTranslator& translator) {
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    if (!translator.load(spanish, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    // File types (from the system's type names) and dates in the file dialogs follow the locale.
    QLocale::setDefault(spanish);
    return QCoreApplication::installTranslator(&translator);
}

void useInterfaceFont() {
    const QString verdana = QStringLiteral("Verdana");
    if (!QFont::substitutes(verdana).contains(QStringLiteral("DejaVu Sans"))) {
        QFont::insertSubstitution(verdana, QStringLiteral("DejaVu Sans"));
    }
    QApplication::setFont(QFont(verdana, 8));
}

}  // namespace kmr::gui
