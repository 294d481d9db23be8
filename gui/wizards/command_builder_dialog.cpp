#include "wizards/command_builder_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"
#include "base/qt_text.h"

namespace kmr::gui {

using kmr::BuilderPage;

namespace {

const QString kFieldHint = QStringLiteral("Escriba aquí el comando que desea ejecutar");
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

const std::array<QString, 5>& kindCaptions() {
    static const std::array<QString, 5> captions = {
        QStringLiteral("Ejecutar programa"), QStringLiteral("Ejecutar recursos y ficheros"),
        QStringLiteral("Ejecutar recursos mutimedia"), QStringLiteral("Explorar ficheros y carpetas"),
        QStringLiteral("Navegar por Internet")};
    return captions;
}

QString controlName(const char* prefix, const char* suffix) { return QLatin1String(prefix) + QLatin1String(suffix); }

// A text field of the builder, with the hint that every one of them carries.
QLineEdit* builderField(const QString& name, QWidget* parent) {
    QLineEdit* field = makeTextField(name, parent);
    field->setToolTip(kFieldHint);
    return field;
}

QCheckBox* checkBox(const QString& text, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

// The icon code: a number that only its up/down arrows (or the arrow keys) change.
class CodeSpinBox : public QSpinBox {
public:
    explicit CodeSpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

// Writes a normalised value back only when it differs, so an untouched field keeps exactly the
// characters the user typed (and its cursor).
void writeBack(QLineEdit* field, const std::string& value) {
    if (field == nullptr || utf8(field->text()) == value) return;
    field->setText(qs(value));
}

MessageIcon messageIcon(kmr::MessageIcon icon) {
    return icon == kmr::MessageIcon::Information ? MessageIcon::Information : MessageIcon::Warning;
}

bool isPathPage(BuilderPage page) {
    return page == BuilderPage::Programa || page == BuilderPage::Recursos || page == BuilderPage::Multimedia ||
           page == BuilderPage::Icono;
}

QVBoxLayout* pageLayout(QWidget* page, const QString& headline, const QString& explanation) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(headline, page));
    layout->addWidget(makeExplanation(explanation, page));
    layout->addSpacing(6);
    return layout;
}

}  // namespace

CommandBuilderDialog::CommandBuilderDialog(EditState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state),
      m_prompts(prompts) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Asistente de edición de comandos"));

    // The pages go in by number, so the stack's index is the page number.
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Paginas"));
    m_pages->addWidget(makePathPage(BuilderPage::Programa));
    m_pages->addWidget(makePathPage(BuilderPage::Recursos));
    m_pages->addWidget(makePathPage(BuilderPage::Multimedia));
    m_pages->addWidget(makeExplorarPage());
    m_pages->addWidget(makeInternetPage());
    m_pages->addWidget(makePathPage(BuilderPage::Icono));
    m_pages->addWidget(makeChooserPage());

    auto* help = new QPushButton(QStringLiteral("&Ayuda"), this);
    help->setObjectName(QStringLiteral("Ayuda"));
    help->setToolTip(QStringLiteral("Pulse aquí para obtener ayuda sobre el proceso de recopilación de datos"));
    help->setAutoDefault(false);
    m_main = new QPushButton(this);
    m_main->setObjectName(QStringLiteral("Siguiente"));
    m_main->setToolTip(
        QStringLiteral("Pulse aquí para seleccionar la pantalla siguiente del asistente o para finalizar el "
                       "proceso (según texto)"));
    m_main->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("Cancelar"));
    cancel->setToolTip(QStringLiteral("Pulse aquí para cancelar el proceso de recopilación de datos"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_main);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(help, &QPushButton::clicked, this, &CommandBuilderDialog::requestHelp);
    connect(m_main, &QPushButton::clicked, this, &CommandBuilderDialog::advance);
    // The main button's caption goes with the page shown, however it came to be shown.
    connect(m_pages, &QStackedWidget::currentChanged, this, &CommandBuilderDialog::updateMainButton);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setCurrentPage(BuilderPage::Nuevo);
}

