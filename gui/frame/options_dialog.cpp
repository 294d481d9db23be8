#include "frame/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "base/dialog_placement.h"
#include "base/settings_store.h"
#include "help/help.h"
#include "web/web_addresses.h"

namespace kmr::gui {

namespace {}  // namespace

QCheckBox* OptionsDialog::check(const QString& text, bool Options::*option, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    // A control carries the name of the value it shows.
    box->setObjectName(optionName(option));
    m_boxes.push_back({box, option});
    return box;
}

const std::array<UpdateSite, 4>& OptionsDialog::sites() {
    // The sites live with every other web address; a button shows the site's name and host.
    static const std::array<UpdateSite, 4> list = [] {
        std::array<UpdateSite, 4> sites;
        for (std::size_t i = 0; i < sites.size(); ++i) {
            const kmr::web::UpdateSite& s = kmr::web::kUpdateSites[i];
            sites[i] = {QString::fromUtf8(s.name.data(), static_cast<qsizetype>(s.name.size())) +
                            QStringLiteral(" - [") +
                            QString::fromUtf8(s.host.data(), static_cast<qsizetype>(s.host.size())) + QLatin1Char(']'),
                        QString::fromUtf8(s.address.data(), static_cast<qsizetype>(s.address.size()))};
        }
        return sites;
    }();
    return list;
}

OptionsDialog::OptionsDialog(Options& options, QWidget* parent) : QDialog(parent), m_options(options) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Opciones"));

    auto* startGroup = new QGroupBox(QStringLiteral("Arranque"), this);
    m_welcome = check(QStringLiteral("&Mensaje de bienvenida"), &Options::welcome, startGroup);
    auto* startLayout = new QVBoxLayout(startGroup);
    startLayout->setSpacing(0);
    startLayout->setContentsMargins(6, 2, 6, 2);
    for (QCheckBox* b : {m_welcome, check(QStringLiteral("&Centrar ventana"), &Options::centre, startGroup),
                         check(QStringLiteral("&Ejecutar el asistente"), &Options::runWizard, startGroup)})
        startLayout->addWidget(b);
    // The two groups stand side by side as one row: same top, same height, their boxes line by line.
    startLayout->addStretch();

    auto* viewGroup = new QGroupBox(QStringLiteral("Ver"), this);
    auto* viewLayout = new QVBoxLayout(viewGroup);
    viewLayout->setSpacing(0);
    viewLayout->setContentsMargins(6, 2, 6, 2);
    for (QCheckBox* b : {check(QStringLiteral("&Barra de iconos"), &Options::showToolBar, viewGroup),
                         check(QStringLiteral("Barra de es&tado"), &Options::showStatusBar, viewGroup),
                         check(QStringLiteral("&Asistente ide@"), &Options::showTips, viewGroup),
                         check(QStringLiteral("&Inicio rápido"), &Options::showQuickStart, viewGroup)})
        viewLayout->addWidget(b);

    // An import keeps, beside the objects, every entry of the file that makes none.
    m_keepExtras = check(QStringLiteral("Conservar al importar las entradas que no son órdenes del proyecto"),
                         &Options::keepImportExtras, this);

    auto* siteGroup = new QGroupBox(QStringLiteral("Actualización"), this);
    auto* siteLayout = new QGridLayout(siteGroup);
    m_siteGroup = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        const bool other = i == 4;
        auto* button = new QRadioButton(other ? QStringLiteral("&Otro:") : sites()[static_cast<std::size_t>(i)].caption,
                                        siteGroup);
        button->setObjectName(QStringLiteral("Sitio%1").arg(i));
        // The update command reads the address from the button's hint.
        if (!other) button->setToolTip(sites()[static_cast<std::size_t>(i)].address);
        m_siteGroup->addButton(button, i);
        m_siteButtons[static_cast<std::size_t>(i)] = button;
        siteLayout->addWidget(button, i, 0, 1, other ? 1 : 2);
    }
    m_other = new QLineEdit(siteGroup);
    m_other->setObjectName(optionName(&Options::otherAddress));
    siteLayout->addWidget(m_other, 4, 1);
    auto* note = new QLabel(
        QStringLiteral("Es recomendable usar la web Brenlowe Pexilon, es donde se actualiza el programa."), siteGroup);
    note->setObjectName(QStringLiteral("Nota"));
    note->setWordWrap(true);
    QPalette grey = note->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    note->setPalette(grey);
    siteLayout->addWidget(note, 5, 0, 1, 2);
    siteLayout->setColumnStretch(1, 1);
    siteLayout->setVerticalSpacing(0);
    siteLayout->setContentsMargins(6, 2, 6, 4);
    connect(m_siteGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) m_site = id;
    });

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("Aceptar"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("Cancelar"));
    auto* help = new QPushButton(QStringLiteral("Ayuda"), this);
    help->setObjectName(QStringLiteral("Ayuda"));
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpOptions); });
    connect(ok, &QPushButton::clicked, this, [this] {
        storeOptions();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(startGroup);
    top->addWidget(viewGroup);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(m_keepExtras);
    layout->addWidget(siteGroup, 1);
    layout->addLayout(buttons);
    // The import option's line comes on top of the size the other options need.
    setFixedSize(449, 316 + m_keepExtras->sizeHint().height() + layout->spacing());
    showOptions(designedOptions());
}

Options OptionsDialog::shownOptions() const {
    Options o;
    for (const auto& [box, option] : m_boxes) o.*option = box->isChecked();
    o.site = m_site;
    o.otherAddress = m_other->text();
    return o;
}

void OptionsDialog::showOptions(const Options& o) {
    for (const auto& [box, option] : m_boxes) box->setChecked(o.*option);
    m_site = o.site;
    checkSiteButton();
    m_other->setText(o.otherAddress);
}

void OptionsDialog::flip(bool Options::*option) {
    m_options.*option = !(m_options.*option);
    showOptions(m_options);
}

void OptionsDialog::readOptions() {
    if (m_key == nullptr) return;
    m_options = kmr::gui::readOptions(*m_key);
    showOptions(m_options);
}

void OptionsDialog::storeOptions() {
    m_options = shownOptions();
    if (m_key != nullptr) kmr::gui::storeOptions(*m_key, m_options);
}

void OptionsDialog::checkSiteButton() {
    const int site = m_site;
    // An exclusive group cannot show "none checked" unless exclusivity is lifted for a moment.
    m_siteGroup->setExclusive(false);
    for (std::size_t i = 0; i < m_siteButtons.size(); ++i) m_siteButtons[i]->setChecked(static_cast<int>(i) == site);
    m_siteGroup->setExclusive(true);
    m_site = site;
}

void OptionsDialog::showEvent(QShowEvent* event) {
    readOptions();
    if (!event->spontaneous()) {
        centreOnOwner(this);
        startOn(m_welcome);
    }
    QDialog::showEvent(event);
}

void OptionsDialog::done(int result) {
    QDialog::done(result);
    readOptions();
    emit closed();
}

}  // namespace kmr::gui
