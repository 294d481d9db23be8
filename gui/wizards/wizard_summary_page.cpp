// The wizard's page "Finalizar": the summary of what the project will hold.

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_widgets.h"

namespace kmr::gui {

QWidget* NewProjectWizard::makeSummaryPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina3"));
    page->setAccessibleName(QStringLiteral("Finalizar"));
    m_summary = makeReadOnlyText("Resumen", page);
    m_summary->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_summary->setMinimumHeight(200);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Cree su proyecto KMR"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Si ya ha rellenado todas las casillas solicitadas, pulse ahora sobre \"Finalizar\" para "
                       "crear el proyecto KMR con los datos introducidos."),
        page));
    layout->addWidget(m_summary, 1);
    return page;
}

}  // namespace kmr::gui