QWidget* CommandBuilderDialog::makeChooserPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PaginaNuevo"));
    page->setAccessibleName(QStringLiteral("Nuevo"));
    QVBoxLayout* layout = pageLayout(
        page, QStringLiteral("Crear un comando"),
        QStringLiteral(
            "Mediante este formulario usted podrá crear comandos a ejecutar de forma rápida y sencilla. "
            "Seleccione el tipo de comando que quiere crear de la siguiente lista y pulse sobre siguiente."));
    m_kindGroup = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(kindCaptions()[static_cast<std::size_t>(i)], page);
        option->setObjectName(QStringLiteral("Opcion%1").arg(i));
        option->installEventFilter(this);
        m_kindGroup->addButton(option, i);
        m_kindButtons[static_cast<std::size_t>(i)] = option;
        layout->addWidget(option);
    }
    m_kindButtons[0]->setChecked(true);
    connect(m_kindGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) m_kind = id;
    });
    layout->addStretch();
    return page;
}

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

QWidget* CommandBuilderDialog::makeExplorarPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PaginaExplorar"));
    page->setAccessibleName(QStringLiteral("Explorar"));
    QVBoxLayout* layout = pageLayout(page, QStringLiteral("Utilizar explorer"),
                                     QStringLiteral("Con explorer tiene muy diversas posibilidades de comandos: desde "
                                                    "explorar una carpeta local hasta visitar una página web."));
    DriveGroup& g = m_groups[static_cast<std::size_t>(BuilderPage::Explorar)];
    g.name = builderField(QStringLiteral("ExplorarRuta"), page);
    g.name->installEventFilter(this);
    g.drive = builderField(QStringLiteral("ExplorarUnidad"), page);
    g.drive->setMaximumWidth(g.drive->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 8);
    g.driveLabel = makeBuddyLabel(QStringLiteral("&Unidad:"), g.drive, QStringLiteral("ExplorarUnidadEtiqueta"), page);
    g.inCompilation = checkBox(QStringLiteral("&El fichero o carpeta se encontrará en la futura compilación"),
                               QStringLiteral("ExplorarCompilacion"), page);
    m_email = checkBox(QStringLiteral("&Se trata de una dirección de correo electrónico"),
                       QStringLiteral("ExplorarCorreo"), page);
    m_explorarLabel = makeBuddyLabel(QString(), g.name, QStringLiteral("ExplorarRutaEtiqueta"), page);
    m_explorarExample = makeExampleLine(QString(), QStringLiteral("ExplorarEjemplo"), page);

    auto* grid = new QGridLayout;
    grid->addWidget(m_explorarLabel, 0, 0, 1, 2);
    grid->addWidget(g.name, 1, 0, 1, 2);
    grid->addWidget(m_explorarExample, 2, 0, 1, 2);
    grid->addWidget(m_email, 3, 0, 1, 2);
    grid->addWidget(g.driveLabel, 4, 0);
    grid->addWidget(g.drive, 4, 1, Qt::AlignLeft);
    grid->addWidget(g.inCompilation, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
    setTabOrder(g.name, m_email);
    setTabOrder(m_email, g.drive);
    setTabOrder(g.drive, g.inCompilation);

    connect(g.inCompilation, &QCheckBox::toggled, this, [this] { updateDriveControls(BuilderPage::Explorar); });
    connect(m_email, &QCheckBox::toggled, this, [this] {
        updateDriveControls(BuilderPage::Explorar);
        updateExplorarTexts();
    });
    updateDriveControls(BuilderPage::Explorar);
    updateExplorarTexts();
    return page;
}

