#include "editing/value_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "base/command_composer.h"
#include "base/dialog_placement.h"
#include "base/dialog_widgets.h"
#include "base/edit_state.h"
#include "base/prompts.h"

namespace kmr::gui {

ValueDialog::ValueDialog(EditState& state, Prompts& prompts, CommandComposer& builder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_state(state),
      m_prompts(prompts),
      m_builder(builder) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Configurar proyecto"));

    m_value = makeTextField(QStringLiteral("Valor"), this);
    m_label = makeBuddyLabel(QStringLiteral("&Texto:"), m_value, QStringLiteral("Etiqueta"), this);
    m_edit = new QPushButton(QStringLiteral("&Editar"), this);
    m_edit->setObjectName(QStringLiteral("Editar"));
    m_edit->setAutoDefault(false);
    m_resource = new QCheckBox(QStringLiteral("&Recurso con programa asociado"), this);
    m_resource->setObjectName(QStringLiteral("Recurso"));
    const auto [ok, cancel] = makeAcceptCancel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(m_label, 0, 0, 1, 2);
    grid->addWidget(m_value, 1, 0);
    grid->addWidget(m_edit, 1, 1);
    grid->addWidget(m_resource, 2, 0, 1, 2);
    grid->setColumnMinimumWidth(0, 320);

    layOutWithButtons(this, grid, ok, cancel);

    setTabOrder(m_value, m_edit);
    setTabOrder(m_edit, m_resource);
    setTabOrder(m_resource, ok);
    setTabOrder(ok, cancel);

    connect(ok, &QPushButton::clicked, this, &ValueDialog::tryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edit, &QPushButton::clicked, this, &ValueDialog::composeValue);
}

void ValueDialog::setUp(ValueMode mode, const QString& value, bool resource) {
    m_mode = mode;
    // The hints are those of the wizard's matching "Editar" buttons, which do the same.
    switch (mode) {
        case ValueMode::Program:
            m_label->setText(QStringLiteral("&Programa a ejecutar:"));
            m_edit->setToolTip(QStringLiteral("Pulse aquí para editar el comando de forma asistida"));
            break;
        case ValueMode::Icon:
            m_label->setText(QStringLiteral("&Icono a mostrar:"));
            m_edit->setToolTip(QStringLiteral("Pulse aquí para editar el camino del icono de forma asistida"));
            break;
        case ValueMode::Label:
            m_label->setText(QStringLiteral("E&tiqueta a mostrar:"));
            m_edit->setToolTip(QString());
            break;
    }
    m_resource->setVisible(mode == ValueMode::Program);
    m_resource->setChecked(mode == ValueMode::Program && resource);
    // A label has nothing to compose.
    m_edit->setEnabled(mode != ValueMode::Label);
    m_value->setText(value);
}

QString ValueDialog::value() const { return m_value->text(); }
bool ValueDialog::resource() const { return m_resource->isChecked(); }

void ValueDialog::tryAccept() {
    // Only an empty value is refused; blanks, paths and free text are all taken as they are.
    if (m_value->text().isEmpty()) {
        m_prompts.message(QStringLiteral("Debe introducir algún valor en el campo."), QStringLiteral("Atención"),
                          MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    m_state.editContext = kEditAccepted;
    accept();
}

void ValueDialog::composeValue() {
    switch (m_mode) {
        case ValueMode::Program:
            if (m_builder.execOn(kmr::BuilderPage::Nuevo)) {
                m_value->setText(m_state.builderResult);
                m_resource->setChecked(m_state.resourceFlag);
            }
            break;
        case ValueMode::Icon:
            if (m_builder.execOn(kmr::BuilderPage::Icono)) m_value->setText(m_state.builderResult);
            break;
        case ValueMode::Label: break;
    }
}

void ValueDialog::done(int result) {
    QDialog::done(result);
    m_edit->setEnabled(true);
}

void ValueDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    centreOnOwner(this);
    startOn(m_value);
}

}  // namespace kmr::gui
