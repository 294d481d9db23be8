#include "project/mdi_child.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_form.h"
#include "app/prompts.h"

namespace kmr::gui {

TMDIChild::TMDIChild(TMainForm& frame, const QString& caption, QWidget* parent) : QWidget(parent), m_frame(frame) {
    setObjectName(QStringLiteral("TMDIChild"));
    setWindowTitle(caption);
    setWindowIcon(frame.images().icon(30));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QStringLiteral("Comandos")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(420, 260);
}

void TMDIChild::setProject(kmr::Project project) {
    m_project = std::move(project);
    refreshList();
}

int TMDIChild::selectedIndex() const {
    const auto items = m_list->selectedItems();
    return items.isEmpty() ? -1 : m_list->indexOfTopLevelItem(items.constFirst());
}

void TMDIChild::refreshList() {
    m_list->clear();
    for (const kmr::ProjectObject& o : m_project.objects) {
        auto* item = new QTreeWidgetItem(m_list);
        // The kind is also the index of its picture in the frame's image list.
        item->setIcon(0, m_frame.images().icon(static_cast<int>(o.kind)));
        item->setText(0, QString::fromStdString(o.caption));
    }
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    SharedValues& shared = m_frame.shared();
    --shared.closeCounter;
    if (m_project.empty() || m_saved == 1) {
        event->accept();
        return;
    }
    const QString question = QStringLiteral("El fichero \"") + windowTitle() +
                             QStringLiteral("\" no ha sido guardado. ¿Desea guardar primero?");
    const Answer answer = m_frame.prompts().message(question, QStringLiteral("Atención"), MessageIcon::Warning,
                                                    MessageButtons::YesNoCancel);
    switch (answer) {
        case Answer::Yes:
            switch (m_frame.Guardar1Execute(this)) {
                case TMainForm::SaveOutcome::Saved:
                case TMainForm::SaveOutcome::NothingToDo: event->accept(); return;
                case TMainForm::SaveOutcome::Failed:
                    // The error has been shown; the project stays, and a shut-down in progress ends here.
                    m_frame.abortShutdown();
                    break;
                case TMainForm::SaveOutcome::Abandoned:
                    // The user asked to save and then backed out of the file dialog: keep the project,
                    // exactly as if they had answered Cancel.
                    break;
            }
            ++shared.closeCounter;
            event->ignore();
            return;
        case Answer::No: event->accept(); return;
        case Answer::Cancel:
        case Answer::Ok: break;
    }
    ++shared.closeCounter;
    event->ignore();
}

}  // namespace kmr::gui
