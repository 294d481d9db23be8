// The project windows in the frame's client area: the list of them, the active one, adding,
// arranging and closing one, the "Ventana" menu's list, and a new project from the wizard.

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "autorun/disc_properties_dialog.h"
#include "frame/main_window.h"
#include "project/disc_bar.h"
#include "project/project_file_commands.h"
#include "project/project_window.h"
#include "wizards/new_project_wizard.h"

namespace kmr::gui {

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
    connect(child->discBar(), &DiscBar::propertiesRequested, this, [this, child] { m_discProperties->editOn(*child); });
    sw->setAttribute(Qt::WA_DeleteOnClose);
    connect(sw, &QObject::destroyed, this,
            [this] { QMetaObject::invokeMethod(this, &MainWindow::refreshWindowCommands, Qt::QueuedConnection); });
    sw->show();
    m_mdi->setActiveSubWindow(sw);
    refreshWindowCommands();
    return child;
}

void MainWindow::refreshWindowCommands() {
    const bool any = !projectWindows().isEmpty();
    for (QAction* a : m_windowCommands) a->setEnabled(any);
    m_closeAction->setEnabled(any);
    // Another project window is active now, or none is.
    refreshObjectCommands();
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
