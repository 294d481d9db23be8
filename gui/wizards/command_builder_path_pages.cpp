// The builder's path pages (Programa, Recursos, Multimedia, Icono): a name, a drive and a folder, and
// on Icono the icon's code.
#include "wizards/command_builder_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/qt_text.h"
#include "wizards/command_builder_pages.h"

namespace kmr::gui {

using kmr::BuilderPage;

namespace {

const QString kDriveExample =
    QStringLiteral("Por ejemplo: \"a:\", \"c:\", \"d:\". Si está en la compilación marque la casilla.");
const QString kFolderExample =
    QStringLiteral("Por ejemplo: \"carpeta1\", \"carpeta2\\programa\", \"windows\\system32\"");

// What tells the four path pages apart. The drive and folder example lines stand on the pages that
// show them; Multimedia and Icono have none.
struct PathPageTexts {
    const char* prefix;  // of the object names
    QString caption;
    QString headline;
    QString explanation;
    QString nameLabel;
    QString nameExample;
    QString compilationBox;
    bool driveAndFolderExamples;
};

PathPageTexts pathPageTexts(BuilderPage page) {
    switch (page) {
        case BuilderPage::Programa:
            return {"Programa",
                    QStringLiteral("Programa"),
                    QStringLiteral("Ejecute un programa"),
                    QStringLiteral("Introduzca la información requerida para ejecutar el programa deseado incluido en "
                                   "el CD que usted quiere compilar o residente en el equipo donde se verá este CD. "
                                   "Debe asegurarse de introducir la ruta adecuada."),
                    QStringLiteral("&Nombre del programa:"),
                    QStringLiteral("Por ejemplo: \"install.exe\", \"instalar.com\", \"calc.exe\", etc."),
                    QStringLiteral("&El programa se encontrará en la futura compilación"),
                    true};
        case BuilderPage::Recursos:
            return {"Recursos",
                    QStringLiteral("Recursos y ficheros"),
                    QStringLiteral("Ejecute un recurso"),
                    QStringLiteral("Rellene esta ficha si desea ejecutar un fichero de windows asociado a un programa, "
                                   "como por ejemplo un fichero de texto, de dibujo, de html o de compilación de KMR."),
                    QStringLiteral("&Nombre del recurso:"),
                    QStringLiteral("Por ejemplo: \"index.html\", \"micompilacion.kmr\", \"miimagen.bmp\""),
                    QStringLiteral("&El fichero se encontrará en la futura compilación"),
                    true};
        case BuilderPage::Multimedia:
            return {"Multimedia",
                    QStringLiteral("Multimedia"),
                    QStringLiteral("Ejecute un recurso multimedia"),
                    QStringLiteral("Introduciendo los datos solicitados creará el comando necesario para ejecutar "
                                   "ficheros multimedia, como por ejemplo ficheros de video MPEG-II DivX de video, mp3 "
                                   "de audio, etc."),
                    QStringLiteral("&Nombre del recurso multimedia:"),
                    QStringLiteral("Por ejemplo: \"pelicula.avi\", \"mivideo.mpeg\", \"cancion.mp3\""),
                    QStringLiteral("&El fichero se encontrará en la futura compilación"),
                    false};
        default:
            return {"Icono",
                    QStringLiteral("Icono"),
                    QStringLiteral("Muestre un icono"),
                    QStringLiteral("En Windows puede mostrar un icono que represente el contenido del CD. Deberá "
                                   "utilizar un icono contenido en el CD compilado o un icono estándar de Windows."),
                    QStringLiteral("&Nombre del icono o recurso:"),
                    QStringLiteral("Por ejemplo: \"autorun.ico\", \"shell32.dll\", \"programa.exe\", etc. y el código "
                                   "de icono."),
                    QStringLiteral("&El programa se encontrará en la futura compilación"),
                    false};
    }
}

QString controlName(const char* prefix, const char* suffix) { return QLatin1String(prefix) + QLatin1String(suffix); }

// The icon code: a number that only its up/down arrows (or the arrow keys) change.
class CodeSpinBox : public QSpinBox {
public:
    explicit CodeSpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

}  // namespace

QWidget* CommandBuilderDialog::makePathPage(BuilderPage which) {
    const PathPageTexts t = pathPageTexts(which);
    const char* p = t.prefix;
    auto* page = new QWidget(this);
    page->setObjectName(controlName("Pagina", p));
    page->setAccessibleName(t.caption);
    QVBoxLayout* layout = pageLayout(page, t.headline, t.explanation);

    DriveGroup& g = m_groups[static_cast<std::size_t>(which)];
    g.name = builderField(controlName(p, "Nombre"), page);
    g.drive = builderField(controlName(p, "Unidad"), page);
    g.drive->setMaximumWidth(g.drive->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 8);
    g.folder = builderField(controlName(p, "Carpeta"), page);
    g.inCompilation = checkBox(t.compilationBox, controlName(p, "Compilacion"), page);
    g.driveLabel = makeBuddyLabel(QStringLiteral("&Unidad:"), g.drive, controlName(p, "UnidadEtiqueta"), page);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(makeBuddyLabel(t.nameLabel, g.name, controlName(p, "NombreEtiqueta"), page), row, 0);
    grid->addWidget(g.name, row++, 1);
    grid->addWidget(makeExampleLine(t.nameExample, controlName(p, "NombreEjemplo"), page), row++, 1);
    if (which == BuilderPage::Icono) {
        m_multipleIcons = checkBox(QStringLiteral("&Recurso con varios iconos."), QStringLiteral("IconoVarios"), page);
        m_code = new CodeSpinBox(page);
        m_code->setObjectName(QStringLiteral("IconoCodigo"));
        m_code->setRange(0, kmr::kMaxIconCode);
        m_codeLabel = makeBuddyLabel(QStringLiteral("Códi&go:"), m_code, QStringLiteral("IconoCodigoEtiqueta"), page);
        auto* code = new QHBoxLayout;
        code->addWidget(m_multipleIcons);
        code->addSpacing(12);
        code->addWidget(m_codeLabel);
        code->addWidget(m_code);
        code->addStretch();
        grid->addLayout(code, row++, 1);
        connect(g.name, &QLineEdit::textChanged, this, &CommandBuilderDialog::iconNameChanged);
        connect(m_multipleIcons, &QCheckBox::toggled, this, &CommandBuilderDialog::updateIconCode);
        updateIconCode();
    }
    grid->addWidget(g.driveLabel, row, 0);
    grid->addWidget(g.drive, row++, 1);
    grid->addWidget(g.inCompilation, row++, 1);
    if (t.driveAndFolderExamples) {
        grid->addWidget(makeExampleLine(kDriveExample, controlName(p, "UnidadEjemplo"), page), row++, 1);
    }
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("&Carpeta local o del CD:"), g.folder, controlName(p, "CarpetaEtiqueta"), page),
        row, 0);
    grid->addWidget(g.folder, row++, 1);
    if (t.driveAndFolderExamples) {
        grid->addWidget(makeExampleLine(kFolderExample, controlName(p, "CarpetaEjemplo"), page), row++, 1);
    }
    grid->setColumnMinimumWidth(1, 320);
    layout->addLayout(grid);
    layout->addStretch();

    // Tab goes down the page as the controls stand, not in the order they were made.
    QWidget* previous = g.name;
    if (which == BuilderPage::Icono) {
        setTabOrder(previous, m_multipleIcons);
        setTabOrder(m_multipleIcons, m_code);
        previous = m_code;
    }
    setTabOrder(previous, g.drive);
    setTabOrder(g.drive, g.inCompilation);
    setTabOrder(g.inCompilation, g.folder);

    connect(g.inCompilation, &QCheckBox::toggled, this, [this, which] { updateDriveControls(which); });
    updateDriveControls(which);
    return page;
}

void CommandBuilderDialog::iconNameChanged(const QString& text) {
    if (text.isEmpty()) return;
    switch (kmr::iconNameReaction(utf8(text))) {
        case kmr::IconCheck::Check: m_multipleIcons->setChecked(true); break;
        case kmr::IconCheck::Uncheck: m_multipleIcons->setChecked(false); break;
        case kmr::IconCheck::Leave: break;
    }
}

void CommandBuilderDialog::updateIconCode() {
    const bool on = m_multipleIcons->isChecked();
    m_codeLabel->setEnabled(on);
    m_code->setEnabled(on);
    setButtonFace(m_code, !on);
}

}  // namespace kmr::gui
