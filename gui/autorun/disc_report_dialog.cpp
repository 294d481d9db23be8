#include "autorun/disc_report_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "autorun/findings_widgets.h"
#include "base/image_list.h"
#include "base/qt_text.h"

namespace kmr::gui {

DiscReportDialog::DiscReportDialog(const ImageList& images, QWidget* parent) : QDialog(parent), m_images(images) {
    setObjectName(QStringLiteral("ComprobacionDisco"));
    setWindowTitle(QStringLiteral("Comprobación del disco"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* intro = new QLabel(QStringLiteral("Pulse sobre cada aviso para leer su explicación."), this);
    m_list = makeFindingsList(this);

    m_explanation = makeExplanationBox(this, 110);

    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setObjectName(QStringLiteral("Cerrar"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &DiscReportDialog::showExplanation);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list);
    layout->addWidget(m_explanation);
    layout->addLayout(buttons);
    // A disc can raise many findings, with longer explanations than the conflicts: the user may widen it.
    resize(560, 380);
}

void DiscReportDialog::setItems(std::vector<kmr::disc::CheckItem> items) {
    m_items = std::move(items);
    m_list->clear();
    for (const kmr::disc::CheckItem& i : m_items) {
        auto* item = new QListWidgetItem(m_images.icon(Picture{i.image}), qs(i.title));
        // Several objects may raise one finding: the first line of the explanation tells them apart.
        item->setToolTip(qs(i.explanation[0]).trimmed());
        m_list->addItem(item);
    }
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr);
    m_explanation->clear();
}

int DiscReportDialog::itemCount() const { return m_list->count(); }

void DiscReportDialog::showExplanation() {
    m_explanation->clear();
    const auto selected = m_list->selectedItems();
    if (selected.size() != 1) return;
    const int row = m_list->row(selected.constFirst());
    if (row < 0 || static_cast<std::size_t>(row) >= m_items.size()) return;
    const kmr::disc::CheckItem& i = m_items[static_cast<std::size_t>(row)];
    m_explanation->setPlainText(qs(i.explanation[0]) + QLatin1Char('\n') + qs(i.explanation[1]));
}

}  // namespace kmr::gui
