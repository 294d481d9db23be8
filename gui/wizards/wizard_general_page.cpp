// The wizard's page "Datos generales": the program, the icon and the label, the first two composed
// with the command builder.

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/command_composer.h"
#include "base/dialog_widgets.h"
#include "base/shared_values.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_widgets.h"

namespace kmr::gui {

QWidget* NewProjectWizard::makeGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina1"));
    page->setAccessibleName(QStringLiteral("Datos generales"));

    m_program = makeTextField(QStringLiteral("Programa"), page);
    setHint(m_program, QStringLiteral("Escriba aquí el comando que desea ejecutar"));
    auto* editProgram = makeButton(QStringLiteral("Editar"), "EditarPrograma",
                                   QStringLiteral("Pulse aquí para editar el comando de forma asistida"), page);
    m_resource = new QCheckBox(QStringLiteral("&Recurso con programa asociado"), page);
    m_resource->setObjectName(QStringLiteral("Recurso"));
    setHint(m_resource, QStringLiteral("Debe seleccionarlo para ficheros no ejecutables o páginas web"));
    m_icon = makeTextField(QStringLiteral("Icono"), page);
    setHint(m_icon, QStringLiteral("Escriba aquí el camino del icono que desea mostrar"));
    auto* editIcon = makeButton(QStringLiteral("Editar"), "EditarIcono",
                                QStringLiteral("Pulse aquí para editar el camino del icono de forma asistida"), page);
    m_label = makeTextField(QStringLiteral("Etiqueta"), page);
    setHint(m_label, QStringLiteral("Escriba aquí la etiqueta del CD que desea mostrar"));
    connect(editProgram, &QPushButton::clicked, this, &NewProjectWizard::composeProgram);
    connect(editIcon, &QPushButton::clicked, this, &NewProjectWizard::composeIcon);

    auto* grid = new QGridLayout;
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("&Programa a ejecutar:"), m_program, QStringLiteral("ProgramaEtiqueta"), page), 0,
        0, 1, 2);
    grid->addWidget(m_program, 1, 0);
    grid->addWidget(editProgram, 1, 1);
    grid->addWidget(m_resource, 2, 0, 1, 2);
    grid->addWidget(makeBuddyLabel(QStringLiteral("&Icono a mostrar:"), m_icon, QStringLiteral("IconoEtiqueta"), page),
                    3, 0, 1, 2);
    grid->addWidget(m_icon, 4, 0);
    grid->addWidget(editIcon, 4, 1);
    grid->addWidget(
        makeBuddyLabel(QStringLiteral("&Etiqueta a mostrar:"), m_label, QStringLiteral("EtiquetaEtiqueta"), page), 5, 0,
        1, 2);
    grid->addWidget(m_label, 6, 0);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Introduzca los datos generales del CD"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Escriba aquí los principales datos para crear el nuevo CD. Puede poner un programa a "
                       "ejecutar automáticamente, un icono a mostrar y una etiqueta a mostrar en el icono del CD en "
                       "el explorador de Windows."),
        page));
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

void NewProjectWizard::composeProgram() {
    if (m_builder.execOn(kmr::BuilderPage::Nuevo)) {
        m_program->setText(m_shared.edit.builderResult);
        m_resource->setChecked(m_shared.edit.resourceFlag);
    }
}

void NewProjectWizard::composeIcon() {
    if (m_builder.execOn(kmr::BuilderPage::Icono)) m_icon->setText(m_shared.edit.builderResult);
}

}  // namespace kmr::gui
