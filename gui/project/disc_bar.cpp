#include "project/disc_bar.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <QResizeEvent>

#include <algorithm>
#include <vector>

#include "base/prompts.h"
#include "base/qt_text.h"
#include "disc/disc_files.h"
#include "project/project_window.h"

namespace kmr::gui {

namespace {

constexpr int kMarginX = 4;
constexpr int kMarginY = 2;
constexpr int kSpacingX = 6;
constexpr int kSpacingY = 2;

const QString kFolderHint =
    QStringLiteral("La carpeta cuyo contenido se grabará en el disco; pulse \"Cambiar...\" para elegirla");

}  // namespace

DiscBar::DiscBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BarraDisco"));
    m_folderCaption = new QLabel(QStringLiteral("Carpeta del &disco:"), this);
    QLabel* folderCaption = m_folderCaption;
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("CarpetaDisco"));
    // Short enough for the narrow window a project opens in; the tool tip says the rest.
    m_folder->setPlaceholderText(QStringLiteral("Ninguna"));
    m_folder->setToolTip(kFolderHint);
    folderCaption->setBuddy(m_folder);
    m_change = new QPushButton(QStringLiteral("Cambiar..."), this);
    m_change->setObjectName(QStringLiteral("CambiarDisco"));
    m_mediumCaption = new QLabel(QStringLiteral("&Soporte:"), this);
    QLabel* mediumCaption = m_mediumCaption;
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
    connect(m_properties, &QToolButton::clicked, this, &DiscBar::propertiesRequested);
    connect(m_folder, &QLineEdit::textChanged, this, &DiscBar::updateFolderTip);

    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void DiscBar::updateFolderTip() {
    // A long path shows only in part in the line: the tool tip holds all of it.
    const QString folder = m_folder->text();
    m_folder->setToolTip(folder.isEmpty() ? kFolderHint : folder + QStringLiteral("\n\n") + kFolderHint);
}

int DiscBar::folderMinimum() const {
    // Room for the placeholder whole, with the line's frame and side margins.
    return std::max(m_folder->minimumSizeHint().width(),
                    m_folder->fontMetrics().horizontalAdvance(m_folder->placeholderText()) +
                        m_folder->fontMetrics().averageCharWidth() * 2 + 8);
}

int DiscBar::arrange(int width, bool place) const {
    // The folder line takes whatever its line has spare.
    const int folderMin = folderMinimum();
    auto need = [&](QWidget* w) { return w == m_folder ? folderMin : w->sizeHint().width(); };
    using Line = std::vector<QWidget*>;
    const std::vector<std::vector<Line>> arrangements = {
        {{m_folderCaption, m_folder, m_change, m_mediumCaption, m_medium, m_properties}},
        {{m_folderCaption, m_folder}, {m_change, m_mediumCaption, m_medium, m_properties}},
        {{m_folderCaption, m_change}, {m_folder}, {m_mediumCaption, m_medium, m_properties}},
        {{m_folderCaption}, {m_folder}, {m_change}, {m_mediumCaption, m_medium, m_properties}},
    };
    const int room = width - 2 * kMarginX;
    auto lineWidth = [&](const Line& line) {
        int sum = kSpacingX * static_cast<int>(line.size() - 1);
        for (QWidget* w : line) sum += need(w);
        return sum;
    };
    const std::vector<Line>* chosen = &arrangements.back();
    for (const std::vector<Line>& a : arrangements) {
        if (std::all_of(a.begin(), a.end(), [&](const Line& l) { return lineWidth(l) <= room; })) {
            chosen = &a;
            break;
        }
    }
    int y = kMarginY;
    for (const Line& line : *chosen) {
        int height = 0;
        for (QWidget* w : line) height = std::max(height, w->sizeHint().height());
        if (place) {
            // The folder line stretches; a line without it keeps its controls at their own width.
            const int spare = std::max(0, room - lineWidth(line));
            int x = kMarginX;
            for (QWidget* w : line) {
                int wide = need(w) + (w == m_folder ? spare : 0);
                wide = std::min(wide, std::max(0, width - kMarginX - x));
                const int h = w->sizeHint().height();
                w->setGeometry(x, y + (height - h) / 2, wide, h);
                x += wide + kSpacingX;
            }
        }
        y += height + kSpacingY;
    }
    return y - kSpacingY + kMarginY;
}

QSize DiscBar::sizeHint() const {
    int wide = 2 * kMarginX + 5 * kSpacingX;
    for (QWidget* w : {static_cast<QWidget*>(m_folderCaption), static_cast<QWidget*>(m_folder),
                       static_cast<QWidget*>(m_change), static_cast<QWidget*>(m_mediumCaption),
                       static_cast<QWidget*>(m_medium), static_cast<QWidget*>(m_properties)}) {
        wide += w->sizeHint().width();
    }
    return {wide, arrange(wide, false)};
}

QSize DiscBar::minimumSizeHint() const {
    // The narrowest arrangement: one control a line, the medium with its caption.
    int wide = folderMinimum();
    for (QWidget* w : {static_cast<QWidget*>(m_folderCaption), static_cast<QWidget*>(m_change)}) {
        wide = std::max(wide, w->sizeHint().width());
    }
    wide = std::max(wide, m_mediumCaption->sizeHint().width() + kSpacingX + m_medium->sizeHint().width() + kSpacingX +
                              m_properties->sizeHint().width());
    wide += 2 * kMarginX;
    return {wide, arrange(wide, false)};
}

int DiscBar::heightForWidth(int width) const { return arrange(width, false); }

void DiscBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int height = arrange(width(), true);
    // A change of lines changes the bar's height: the window lays itself out again.
    if (height != this->height()) updateGeometry();
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
