#include "project/project_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/image_list.h"
#include "base/prompts.h"
#include "base/shared_values.h"
#include "project/disc_bar.h"
#include "project/object_list_model.h"
#include "project/object_list_view.h"
#include "project/project_host.h"

namespace kmr::gui {

ProjectWindow::ProjectWindow(ProjectHost& host, const QString& caption, QWidget* parent)
    : QWidget(parent), m_host(host) {
    setObjectName(QStringLiteral("TMDIChild"));
    setWindowTitle(caption);
    setWindowIcon(host.images().icon(Picture::Compile));
    m_objects = new ObjectListModel(host.images(), this);
    m_list = new ObjectListView(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    m_list->setModel(m_objects);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &ProjectWindow::openSelectedObject);
    connect(m_list, &QAbstractItemView::clicked, this, &ProjectWindow::refreshCommands);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ProjectWindow::refreshCommands);
    connect(m_list, &QWidget::customContextMenuRequested, this, &ProjectWindow::showContextMenu);
    // Whatever changes the list changes the project: a command that runs out of memory half-way, and
    // so never marks it, still leaves the window to be saved and asked about on closing.
    const auto changed = [this] { setSaved(0); };
    connect(m_objects, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_objects, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_objects, &QAbstractItemModel::dataChanged, this, changed);
    m_discBar = new DiscBar(this);
    // The gear of the settings, beside the disc's own.
    m_discBar->propertiesButton()->setIcon(host.images().icon(Picture::Options));
    connect(m_discBar, &DiscBar::discEdited, this, [this] { setDisc(m_discBar->disc()); });
    connect(m_discBar, &DiscBar::changeRequested, this, [this] { chooseDiscFolder(*this, m_host.prompts()); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_discBar);
    layout->addWidget(m_list);
    resize(420, 260);
}

ProjectWindow::~ProjectWindow() {
    // The list goes after this object; its last signals must not reach the frame through us.
    m_list->removeEventFilter(this);
    m_list->viewport()->removeEventFilter(this);
    disconnect(m_list, nullptr, this, nullptr);
    disconnect(m_discBar, nullptr, this, nullptr);
    disconnect(m_list->selectionModel(), nullptr, this, nullptr);
    disconnect(m_objects, nullptr, this, nullptr);
}

const kmr::Project& ProjectWindow::project() const { return m_objects->project(); }

void ProjectWindow::setProject(kmr::Project project, int selection) {
    m_objects->setProject(std::move(project));
    m_discBar->showDisc(m_objects->project().disc);
    select(selection);
    // The list changed even when the selection did not.
    refreshCommands();
}

void ProjectWindow::markChanged() {
    setSaved(0);
    refreshCommands();
}

void ProjectWindow::setDisc(const kmr::DiscTarget& disc) {
    m_discBar->showDisc(disc);
    if (disc == project().disc) return;
    m_objects->setDisc(disc);
    setSaved(0);
}

bool ProjectWindow::setDiscSettings(kmr::DiscSettings settings) {
    if (settings == project().settings) return false;
    m_objects->setSettings(std::move(settings));
    markChanged();
    return true;
}

int ProjectWindow::selectedIndex() const {
    // One selection at a time: the first range is all of it.
    const QItemSelection selection = m_list->selectionModel()->selection();
    return selection.isEmpty() ? -1 : selection.constFirst().top();
}

std::optional<std::size_t> ProjectWindow::selectedObject() const {
    const int index = selectedIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= project().size()) return std::nullopt;
    return static_cast<std::size_t>(index);
}

void ProjectWindow::select(int index) {
    const QModelIndex at = index >= 0 ? m_objects->index(index) : QModelIndex();
    if (!at.isValid()) {
        m_list->selectionModel()->clear();
        return;
    }
    m_list->setCurrentIndex(at);
    m_list->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
}

void ProjectWindow::openSelectedObject() {
    const auto index = selectedObject();
    if (!index) return;
    m_host.modifyObject(project().objects[*index].kind);
}

void ProjectWindow::refreshCommands() { m_host.refreshObjectCommands(); }

void ProjectWindow::showContextMenu(const QPoint& pos) {
    m_host.refreshObjectCommands();
    m_host.showObjectMenu(m_list->viewport()->mapToGlobal(pos));
}

bool ProjectWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the list opens the selected object, as a double click does.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            openSelectedObject();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            m_host.deleteSelectedObject();
            return true;
        }
        // Shift+F10 opens the context menu where the Menu key does: at the current row.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            const QPoint at = m_list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, m_list->mapToGlobal(at));
            QCoreApplication::sendEvent(m_list, &menu);
            return true;
        }
    }
    // A double click beside the objects opens the one still selected, as a double click on it does;
    // one on an object reaches doubleClicked.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !m_list->indexAt(mouse->position().toPoint()).isValid()) {
            openSelectedObject();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ProjectWindow::closeEvent(QCloseEvent* event) {
    SharedValues& shared = m_host.shared();
    --shared.closeCounter;
    if (project().empty() || m_saved == 1) {
        event->accept();
        return;
    }
    // The user sees which of several windows, perhaps of one caption, the question is about.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame != nullptr && frame->mdiArea() != nullptr) {
        frame->mdiArea()->setActiveSubWindow(frame);
    }
    const QString question = QStringLiteral("El fichero \"") + windowTitle() +
                             QStringLiteral("\" no ha sido guardado. ¿Desea guardar primero?");
    const Answer answer = m_host.prompts().message(question, QStringLiteral("Atención"), MessageIcon::Warning,
                                                   MessageButtons::YesNoCancel);
    switch (answer) {
        case Answer::Yes:
            switch (m_host.saveProject(this)) {
                case SaveOutcome::Saved:
                case SaveOutcome::NothingToDo: event->accept(); return;
                case SaveOutcome::Failed:
                    // The error has been shown; the project stays, and a shut-down in progress ends here.
                    m_host.abortShutdown();
                    break;
                case SaveOutcome::Abandoned:
                    // The user asked to save and then backed out of the file dialog: keep the project,
                    // exactly as if they had answered Cancel.
                    break;
            }
            ++shared.closeCounter;
            event->ignore();
            return;
        case Answer::No:
            m_host.refreshObjectCommands();
            event->accept();
            return;
        case Answer::Cancel:
        case Answer::Ok: break;
    }
    ++shared.closeCounter;
    event->ignore();
}

}  // namespace kmr::gui
