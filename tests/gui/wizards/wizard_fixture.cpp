#include "wizards/wizard_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include "base/qt_text.h"

namespace kmr::gui::test {

QByteArray templateBytes(const TemplateFile& t) {
    QStringList lines = {
        QStringLiteral("[Brenlowe KMR Template]"),
        QStringLiteral("VersioMajor=2"),
        QStringLiteral("VersioMenor=3"),
        QStringLiteral("Nom=") + t.name,
        QStringLiteral("Icona=%1").arg(t.picture),
        QStringLiteral("Explicacio=") + t.explanation,
        QStringLiteral("[ParametresGenerals]"),
        QStringLiteral("Programa=") + t.program,
        QStringLiteral("Icona=") + t.icon,
        QStringLiteral("Etiqueta=") + t.label,
        QStringLiteral("Recurs=") + t.resource,
        QStringLiteral("Menus=%1").arg(t.menus.size()),
        QStringLiteral("MenuPredeterminat=%1").arg(t.defaultMenu),
    };
    for (std::size_t k = 0; k < t.menus.size(); ++k) {
        lines << QStringLiteral("[Menu%1]").arg(k + 1) << QStringLiteral("Etiqueta=") + qs(t.menus[k].text)
              << QStringLiteral("Comandament=") + qs(t.menus[k].command)
              << QStringLiteral("NomIntern=") + qs(t.menus[k].name);
    }
    // Windows-1252 agrees with Latin-1 on every letter these tests use.
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

void writeTemplate(const QString& path, const TemplateFile& t) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(templateBytes(t));
}

TemplateFile installerTemplate() {
    TemplateFile t;
    t.name = QStringLiteral("Instalador");
    t.explanation = QStringLiteral("Un disco que instala un programa.");
    t.program = QStringLiteral("setup.exe");
    t.icon = QStringLiteral("setup.exe,0");
    t.label = QStringLiteral("Instalación");
    t.defaultMenu = 2;
    t.menus = {wizardMenu("Léame", "notepad leame.txt", "leame"), wizardMenu("Instalar", "setup.exe", "instalar")};
    return t;
}

QStringList menuRows(const std::vector<kmr::WizardMenu>& menus) {
    QStringList rows;
    for (const kmr::WizardMenu& m : menus) {
        rows << QStringLiteral("%1|%2|%3|%4").arg(qs(m.text), qs(m.command), qs(m.name)).arg(static_cast<int>(m.kind));
    }
    return rows;
}

kmr::WizardMenu wizardMenu(const char* text, const char* command, const char* name, bool isDefault) {
    return {text, command, name, isDefault ? kmr::Kind::DefaultMenu : kmr::Kind::PlainMenu};
}

}  // namespace kmr::gui::test
