#include "project/disc_bar.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "base/prompts.h"
#include "base/qt_text.h"
#include "disc/disc_files.h"
#include "project/project_window.h"

namespace kmr::gui {

DiscBar::DiscBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BarraDisco"));
    auto* folderCaption = new QLabel(QStringLiteral("Carpeta del &disco:"), this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("CarpetaDisco"));
    // Short enough for the narrow window a project opens in; the tool tip says the rest.
    m_folder->setPlaceholderText(QStringLiteral("Ninguna"));
    m_folder->setToolTip(
        QStringLiteral("La carpeta cuyo contenido se grabará en el disco; pulse \"Cambiar...\" para elegirla"));
    folderCaption->setBuddy(m_folder);
    m_change = new QPushButton(QStringLiteral("Cambiar..."), this);
    m_change->setObjectName(QStringLiteral("CambiarDisco"));
    auto* mediumCaption = new QLabel(QStringLiteral("&Soporte:"), this);
    m_medium = new QComboBox(this);
    m_medium->setObjectName(QStringLiteral("SoporteDisco"));
    m_medium->addItem(qs(kmr::mediumName(kmr::Medium::CdDvd)));
    m_medium->addItem(qs(kmr::mediumName(kmr::Medium::Usb)));
    mediumCaption->setBuddy(m_medium);
    // A picture alone, so that the folder keeps its room in a narrow window; the window gives the picture.
    m_properties = new QToolButton(this);
    m_properties->setObjectName(QStringLiteral("PropiedadesDisco"));
    m_properties->setText(QStringLiteral("Propiedades..."));
    m_properties->setAccessibleName(QStringLiteral("Propiedades del disco"));
    m_properties->setToolTip(
        QStringLiteral("Propiedades del disco: Reproducción automática, contenido, carpetas, "
                       "plataformas y demás entradas del autorun.inf"));

    connect(m_folder, &QLineEdit::editingFinished, this, &DiscBar::reportIfChanged);
    connect(m_medium, &QComboBox::activated, this, &DiscBar::reportIfChanged);
    connect(m_change, &QPushButton::clicked, this, &DiscBar::changeRequested);
    connect(m_properties, &QPushButton::clicked, this, &DiscBar::propertiesRequested);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(folderCaption);
    layout->addWidget(m_folder, 1);
    layout->addWidget(m_change);
    layout->addWidget(mediumCaption);
    layout->addWidget(m_medium);
    layout->addWidget(m_properties);
}

void DiscBar::showDisc(const kmr::DiscTarget& disc) {
    m_shown = disc;
    m_folder->setText(qs(disc.folder));
    m_medium->setCurrentIndex(disc.medium == kmr::Medium::Usb ? 1 : 0);
}

kmr::DiscTarget DiscBar::disc() const {
    return {utf8(m_folder->text().trimmed()), m_medium->currentIndex() == 1 ? kmr::Medium::Usb : kmr::Medium::CdDvd};
}

void DiscBar::reportIfChanged() {
    // Leaving the line unchanged, or choosing the medium already chosen, is no edit.
    if (disc() != m_shown) emit discEdited();
}

kmr::DiscTarget resolvedDisc(const ProjectWindow& window) {
    kmr::DiscTarget disc = window.project().disc;
    disc.folder = kmr::disc::resolveDiscFolder(utf8(window.filePath()), disc.folder);
    return disc;
}

bool chooseDiscFolder(ProjectWindow& window, Prompts& prompts) {
    QString start = qs(resolvedDisc(window).folder);
    if (start.isEmpty() || !QFileInfo(start).isDir()) {
        // Beside the project, or (for a project never saved) where the last disc folder was chosen.
        start = window.filePath().isEmpty() ? QString() : QFileInfo(window.filePath()).absolutePath();
    }
    const auto chosen = prompts.chooseFolder(QStringLiteral("Carpeta del disco"), start);
    if (!chosen) return false;
    kmr::DiscTarget disc = window.project().disc;
    // Kept as chosen, whole: a path relative to the project file would break when it is saved elsewhere.
    disc.folder = utf8(QDir::cleanPath(*chosen));
    window.setDisc(disc);
    return true;
}

}  // namespace kmr::gui