QWidget* CommandBuilderDialog::makeInternetPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PaginaInternet"));
    page->setAccessibleName(QStringLiteral("Internet"));
    QVBoxLayout* layout = pageLayout(
        page, QStringLiteral("Ejecute un recurso de internet"),
        QStringLiteral("Puede crear comandos para ejecutar páginas web, enviar e-mails, descargar ficheros, etc."));
    m_web = new QRadioButton(QStringLiteral("&Visitar web, descargar fichero"), page);
    m_web->setObjectName(QStringLiteral("InternetWeb"));
    m_internetEmail = new QRadioButton(QStringLiteral("&Enviar correo electrónico"), page);
    m_internetEmail->setObjectName(QStringLiteral("InternetCorreo"));
    m_address = builderField(QStringLiteral("InternetDireccion"), page);
    m_addressLabel = makeBuddyLabel(QString(), m_address, QStringLiteral("InternetDireccionEtiqueta"), page);
    m_addressExample = makeExampleLine(QString(), QStringLiteral("InternetEjemplo"), page);
    m_compatibility = checkBox(QStringLiteral("&Compatibilidad con Windows 95 (utilizar explorer)"),
                               QStringLiteral("InternetCompatibilidad"), page);

    layout->addWidget(m_web);
    layout->addWidget(m_internetEmail);
    layout->addSpacing(6);
    layout->addWidget(m_addressLabel);
    layout->addWidget(m_address);
    layout->addWidget(m_addressExample);
    layout->addWidget(m_compatibility);
    layout->addStretch();

    m_web->setChecked(true);
    selectInternetChoice(false);
    // Selecting a choice replaces the address with that choice's sample.
    connect(m_web, &QRadioButton::toggled, this, [this](bool on) {
        if (on) selectInternetChoice(false);
    });
    connect(m_internetEmail, &QRadioButton::toggled, this, [this](bool on) {
        if (on) selectInternetChoice(true);
    });
    return page;
}

CommandBuilderDialog::DriveGroup& CommandBuilderDialog::group(BuilderPage page) {
    return m_groups.at(static_cast<std::size_t>(page));
}
const CommandBuilderDialog::DriveGroup& CommandBuilderDialog::group(BuilderPage page) const {
    return m_groups.at(static_cast<std::size_t>(page));
}

void CommandBuilderDialog::setCurrentPage(BuilderPage page) {
    m_pages->setCurrentIndex(static_cast<int>(page));
    updateMainButton();
}

BuilderPage CommandBuilderDialog::currentPage() const { return static_cast<BuilderPage>(m_pages->currentIndex()); }

void CommandBuilderDialog::forceCompatibility() {
    m_compatibility->setChecked(true);
    m_compatibility->setEnabled(false);
}

void CommandBuilderDialog::releaseCompatibility() {
    m_compatibility->setChecked(false);
    m_compatibility->setEnabled(true);
}

bool CommandBuilderDialog::execOn(BuilderPage start, bool forcedCompatibility) {
    setCurrentPage(start);
    if (forcedCompatibility) forceCompatibility();
    exec();
    if (forcedCompatibility) releaseCompatibility();
    return !m_state.builderResult.isEmpty();
}

void CommandBuilderDialog::advance() {
    const BuilderPage page = currentPage();
    if (page != BuilderPage::Nuevo) {
        compose(page);
        return;
    }
    setCurrentPage(static_cast<BuilderPage>(m_kind));
    focusFirstControl();
}

void CommandBuilderDialog::focusFirstControl() {
    const BuilderPage page = currentPage();
    if (page == BuilderPage::Nuevo) {
        m_kindButtons[static_cast<std::size_t>(m_kind)]->setFocus();
    } else if (page == BuilderPage::Internet) {
        m_address->setFocus();
    } else {
        group(page).name->setFocus();
    }
}

void CommandBuilderDialog::requestHelp() { emit helpRequested(kBuilderHelpContext); }

kmr::BuilderFields CommandBuilderDialog::readFields(BuilderPage page) const {
    kmr::BuilderFields f;
    if (page == BuilderPage::Internet) {
        f.address = utf8(m_address->text());
        f.internetEmail = m_internetEmail->isChecked();
        f.compatibility = m_compatibility->isChecked();
        return f;
    }
    if (page == BuilderPage::Nuevo) return f;
    const DriveGroup& g = group(page);
    f.drive = utf8(g.drive->text());
    f.inCompilation = g.inCompilation->isChecked();
    if (page == BuilderPage::Explorar) {
        f.path = utf8(g.name->text());
        f.email = m_email->isChecked();
        return f;
    }
    f.name = utf8(g.name->text());
    f.folder = utf8(g.folder->text());
    if (page == BuilderPage::Icono) {
        f.multipleIcons = m_multipleIcons->isChecked();
        f.iconCode = m_code->value();
    }
    return f;
}

