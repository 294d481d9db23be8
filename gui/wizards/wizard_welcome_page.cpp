// The wizard's page "Bienvenido": the template list and its explanation, and "Abrir...",
// "Importar..." and "No editar".

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/dialog_widgets.h"
#include "base/qt_text.h"
#include "wizards/new_project_wizard.h"
#include "wizards/wizard_widgets.h"

namespace kmr::gui {

namespace {

// The template list shows no current item until the user picks one: by default a list that takes the
// focus marks its first entry, which looks like a choice but applies nothing.
class TemplateList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QListWidget::focusInEvent(event);
        if (selectedItems().isEmpty()) selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
};

}  // namespace

QWidget* NewProjectWizard::makeWelcomePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Pagina0"));
    page->setAccessibleName(QStringLiteral("Bienvenido"));

    m_templateList = new TemplateList(page);
    m_templateList->setObjectName(QStringLiteral("Plantillas"));
    m_templateList->setViewMode(QListView::IconMode);
    m_templateList->setIconSize(QSize(TemplatePictures::kSize, TemplatePictures::kSize));
    m_templateList->setGridSize(QSize(96, 72));
    m_templateList->setMovement(QListView::Static);
    m_templateList->setResizeMode(QListView::Adjust);
    m_templateList->setWordWrap(true);
    m_templateList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_templateList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_templateList->viewport()->installEventFilter(this);
    m_templateList->setMinimumSize(520, 150);
    // Arrow keys and Space pick a template as a click does; a click applies it itself (also when it
    // picks the template already selected).
    connect(m_templateList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = m_templateList->selectedItems();
        if (!picked.isEmpty()) templateClicked(picked.constFirst());
    });

    m_explanation = makeReadOnlyText("Explicacion", page);
    m_explanation->setMaximumHeight(64);

    auto* open =
        makeButton(QStringLiteral("A&brir..."), "Abrir", QStringLiteral("Abre un proyecto KMR guardado"), page);
    auto* import = makeButton(QStringLiteral("&Importar..."), "Importar",
                              QStringLiteral("Importa un fichero AUTORUN.INF guardado"), page);
    m_noEdit = new QCheckBox(QStringLiteral("No &editar"), page);
    m_noEdit->setObjectName(QStringLiteral("NoEditar"));
    setHint(m_noEdit, QStringLiteral("No continuar con el asistente de recopilación de datos"));
    connect(open, &QPushButton::clicked, this, &NewProjectWizard::openProject);
    connect(import, &QPushButton::clicked, this, &NewProjectWizard::importAutorun);

    auto* row = new QHBoxLayout;
    row->addWidget(open);
    row->addWidget(import);
    row->addStretch();
    row->addWidget(m_noEdit);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeHeadline(QStringLiteral("Bienvenido:"), page));
    layout->addWidget(makeExplanation(
        QStringLiteral("Este asistente le ayudará paso a paso a crear un fichero de autoarranque para Windows. "
                       "Rellene los datos que se le soliciten y recuerde que tiene a su disposición la ayuda "
                       "contextual del sistema."),
        page));
    QLabel* kind = makeHeadline(QStringLiteral("&Tipo de autorun que desea crear:"), page);
    kind->setBuddy(m_templateList);
    layout->addWidget(kind);
    layout->addWidget(makeExplanation(
        QStringLiteral("Seleccione el tipo de autorun que desea crear para que el asistente le guíe correctamente "
                       "en la selección de datos para su creación."),
        page));
    layout->addWidget(m_templateList, 1);
    layout->addWidget(m_explanation);
    layout->addLayout(row);
    return page;
}

void NewProjectWizard::openProject() {
    emit openRequested();
    m_handedOff = true;
    close();
}

void NewProjectWizard::importAutorun() {
    emit importRequested();
    m_handedOff = true;
    close();
}

void NewProjectWizard::loadTemplateList() {
    m_templates = kmr::listTemplates(kmr::templateFolders(utf8(m_programFolder), kmr::templateEnvironmentOfProcess()));
    for (std::size_t i = 0; i < m_templates.size(); ++i) {
        const kmr::TemplateRecord& t = m_templates[i];
        auto* item = new QListWidgetItem(m_pictures.icon(t.picture), qs(t.name), m_templateList);
        item->setData(Qt::UserRole, static_cast<int>(i));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
}

void NewProjectWizard::applyTemplate(const kmr::TemplateRecord& record) {
    const kmr::WizardData d = kmr::applyTemplate(record);
    m_explanation->setPlainText(qs(record.explanation));
    m_program->setText(qs(d.runCommand));
    m_icon->setText(qs(d.icon));
    m_label->setText(qs(d.label));
    m_resource->setChecked(d.resource);
    m_menus = d.menus;
    refreshMenuList(-1);
}

void NewProjectWizard::templateClicked(QListWidgetItem* item) {
    if (item == nullptr) {
        // Empty space: only the explanation goes, the fields keep what they hold.
        m_templateList->clearSelection();
        m_explanation->clear();
        return;
    }
    m_templateList->setCurrentItem(item);
    applyTemplate(m_templates.at(static_cast<std::size_t>(item->data(Qt::UserRole).toInt())));
}

void NewProjectWizard::templateDoubleClicked() {
    if (!m_templateList->selectedItems().isEmpty()) advance();
}

bool NewProjectWizard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_templateList->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) templateClicked(m_templateList->itemAt(mouse->position().toPoint()));
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            templateDoubleClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kmr::gui
