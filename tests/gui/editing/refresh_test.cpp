// Which object commands are offered, and where: the refresh after selections, window changes and
// closes, across the "&Edición" menu, the second tool bar and the project window's context menu.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <string>
#include <vector>

#include "editing/command_fixture.h"
#include "project/object_list_view.h"
#include "project/project_window.h"

namespace kmr::gui::test {
namespace {

using kmr::makeIcon;
using kmr::makeLabel;
using kmr::makeMenu;

// "IProg1 Del1" as a list of names.
QStringList names(const char* spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

class RefreshTest : public EditingCommandTest {};

TEST_F(RefreshTest, TheRefreshOffersWhatTheSelectionAllowsInAllThreePlaces) {
    struct Case {
        const char* name;
        kmr::Project project;
        int row;  // -1: nothing selected
        const char* offered;
        bool defaultChecked;
    };
    kmr::Project menusOnly = projectOf({makeMenu("a", "a", "a"), makeMenu("b", "b", "b", true)});
    const std::vector<Case> cases = {
        {"empty project", {}, -1, "IProg1 IIcono1 ITexto1 IMenu1", false},
        {"nothing selected", exampleProject(), -1, "IMenu1", false},
        {"run entry", exampleProject(), 0, "IMenu1 MProg1 Del1", false},
        {"icon", exampleProject(), 1, "IMenu1 MIcono1 Del1", false},
        {"label", exampleProject(), 2, "IMenu1 MTexto1 Del1", false},
        {"default menu after the label", exampleProject(), 3, "IMenu1 MMenu1 Pred1 Down1 Del1", true},
        {"last menu", exampleProject(), 4, "IMenu1 MMenu1 Pred1 Up1 Del1", false},
        {"first of only menus", menusOnly, 0, "IProg1 IIcono1 ITexto1 IMenu1 MMenu1 Pred1 Down1 Del1", false},
        {"icon and label only", projectOf({makeIcon("i"), makeLabel("L")}), 1, "IProg1 IMenu1 MTexto1 Del1", false},
    };
    auto ordered = [](const QStringList& names, const QStringList& order) {
        QStringList list;
        for (const QString& n : order) {
            if (names.contains(n)) list << n;
        }
        return list;
    };
    const QStringList menuOrder = objectCommandNames();
    const QStringList popupOrder =
        names("IProg1 IIcono1 ITexto1 IMenu1 MProg1 MTexto1 MIcono1 MMenu1 Pred1 Up1 Down1 Del1");
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("ToolBar2"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectWindow* child = newProject(c.project);
        if (c.row >= 0) clickRow(child, c.row);
        const Reachable r = reachable();
        const QStringList offered = names(c.offered);
        EXPECT_EQ(r.menu, ordered(offered, menuOrder));
        EXPECT_EQ(r.toolBar, ordered(offered, menuOrder));
        EXPECT_EQ(r.contextMenu, ordered(offered, popupOrder));
        EXPECT_EQ(action("Pred1")->isChecked(), c.defaultChecked);
        // The separator before the delete button goes and comes with it.
        const QList<QAction*> tools = bar->actions();
        const qsizetype del = tools.indexOf(action("Del1"));
        ASSERT_GT(del, 0);
        ASSERT_TRUE(tools[del - 1]->isSeparator());
        EXPECT_EQ(tools[del - 1]->isVisible(), offered.contains(QStringLiteral("Del1")));
        child->setSaved(1);
        child->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // With no project window nothing is offered and the second tool bar is gone.
    ASSERT_EQ(m_frame->activeProjectWindow(), nullptr);
    const Reachable none = reachable();
    EXPECT_TRUE(none.menu.isEmpty());
    EXPECT_TRUE(none.toolBar.isEmpty());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(m_frame->findChild<QMenu*>(QStringLiteral("Anadir1"))->menuAction()->isVisible());
}

TEST_F(RefreshTest, TheContextMenuHoldsTheObjectCommandsInItsOwnOrder) {
    ProjectWindow* child = newProject(exampleProject());
    clickRow(child, 3);
    auto entries = [](const QMenu* menu) {
        QStringList list;
        for (const QAction* a : menu->actions()) {
            if (a->isSeparator())
                list << QStringLiteral("-");
            else if (a->menu() != nullptr)
                list << a->text() + QLatin1Char('(') + a->menu()->objectName() + QLatin1Char(')');
            else
                list << a->objectName();
        }
        return list.join(QLatin1Char(' '));
    };
    const QMenu* popup = m_frame->contextMenu();
    EXPECT_EQ(entries(popup),
              QStringLiteral("Añadir(PopupAnadir1) MProg1 MTexto1 MIcono1 MMenu1 Pred1 - Up1 Down1 - Del1"));
    const QMenu* add = m_frame->findChild<QMenu*>(QStringLiteral("PopupAnadir1"));
    EXPECT_EQ(entries(add), QStringLiteral("IProg1 IIcono1 ITexto1 IMenu1"));
    EXPECT_EQ(add->menuAction()->icon().pixmap(16).toImage(), m_frame->images().pixmap(26).toImage());
    // Choosing an entry runs the frame's command on this window.
    m_prompts.answer(Answer::No);
    for (QAction* a : popup->actions()) {
        if (a == action("Del1")) a->trigger();
    }
    EXPECT_EQ(m_prompts.texts(), QStringList{QStringLiteral("¿Seguro que desea eliminar el objeto seleccionado?")});
}

TEST_F(RefreshTest, TheRefreshFollowsTheActiveWindowAndItsClosing) {
    ProjectWindow* full = newProject(exampleProject(), QStringLiteral("Lleno"));
    ProjectWindow* empty = newProject({}, QStringLiteral("Vacío"));
    auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("ToolBar2"));
    EXPECT_TRUE(action("IProg1")->isVisible());
    m_frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(full->parentWidget()));
    EXPECT_FALSE(action("IProg1")->isVisible());
    clickRow(full, 4);
    EXPECT_TRUE(action("Del1")->isVisible());
    m_frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(empty->parentWidget()));
    EXPECT_TRUE(action("IProg1")->isVisible());
    EXPECT_FALSE(action("Del1")->isVisible()) << "the other window's selection does not count";