void CommandBuilderDialog::writeFields(BuilderPage page, const kmr::BuilderFields& f) {
    if (page == BuilderPage::Internet) {
        writeBack(m_address, f.address);
    } else if (page == BuilderPage::Explorar) {
        writeBack(group(page).name, f.path);
        writeBack(group(page).drive, f.drive);
    } else if (isPathPage(page)) {
        const DriveGroup& g = group(page);
        writeBack(g.name, f.name);
        writeBack(g.drive, f.drive);
        writeBack(g.folder, f.folder);
    }
}

void CommandBuilderDialog::compose(BuilderPage page) {
    const kmr::CompositionResult r = kmr::composeCommand(page, readFields(page));
    writeFields(page, r.fields);
    if (r.message) {
        m_prompts.message(qs(r.message->text), qs(r.message->title), messageIcon(r.message->icon), MessageButtons::Ok);
        return;
    }
    if (!r.accepted) return;
    m_state.builderResult = qs(r.result);
    if (r.resourceFlag) m_state.resourceFlag = *r.resourceFlag;
    accept();
}

void CommandBuilderDialog::updateDriveControls(BuilderPage page) {
    const DriveGroup& g = group(page);
    const bool email = page == BuilderPage::Explorar && m_email != nullptr && m_email->isChecked();
    const kmr::DriveControls c = kmr::driveControls(page, g.inCompilation->isChecked(), email);
    g.drive->setEnabled(c.driveEnabled);
    g.driveLabel->setEnabled(c.driveEnabled);
    setButtonFace(g.drive, c.driveButtonFace);
    g.inCompilation->setEnabled(c.compilationBoxEnabled);
}

void CommandBuilderDialog::updateExplorarTexts() {
    const kmr::ExplorarTexts t = kmr::explorarTexts(m_email->isChecked());
    m_explorarLabel->setText(QLatin1Char('&') + qs(t.pathLabel));
    m_explorarExample->setText(qs(t.example));
}

void CommandBuilderDialog::selectInternetChoice(bool email) {
    const kmr::InternetTexts t = kmr::internetTexts(email);
    m_addressLabel->setText(QLatin1Char('&') + qs(t.addressLabel));
    m_address->setText(qs(t.address));
    m_addressExample->setText(qs(t.example));
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

void CommandBuilderDialog::updateMainButton() {
    m_main->setText(currentPage() == BuilderPage::Nuevo ? QStringLiteral("&Siguiente") : QStringLiteral("&Insertar"));
    m_main->setEnabled(true);
}

void CommandBuilderDialog::done(int result) {
    QDialog::done(result);
    // Every close starts the next opening afresh on the chooser; the fields keep their texts.
    setCurrentPage(BuilderPage::Nuevo);
    m_kind = 0;
    m_kindButtons[0]->setChecked(true);
    m_compatibility->setEnabled(true);
}

void CommandBuilderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    m_state.builderResult.clear();
    updateMainButton();
    focusFirstControl();
}

bool CommandBuilderDialog::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* path = group(BuilderPage::Explorar).name;
    if (watched == path && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && !path->isReadOnly()) {
            const char32_t key = text.toUcs4().value(0);
            m_email->setChecked(kmr::emailBoxAfterKey(key, path->text().isEmpty(), m_email->isChecked()));
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (std::size_t i = 0; i < m_kindButtons.size(); ++i) {
            if (watched != m_kindButtons[i]) continue;
            m_kindButtons[i]->setChecked(true);
            m_kind = static_cast<int>(i);
            advance();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kmr::gui
