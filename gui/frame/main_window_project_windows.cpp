// MainWindow's project windows in its client area: the list of them, the active one, adding,
// arranging and closing one, the "Ventana" menu's list, and a new project from the wizard.

#include <QActionGroup>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>

#include <algorithm>

#include "autorun/disc_properties_dialog.h"
#include "frame/main_window.h"
#include "project/disc_bar.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"
#include "wizards/new_project_wizard.h"

namespace kmr::gui {

namespace {

// The least height at which `window` shows all it holds when it is `width` wide: a disc bar wraps to
// more lines as its window narrows.
int minimumHeightAt(const QWidget* window, int width) {
    const QLayout* layout = window->layout();
    if (layout != nullptr && layout->hasHeightForWidth()) return layout->totalMinimumHeightForWidth(width);
    return window->minimumSizeHint().height();
}

}  // namespace

QList<ProjectWindow*> MainWindow::projectWindows() const {
    QList<ProjectWindow*> list;
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) {
        // A closed window lingers until its deferred deletion; it no longer counts.
        if (sw->isHidden()) continue;
        if (auto* child = qobject_cast<ProjectWindow*>(sw->widget())) list << child;
    }
    return list;
}

ProjectWindow* MainWindow::activeProjectWindow() const {
    QMdiSubWindow* sw = m_mdi->currentSubWindow();
    if (sw == nullptr || sw->isHidden()) return nullptr;
    return qobject_cast<ProjectWindow*>(sw->widget());
}

ProjectWindow* MainWindow::addProjectWindow(const QString& caption) {
    auto* child = new ProjectWindow(*this, caption);
    QMdiSubWindow* sw = m_mdi->addSubWindow(child);
    connect(child->discBar(), &DiscBar::propertiesRequested, this, [this, child] { editDiscProperties(child); });
    sw->setAttribute(Qt::WA_DeleteOnClose);
    connect(sw, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &MainWindow::refreshWindowCommands, Qt::QueuedConnection); });
    sw->show();
    m_mdi->setActiveSubWindow(sw);
    refreshWindowCommands();
    return child;
}

void MainWindow::listProjectWindows() {
    qDeleteAll(m_windowList);
    m_windowList.clear();
    delete m_windowsMenu->findChild<QActionGroup*>(QStringLiteral("ListaVentanas"));
    const QList<ProjectWindow*> windows = projectWindows();
    if (windows.isEmpty()) return;
    auto* group = new QActionGroup(m_windowsMenu);
    group->setObjectName(QStringLiteral("ListaVentanas"));
    m_windowList << m_windowsMenu->addSeparator();
    const ProjectWindow* active = activeProjectWindow();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        ProjectWindow* w = windows.at(i);
        QString caption = w->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        // The first nine are reached by their digit.
        QAction* a =
            m_windowsMenu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(QString::number(i + 1), caption) : caption);
        a->setObjectName(QStringLiteral("Ventana%1").arg(i + 1));
        a->setCheckable(true);
        a->setChecked(w == active);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, w] {
            if (projectWindows().contains(w))
                m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
        });
        m_windowList << a;
    }
}

void MainWindow::tileHorizontally() {
    // One above the other, each as wide as the client area; never lower than its window needs, so a
    // crowded area scrolls rather than cutting the windows.
    const auto windows = m_mdi->subWindowList();
    if (windows.isEmpty()) return;
    const QSize room = m_mdi->contentsRect().size();  // the client area without scroll bars
    const int share = room.height() / static_cast<int>(windows.size());
    auto heightOf = [&](QMdiSubWindow* w, int wide) { return std::max(share, minimumHeightAt(w, wide)); };
    int width = room.width();
    int total = 0;
    for (QMdiSubWindow* w : windows) total += heightOf(w, width);
    // Past the bottom the vertical scroll bar takes its room at the right.
    if (total > room.height()) width -= m_mdi->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_mdi);
    int y = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        const int wide = std::max(width, w->minimumSizeHint().width());
        const int high = heightOf(w, wide);
        w->setGeometry(0, y, wide, high);
        y += high;
    }
}

void MainWindow::tileVertically() {
    // Side by side, each as high as the client area; never narrower than its window needs.
    const auto windows = m_mdi->subWindowList();
    if (windows.isEmpty()) return;
    const QSize room = m_mdi->contentsRect().size();
    const int share = room.width() / static_cast<int>(windows.size());
    int total = 0;
    for (QMdiSubWindow* sub : windows) total += std::max(share, sub->minimumSizeHint().width());
    // Past the right edge the horizontal scroll bar takes its room at the bottom.
    const int height =
        room.height() -
        (total > room.width() ? m_mdi->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_mdi) : 0);
    int x = 0;
    for (QMdiSubWindow* sub : windows) {
        sub->showNormal();
        const int wide = std::max(share, sub->minimumSizeHint().width());
        sub->setGeometry(x, 0, wide, std::max(height, minimumHeightAt(sub, wide)));
        x += wide;
    }
}

void MainWindow::minimizeAll() {
    for (QMdiSubWindow* w : m_mdi->subWindowList()) w->showMinimized();
    arrangeIcons();
}

void MainWindow::arrangeIcons() {
    // Minimised windows line up along the bottom edge of the client area.
    int x = 0;
    const int bottom = m_mdi->viewport()->height();
    for (QMdiSubWindow* sw : m_mdi->subWindowList()) {
        if (!sw->isMinimized() || sw->isHidden()) continue;
        const QSize size = sw->size();
        sw->move(x, bottom - size.height());
        x += size.width();
    }
}

void MainWindow::closeProject() {
    if (QMdiSubWindow* sw = m_mdi->currentSubWindow()) sw->close();
}

void MainWindow::editDiscProperties(ProjectWindow* window) {
    if (window != nullptr) m_discProperties->editOn(*window);
}

void MainWindow::newProject() {
    m_wizard->exec();
    // Cancelled, or handed over to the open or import command: nothing to build.
    if (!m_shared.wizardFinished) return;
    createProject(QStringLiteral("Sin nombre %1").arg(projectWindows().size() + 1));
}

ProjectWindow* MainWindow::createProject(const QString& caption) {
    ProjectWindow* child = addProjectWindow(caption);
    child->setProject(kmr::buildProject(m_shared.wizardData));
    child->setSaved(0);
    return child;
}

SaveOutcome MainWindow::saveProject(ProjectWindow* window) { return m_fileCommands->saveProject(window); }
}  // namespace kmr::gui
