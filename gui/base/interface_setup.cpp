#include "base/interface_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kmr::gui {

bool installQtSpanish(QTranslator& translator) {
    if (!translator.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
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