    // Declining to save the closing window refreshes; once no window is left, nothing is offered.
    empty->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->activeProjectWindow(), full);
    EXPECT_FALSE(action("IProg1")->isVisible());
    m_prompts.answer(Answer::No);
    full->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_FALSE(bar->isVisible());
    for (const QString& name : objectCommandNames()) {
        if (name != QStringLiteral("IProg1") && name != QStringLiteral("IIcono1") &&
            name != QStringLiteral("ITexto1") && name != QStringLiteral("IMenu1")) {
            EXPECT_FALSE(m_frame->findChild<QAction*>(name)->isVisible()) << name.toStdString();
        }
    }
    EXPECT_TRUE(reachable().menu.isEmpty());
    // The band option brings the tool bar back only together with a project window.
    m_frame->toggleToolBar();
    m_frame->toggleToolBar();
    EXPECT_FALSE(bar->isVisible());
    newProject({});
    EXPECT_TRUE(bar->isVisible());
    m_frame->toggleToolBar();
    EXPECT_FALSE(bar->isVisible());
    m_frame->toggleToolBar();
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(RefreshTest, AHiddenCommandCannotBeReachedByAShortcut) {
    // The object commands have no shortcut; give one to Up1 to see that hiding also silences it.
    QAction* up = action("Up1");
    ASSERT_TRUE(up->shortcut().isEmpty());
    up->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    const kmr::ProjectObject a = makeMenu("A", "a", "a");
    const kmr::ProjectObject b = makeMenu("B", "b", "b");
    ProjectWindow* child = newProject(projectOf({a, b}));
    QApplication::setActiveWindow(m_frame.get());
    clickRow(child, 0);
    ASSERT_FALSE(up->isVisible());
    QTest::keyClick(child->listView(), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(child->project(), projectOf({a, b}));
    clickRow(child, 1);
    ASSERT_TRUE(up->isVisible());
    QTest::keyClick(child->listView(), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(child->project(), projectOf({b, a})) << "the shortcut works while the command is offered";
}
}  // namespace
}  // namespace kmr::gui::test
