#include "autorun/disc_preview_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "autorun/disc_pictures.h"
#include "base/qt_text.h"
#include "disc/disc_check.h"
#include "disc/windows_preview.h"

namespace kmr::gui {

namespace {

using kmr::disc::DiscPreview;
using kmr::disc::WindowsVersion;

constexpr std::array<int, 4> kShownSizes = {16, 32, 48, 256};
// The biggest icon is drawn at half its size, so that the dialog fits on a small screen.
constexpr int kHalved = 256;

QLabel* wrapped(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The look of each version's AutoPlay choices: the title, the line under it and the colours.
struct WindowLook {
    const char* frame;
    const char* title;
};

WindowLook lookOf(WindowsVersion version) {
    switch (version) {
        case WindowsVersion::Xp:
            return {"QFrame#VentanaReproduccion { background: #ece9d8; border: 2px solid #0a246a; }",
                    "background: #0a246a; color: white; font-weight: bold; padding: 3px;"};
        case WindowsVersion::Vista7:
            return {"QFrame#VentanaReproduccion { background: #f4f7fb; border: 1px solid #8aa4c8; }",
                    "color: #1e3287; font-size: 11pt; padding: 3px;"};
        case WindowsVersion::Win8to11: break;
    }
    return {
        "QFrame#VentanaReproduccion { background: #202020; border: 1px solid #404040; } "
        "QFrame#VentanaReproduccion QLabel, QFrame#VentanaReproduccion QListWidget { color: white; "
        "background: #202020; }",
        "font-size: 11pt; font-weight: bold; padding: 3px;"};
}

}  // namespace

DiscPreviewDialog::DiscPreviewDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DiscPreview"));
    setWindowTitle(QStringLiteral("Vista previa del disco"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_version = new QComboBox(this);
    m_version->setObjectName(QStringLiteral("Windows"));
    for (const WindowsVersion v : kmr::disc::kWindowsVersions) m_version->addItem(qs(kmr::disc::versionName(v)));
    m_version->setCurrentIndex(static_cast<int>(WindowsVersion::Win8to11));
    m_drive = new QComboBox(this);
    m_drive->setObjectName(QStringLiteral("Unidad"));
    m_drive->addItems({QStringLiteral("CD o DVD"), QStringLiteral("Memoria USB (unidad extraíble)"),
                       QStringLiteral("Disco duro USB (unidad fija)")});
    auto* choice = new QHBoxLayout;
    for (const auto& [caption, box] :
         {std::pair{QStringLiteral("&Windows:"), m_version}, std::pair{QStringLiteral("U&nidad:"), m_drive}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choice->addWidget(label);
        choice->addWidget(box);
    }
    choice->addStretch();

    // What inserting the disc does, and the AutoPlay choices drawn as that version shows them.
    auto* insertion = new QGroupBox(QStringLiteral("Al insertar el disco"), this);
    m_insertion = wrapped(insertion, "Insercion");
    m_window = new QFrame(insertion);
    m_window->setObjectName(QStringLiteral("VentanaReproduccion"));
    m_windowTitle = wrapped(m_window, "TituloReproduccion");
    m_windowPrompt = wrapped(m_window, "IndicacionReproduccion");
    m_autoPlay = new QListWidget(m_window);
    m_autoPlay->setObjectName(QStringLiteral("ReproduccionAutomatica"));
    m_autoPlay->setSelectionMode(QAbstractItemView::NoSelection);
    m_autoPlay->setFocusPolicy(Qt::NoFocus);
    m_autoPlay->setFrameShape(QFrame::NoFrame);
    m_autoPlay->setIconSize(QSize(32, 32));
    auto* windowLayout = new QVBoxLayout(m_window);
    windowLayout->addWidget(m_windowTitle);
    windowLayout->addWidget(m_windowPrompt);
    windowLayout->addWidget(m_autoPlay);
    m_notes = wrapped(insertion, "Notas");
    auto* insertionLayout = new QVBoxLayout(insertion);
    insertionLayout->addWidget(m_insertion);
    insertionLayout->addWidget(m_window);
    insertionLayout->addWidget(m_notes);

    // The drive as the file manager lists it: on the window's white, the icon at each size and the name.
    auto* drive = new QGroupBox(QStringLiteral("En el explorador"), this);
    auto* icons = new QFrame(drive);
    icons->setObjectName(QStringLiteral("Iconos"));
    icons->setFrameShape(QFrame::StyledPanel);
    icons->setAutoFillBackground(true);
    icons->setBackgroundRole(QPalette::Base);
    auto* iconGrid = new QGridLayout(icons);
    for (std::size_t i = 0; i < kShownSizes.size(); ++i) {
        const int size = kShownSizes[i];
        const int drawn = size == kHalved ? size / 2 : size;
        m_icons[i] = new QLabel(icons);
        m_icons[i]->setObjectName(size == 48 ? QStringLiteral("Icono") : QStringLiteral("Icono%1").arg(size));
        m_icons[i]->setAlignment(Qt::AlignCenter);
        m_icons[i]->setFixedSize(drawn + 4, drawn + 4);
        m_iconSizes[i] =
            new QLabel(size == kHalved ? QStringLiteral("256 (a la mitad)") : QString::number(size), icons);
        iconGrid->addWidget(m_icons[i], 0, static_cast<int>(i), Qt::AlignHCenter | Qt::AlignBottom);
        iconGrid->addWidget(m_iconSizes[i], 1, static_cast<int>(i), Qt::AlignHCenter);
    }
    m_name = new QLabel(icons);
    m_name->setObjectName(QStringLiteral("Etiqueta"));
    m_name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_name->setTextFormat(Qt::PlainText);
    iconGrid->addWidget(m_name, 2, 0, 1, static_cast<int>(kShownSizes.size()));
    m_reason = wrapped(drive, "Motivo");
    m_doubleClick = wrapped(drive, "DobleClic");
    auto* driveLayout = new QVBoxLayout(drive);
    driveLayout->addWidget(icons);
    driveLayout->addWidget(m_reason);
    driveLayout->addWidget(m_doubleClick);

    auto* menuBox = new QGroupBox(QStringLiteral("Menú contextual del disco"), this);
    m_menu = new QListWidget(menuBox);
    m_menu->setObjectName(QStringLiteral("MenuContextual"));
    m_menu->setSelectionMode(QAbstractItemView::NoSelection);
    m_menu->setFocusPolicy(Qt::NoFocus);
    m_menu->setMinimumWidth(220);
    auto* menuLayout = new QVBoxLayout(menuBox);
    menuLayout->addWidget(m_menu);

    m_sources = wrapped(this, "Fuentes");

    // Close and help in the order of the platform's dialogs.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(QStringLiteral("Cerrar"));
    close->setObjectName(QStringLiteral("Cerrar"));
    QPushButton* help = buttons->button(QDialogButtonBox::Help);
    help->setText(QStringLiteral("Ayuda"));
    help->setObjectName(QStringLiteral("Ayuda"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &DiscPreviewDialog::helpRequested);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &DiscPreviewDialog::helpRequested);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(insertion, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(drive);
    right->addWidget(menuBox, 1);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(columns, 1);
    layout->addWidget(m_sources);
    layout->addWidget(buttons);

    connect(m_version, &QComboBox::currentIndexChanged, this, &DiscPreviewDialog::refresh);
    connect(m_drive, &QComboBox::currentIndexChanged, this, &DiscPreviewDialog::refresh);
    resize(760, 560);
}

void DiscPreviewDialog::showDisc(const kmr::Project& project, const kmr::DiscTarget& disc) {
    m_project = project;
    m_disc = disc;
    const kmr::disc::DiscIcon icon = kmr::disc::discIcon(project, disc);
    m_ico = icon.ico;
    m_iconReason = qs(icon.reason);
    if (!m_ico.empty() && iconAtSize(m_ico, 48).isNull()) {
        m_iconReason =
            QStringLiteral("Las imágenes del icono \"") + qs(icon.path) + QStringLiteral("\" no se pueden leer.");
        m_ico.clear();
    }
    // Changing the drive here changes only the preview: the project keeps its medium.
    const QSignalBlocker block(m_drive);
    m_drive->setCurrentIndex(static_cast<int>(kmr::disc::driveOf(disc.medium)));
    refresh();
}

void DiscPreviewDialog::refresh() {
    const auto version = static_cast<WindowsVersion>(std::max(0, m_version->currentIndex()));
    const auto drive = static_cast<kmr::disc::DriveType>(std::max(0, m_drive->currentIndex()));
    const DiscPreview preview = kmr::disc::previewDisc(m_project, m_disc.folder, version, drive);
    showInsertion(preview);
    showDrive(preview);
    showMenu(preview);

    // Every page the preview's rules come from, once, in the order they first come.
    std::vector<kmr::disc::Source> all;
    for (const auto* list : {&preview.insertion.sources, &preview.driveView.sources, &preview.doubleClick.sources,
                             &preview.menu.sources}) {
        for (const kmr::disc::Source s : *list) {
            if (std::find(all.begin(), all.end(), s) == all.end()) all.push_back(s);
        }
    }
    QStringList titles;
    for (const kmr::disc::Source s : all) titles << qs(kmr::disc::sourceInfo(s).title);
    m_sources->setText(
        QStringLiteral("Fuentes: ") + titles.join(QStringLiteral("; ")) +
        QStringLiteral(". Lo que no dicen se muestra como \"no documentado\"; la ayuda cita cada regla."));
}

void DiscPreviewDialog::showInsertion(const DiscPreview& preview) {
    const kmr::disc::InsertionView& in = preview.insertion;
    m_insertion->setText(qs(in.summary));
    m_autoPlay->clear();
    const bool choices = in.arrival == kmr::disc::Arrival::AutoPlay;
    m_window->setVisible(choices);
    if (choices) {
        const WindowLook look = lookOf(preview.version);
        m_window->setStyleSheet(QString::fromLatin1(look.frame));
        m_windowTitle->setStyleSheet(QString::fromLatin1(look.title));
        const QString label = qs(preview.driveView.label);
        switch (preview.version) {
            case WindowsVersion::Xp:
                m_windowTitle->setText(label);
                m_windowPrompt->setText(QStringLiteral("¿Qué desea que haga Windows?"));
                break;
            case WindowsVersion::Vista7:
                m_windowTitle->setText(QStringLiteral("Reproducción automática"));
                m_windowPrompt->setText(label + QStringLiteral(": opciones"));
                break;
            case WindowsVersion::Win8to11:
                m_windowTitle->setText(label);
                m_windowPrompt->setText(QStringLiteral("Elija qué hacer con este disco."));
                break;
        }
        for (const kmr::disc::AutoPlayEntry& e : in.entries) {
            const QStyle::StandardPixmap picture = e.fromDisc                        ? QStyle::SP_FileIcon
                                                   : e.detail == "Opción de Windows" ? QStyle::SP_DirOpenIcon
                                                                                     : QStyle::SP_ComputerIcon;
            auto* item = new QListWidgetItem(style()->standardIcon(picture), qs(e.text), m_autoPlay);
            item->setToolTip(qs(e.detail));
        }
    }
    QStringList notes;
    for (const std::string& n : in.notes) notes << qs(n);
    m_notes->setText(notes.join(QLatin1Char('\n')));
    m_notes->setVisible(!notes.isEmpty());
}

void DiscPreviewDialog::showDrive(const DiscPreview& preview) {
    const kmr::disc::DriveView& d = preview.driveView;
    const bool usb = preview.drive != kmr::disc::DriveType::CdDvd;
    m_standard = m_ico.empty();
    for (std::size_t i = 0; i < kShownSizes.size(); ++i) {
        const int size = kShownSizes[i];
        const bool shown = std::find(d.sizes.begin(), d.sizes.end(), size) != d.sizes.end();
        m_icons[i]->setVisible(shown);
        m_iconSizes[i]->setVisible(shown);
        if (!shown) continue;
        QPixmap picture = m_standard ? QPixmap() : iconAtSize(m_ico, size);
        if (picture.isNull()) picture = usb ? standardUsbPicture(size) : standardDiscPicture(size);
        if (size == kHalved)
            picture = picture.scaled(size / 2, size / 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_icons[i]->setPixmap(picture);
    }
    m_reason->setText(m_standard
                          ? m_iconReason + (usb ? QStringLiteral(" Se muestra el icono normal de una unidad USB.")
                                                : QStringLiteral(" Se muestra el icono normal de un CD."))
                          : QString());
    m_reason->setVisible(m_standard);
    m_name->setText(qs(d.label));
    m_doubleClick->setText(QStringLiteral("Doble clic: ") + qs(preview.doubleClick.text));
}

void DiscPreviewDialog::showMenu(const DiscPreview& preview) {
    m_menu->clear();
    bool ownEntries = false;
    for (const kmr::disc::MenuEntry& e : preview.menu.entries) {
        // A gap, as a menu's separator line, where Windows' own entries begin after the autorun ones.
        if (e.windows && !ownEntries && m_menu->count() > 0) {
            auto* gap = new QListWidgetItem(m_menu);
            gap->setFlags(Qt::NoItemFlags);
            gap->setSizeHint(QSize(0, 6));
        }
        ownEntries = ownEntries || e.windows;
        auto* item =
            new QListWidgetItem(qs(e.text) + (e.uncertain ? QStringLiteral(" (no documentado)") : QString()), m_menu);
        QFont font = m_menu->font();
        font.setBold(e.isDefault);
        font.setItalic(e.uncertain);
        item->setFont(font);
        if (e.uncertain) item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
}

}  // namespace kmr::gui
