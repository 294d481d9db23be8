#include "wizards/wizard_fixture.h"

#include "base/qt_text.h"

namespace kmr::gui::test {

const QByteArray kInstallerTemplate =
    "[Brenlowe KMR Template]\r\nVersioMajor=2\r\nVersioMenor=3\r\nNom=Instalador\r\nIcona=0\r\n"
    "Explicacio=Un disco que instala un programa.\r\n"
    "[ParametresGenerals]\r\nPrograma=setup.exe\r\nIcona=setup.exe,0\r\nEtiqueta=Instalaci\xf3n\r\nRecurs=0\r\n"
    "Menus=2\r\nMenuPredeterminat=2\r\n"
    "[Menu1]\r\nEtiqueta=L\xe9\x61me\r\nComandament=notepad leame.txt\r\nNomIntern=leame\r\n"
    "[Menu2]\r\nEtiqueta=Instalar\r\nComandament=setup.exe\r\nNomIntern=instalar\r\n";

QStringList menuRows(const std::vector<kmr::WizardMenu>& menus) {
    QStringList rows;
    for (const kmr::WizardMenu& m : menus) {
        rows << QStringLiteral("%1|%2|%3|%4").arg(qs(m.text), qs(m.command), qs(m.name)).arg(static_cast<int>(m.kind));
    }
    return rows;
}

}  // namespace kmr::gui::test
