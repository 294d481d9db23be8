#include "autorun/conflicts_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "autorun/findings_widgets.h"
#include "base/image_list.h"

namespace kmr::gui {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

ConflictsDialog::ConflictsDialog(const ImageList& images, QWidget* parent) : QDialog(parent), m_images(images) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Conflictos"));
    // A fixed frame with a close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    m_list = makeFindingsList(this);

    m_explanation = makeExplanationBox(this, 90);

    auto* cont = new QPushButton(QStringLiteral("Continuar"), this);
    cont->setObjectName(QStringLiteral("SpeedButton1"));
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("SpeedButton2"));
    connect(cont, &QPushButton::clicked, this, &ConflictsDialog::continueCompiling);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A click, and moving the selection with the keys, both show the explanation.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &ConflictsDialog::showExplanation);
    connect(m_list, &QListWidget::itemClicked, this, &ConflictsDialog::showExplanation);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cont);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_explanation);
    layout->addLayout(buttons);
    setFixedSize(460, 330);
}

void ConflictsDialog::setFindings(const std::vector<kmr::Finding>& findings) {
    m_findings = findings;
    m_list->clear();
    m_explanation->clear();
    for (kmr::Finding f : findings) {
        const kmr::FindingText& t = kmr::findingText(f);
        m_list->addItem(new QListWidgetItem(m_images.icon(Picture{t.image}), qs(t.title)));
    }
    // Filling the list must not already show an explanation: the user reads one by clicking.
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr);
    m_explanation->clear();
}

int ConflictsDialog::findingCount() const { return m_list->count(); }

void ConflictsDialog::showExplanation() {
    m_explanation->clear();
    const auto selected = m_list->selectedItems();
    if (selected.size() != 1) return;
    const int row = m_list->row(selected.constFirst());
    if (row < 0 || static_cast<std::size_t>(row) >= m_findings.size()) return;
    m_explanation->setPlainText(qs(kmr::explanationOf(m_findings[static_cast<std::size_t>(row)])));
}

void ConflictsDialog::continueCompiling() {
    m_result = Result::Continue;
    accept();
}

void ConflictsDialog::showEvent(QShowEvent* event) {
    m_result = Result::Stop;
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

}  // namespace kmr::gui
