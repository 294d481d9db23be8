#include "project/mdi_child.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
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
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->installEventFilter(this);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &TMDIChild::ListView1DblClick);
    connect(m_list, &QAbstractItemView::clicked, this, &TMDIChild::ListView1Click);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TMDIChild::ListView1Change);
    connect(m_list, &QWidget::customContextMenuRequested, this, &TMDIChild::ListView1ContextPopup);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(420, 260);
}

TMDIChild::~TMDIChild() {
    // The list goes after this object; its last signals must not reach the frame through us.
    m_list->removeEventFilter(this);
    disconnect(m_list, nullptr, this, nullptr);
}

void TMDIChild::setProject(kmr::Project project, int selection) {
    m_project = std::move(project);
    refreshList();
    select(selection);
    // The list changed even when the selection did not.
    ListView1Change();
}

int TMDIChild::selectedIndex() const {
    const auto items = m_list->selectedItems();
    return items.isEmpty() ? -1 : m_list->indexOfTopLevelItem(items.constFirst());
}

void TMDIChild::select(int index) {
    QTreeWidgetItem* item = index >= 0 ? m_list->topLevelItem(index) : nullptr;
    if (item == nullptr) {
        m_list->selectionModel()->clear();
        return;
    }
    m_list->setCurrentItem(item);
    item->setSelected(true);
}

void TMDIChild::ListView1DblClick() {
    const int index = selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= m_project.size()) return;
    switch (m_project.objects[static_cast<std::size_t>(index)].kind) {
        case kmr::Kind::PlainMenu:
        case kmr::Kind::DefaultMenu: m_frame.MMenu1Execute(); break;
        case kmr::Kind::RunEntry: m_frame.MProg1Execute(); break;
        case kmr::Kind::Icon: m_frame.MIcono1Execute(); break;
        case kmr::Kind::Label: m_frame.MTexto1Execute(); break;
    }
}

void TMDIChild::ListView1Click() { m_frame.Actualizar1Execute(); }
void TMDIChild::ListView1Change() { m_frame.Actualizar1Execute(); }

void TMDIChild::ListView1ContextPopup(const QPoint& pos) {
    m_frame.Actualizar1Execute();
    // Not modal: the menu closes by itself when the user chooses or clicks elsewhere.
    m_frame.contextMenu()->popup(m_list->viewport()->mapToGlobal(pos));
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the list opens the selected object, as a double click does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            ListView1DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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
        case Answer::No:
            m_frame.Actualizar1Execute();
            event->accept();
            return;
        case Answer::Cancel:
        case Answer::Ok: break;
    }
    ++shared.closeCounter;
    event->ignore();
}

}  // namespace kmr::gui
