#include "autorun/disc_preview_dialog.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QVBoxLayout>

#include "base/qt_text.h"
#include "disc/disc_check.h"
#include "disc/disc_view.h"

namespace kmr::gui {

namespace {

// The size of a large icon in the file manager's view of a drive.
constexpr int kIconSize = 48;

// The picture Windows shows for a CD that names no icon it can use: a silver disc with its hole.
QPixmap standardDiscPicture() {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kIconSize / 2.0, kIconSize / 2.0);
    QRadialGradient silver(centre, kIconSize / 2.0);
    silver.setColorAt(0.0, QColor(250, 250, 252));
    silver.setColorAt(0.55, QColor(200, 206, 216));
    silver.setColorAt(0.8, QColor(232, 220, 240));
    silver.setColorAt(1.0, QColor(170, 178, 190));
    p.setPen(QPen(QColor(110, 116, 128), 1.0));
    p.setBrush(silver);
    p.drawEllipse(centre, kIconSize / 2.0 - 1, kIconSize / 2.0 - 1);
    // The light that a disc's tracks throw back, in two opposite wedges.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 210, 255, 110));
    const QRectF disc(2, 2, kIconSize - 4, kIconSize - 4);
    p.drawPie(disc, 30 * 16, 40 * 16);
    p.drawPie(disc, 210 * 16, 40 * 16);
    p.setPen(QPen(QColor(120, 126, 138), 1.0));
    p.setBrush(QColor(225, 228, 234));
    p.drawEllipse(centre, 8, 8);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 3, 3);
    return pixmap;
}

// The icon file's biggest image, at the size of a large icon; a null pixmap when Qt reads none.
QPixmap largeIcon(const std::string& ico) {
    QByteArray bytes = QByteArray::fromStdString(ico);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    QImage best;
    do {
        const QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height()) best = image;
    } while (reader.jumpToNextImage());
    if (best.isNull()) return {};
    if (best.size() != QSize(kIconSize, kIconSize)) {
        best = best.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QPixmap::fromImage(best);
}

}  // namespace

DiscPreviewDialog::DiscPreviewDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DiscPreview"));
    setWindowTitle(QStringLiteral("Vista previa del disco"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // The drive as the file manager lists it: on the window's white, the icon and the name under it.
    auto* drive = new QFrame(this);
    drive->setObjectName(QStringLiteral("Unidad"));
    drive->setFrameShape(QFrame::StyledPanel);
    drive->setAutoFillBackground(true);
    drive->setBackgroundRole(QPalette::Base);
    m_icon = new QLabel(drive);
    m_icon->setObjectName(QStringLiteral("Icono"));
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setFixedSize(kIconSize + 8, kIconSize + 8);
    m_name = new QLabel(drive);
    m_name->setObjectName(QStringLiteral("Etiqueta"));
    m_name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_name->setWordWrap(true);
    m_name->setTextFormat(Qt::PlainText);
    m_name->setFixedWidth(120);
    auto* driveLayout = new QVBoxLayout(drive);
    driveLayout->addStretch();
    driveLayout->addWidget(m_icon, 0, Qt::AlignHCenter);
    driveLayout->addWidget(m_name, 0, Qt::AlignHCenter);
    driveLayout->addStretch();

    auto* menuCaption = new QLabel(QStringLiteral("Menú contextual del disco:"), this);
    m_menu = new QListWidget(this);
    m_menu->setObjectName(QStringLiteral("MenuContextual"));
    m_menu->setSelectionMode(QAbstractItemView::NoSelection);
    m_menu->setFocusPolicy(Qt::NoFocus);
    m_menu->setMinimumWidth(220);
    auto* menuLayout = new QVBoxLayout;
    menuLayout->addWidget(menuCaption);
    menuLayout->addWidget(m_menu);

    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("Motivo"));
    m_reason->setWordWrap(true);
    m_reason->setTextFormat(Qt::PlainText);
    m_usbNote = new QLabel(QStringLiteral("En una unidad USB Windows muestra el icono y la etiqueta del autorun.inf, "
                                          "pero no ejecuta nada ni añade sus menús."),
                           this);
    m_usbNote->setObjectName(QStringLiteral("NotaUSB"));
    m_usbNote->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("Cerrar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(drive);
    top->addLayout(menuLayout, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_reason);
    layout->addWidget(m_usbNote);
    layout->addWidget(buttons);
    resize(440, 300);
}

void DiscPreviewDialog::showDisc(const kmr::Project& project, const kmr::DiscTarget& disc) {
    const kmr::disc::DiscIcon icon = kmr::disc::discIcon(project, disc);
    QPixmap picture = icon.ico.empty() ? QPixmap() : largeIcon(icon.ico);
    QString reason = qs(icon.reason);
    if (!icon.ico.empty() && picture.isNull()) {
        reason = QStringLiteral("Las imágenes del icono \"") + qs(icon.path) + QStringLiteral("\" no se pueden leer.");
    }
    m_standard = picture.isNull();
    if (m_standard) picture = standardDiscPicture();
    m_icon->setPixmap(picture);
    m_reason->setText(m_standard ? reason + QStringLiteral(" Se muestra el icono normal de un CD.") : QString());
    m_reason->setVisible(m_standard);
    m_usbNote->setVisible(disc.medium == kmr::Medium::Usb);

    m_name->setText(qs(kmr::disc::discName(project, disc)));

    m_menu->clear();
    bool ownEntries = false;
    for (const kmr::disc::MenuEntry& e : kmr::disc::discContextMenu(project, disc.medium)) {
        // A gap, as a menu's separator line, where Windows' own entries begin after the autorun ones.
        if (e.windows && !ownEntries && m_menu->count() > 0) {
            auto* gap = new QListWidgetItem(m_menu);
            gap->setFlags(Qt::NoItemFlags);
            gap->setSizeHint(QSize(0, 6));
        }
        ownEntries = ownEntries || e.windows;
        auto* item = new QListWidgetItem(qs(e.text), m_menu);
        QFont font = m_menu->font();
        font.setBold(e.isDefault);
        item->setFont(font);
    }
}

}  // namespace kmr::gui
