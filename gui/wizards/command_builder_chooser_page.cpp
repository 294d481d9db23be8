// The builder's first page: the kind of command to make.
#include "wizards/command_builder_dialog.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include "wizards/command_builder_pages.h"

namespace kmr::gui {

namespace {

const std::array<QString, 5>& kindCaptions() {
    static const std::array<QString, 5> captions = {
        QStringLiteral("Ejecutar programa"), QStringLiteral("Ejecutar recursos y ficheros"),
        QStringLiteral("Ejecutar recursos mutimedia"), QStringLiteral("Explorar ficheros y carpetas"),
        QStringLiteral("Navegar por Internet")};
    return captions;
}

}  // namespace

QWidget* CommandBuilderDialog::makeChooserPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PaginaNuevo"));
    page->setAccessibleName(QStringLiteral("Nuevo"));
    QVBoxLayout* layout = pageLayout(
        page, QStringLiteral("Crear un comando"),
        QStringLiteral(
            "Mediante este formulario usted podrá crear comandos a ejecutar de forma rápida y sencilla. "
            "Seleccione el tipo de comando que quiere crear de la siguiente lista y pulse sobre siguiente."));
    m_kindGroup = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* option = new QRadioButton(kindCaptions()[static_cast<std::size_t>(i)], page);
        option->setObjectName(QStringLiteral("Opcion%1").arg(i));
        option->installEventFilter(this);
        m_kindGroup->addButton(option, i);
        m_kindButtons[static_cast<std::size_t>(i)] = option;
        layout->addWidget(option);
    }
    m_kindButtons[0]->setChecked(true);
    connect(m_kindGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) m_kind = id;
    });
    layout->addStretch();
    return page;
}

}  // namespace kmr::gui
