// The builder's Explorar page: a path, a folder or an address for the explorer.
#include "wizards/command_builder_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/qt_text.h"
#include "wizards/command_builder_pages.h"

namespace kmr::gui {

using kmr::BuilderPage;

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

void CommandBuilderDialog::updateExplorarTexts() {
    const kmr::ExplorarTexts t = kmr::explorarTexts(m_email->isChecked());
    m_explorarLabel->setText(QLatin1Char('&') + qs(t.pathLabel));
    m_explorarExample->setText(qs(t.example));
}

}  // namespace kmr::gui
