// The builder's Internet page: a web address or an e-mail address.
#include "wizards/command_builder_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/qt_text.h"
#include "wizards/command_builder_pages.h"

namespace kmr::gui {

QWidget* CommandBuilderDialog::makeInternetPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PaginaInternet"));
    page->setAccessibleName(QStringLiteral("Internet"));
    QVBoxLayout* layout = pageLayout(
        page, QStringLiteral("Ejecute un recurso de internet"),
        QStringLiteral("Puede crear comandos para ejecutar páginas web, enviar e-mails, descargar ficheros, etc."));
    m_web = new QRadioButton(QStringLiteral("&Visitar web, descargar fichero"), page);
    m_web->setObjectName(QStringLiteral("InternetWeb"));
    m_internetEmail = new QRadioButton(QStringLiteral("&Enviar correo electrónico"), page);
    m_internetEmail->setObjectName(QStringLiteral("InternetCorreo"));
    m_address = builderField(QStringLiteral("InternetDireccion"), page);
    m_addressLabel = makeBuddyLabel(QString(), m_address, QStringLiteral("InternetDireccionEtiqueta"), page);
    m_addressExample = makeExampleLine(QString(), QStringLiteral("InternetEjemplo"), page);
    m_compatibility = checkBox(QStringLiteral("&Compatibilidad con Windows 95 (utilizar explorer)"),
                               QStringLiteral("InternetCompatibilidad"), page);

    layout->addWidget(m_web);
    layout->addWidget(m_internetEmail);
    layout->addSpacing(6);
    layout->addWidget(m_addressLabel);
    layout->addWidget(m_address);
    layout->addWidget(m_addressExample);
    layout->addWidget(m_compatibility);
    layout->addStretch();

    m_web->setChecked(true);
    selectInternetChoice(false);
    // Selecting a choice replaces the address with that choice's sample.
    connect(m_web, &QRadioButton::toggled, this, [this](bool on) {
        if (on) selectInternetChoice(false);
    });
    connect(m_internetEmail, &QRadioButton::toggled, this, [this](bool on) {
        if (on) selectInternetChoice(true);
    });
    return page;
}

void CommandBuilderDialog::selectInternetChoice(bool email) {
    const kmr::InternetTexts t = kmr::internetTexts(email);
    m_addressLabel->setText(QLatin1Char('&') + qs(t.addressLabel));
    m_address->setText(qs(t.address));
    m_addressExample->setText(qs(t.example));
}

}  // namespace kmr::gui
