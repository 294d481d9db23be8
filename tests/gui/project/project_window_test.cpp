#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <cstdlib>
#include <optional>

#include "project/object_list_model.h"
#include "project/object_list_view.h"
#include "project/project_file.h"
#include "project/project_window.h"
#include "support/frame_fixture.h"

namespace kmr::gui::test {
namespace {

class ProjectWindowTest : public FrameTest {
protected:
    // Closes a project window the way its close box does; true when it went.
    bool closeWindow(ProjectWindow* child) {
        const bool closed = child->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }
    QString question(const QString& caption) {
        return QStringLiteral("El fichero \"") + caption +
               QStringLiteral("\" no ha sido guardado. ¿Desea guardar primero?");
    }
};

TEST_F(ProjectWindowTest, ListShowsOneColumnWithTheKindsPictureBeforeEachCaption) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    ObjectListView* list = child->listView();
    QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(list->model()->columnCount(), 1);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Comandos"));
    EXPECT_FALSE(list->header()->isHidden());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    ASSERT_EQ(rowCount(child), 5);
    const char* captions[] = {"Ejecutar programa \"setup.exe\"", "Mostrar icono \"disco.ico\"",
                              "Mostrar texto \"MiCD\"", "Mostrar menú \"Instalar\"", "Mostrar menú \"Leeme\""};
    const int kinds[] = {21, 22, 23, 20, 6};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rowText(child, i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(rowPicture(child, i), m_frame->images().pixmap(kinds[i]).toImage());
    }
    EXPECT_EQ(child->selectedIndex(), -1);
    list->setCurrentIndex(list->model()->index(3, 0));
    EXPECT_EQ(child->selectedIndex(), 3);
}

// Delete on the list runs "Eliminar" (the command itself keeps no shortcut); Shift+F10 opens the
// list's context menu beside the current row, as the Menu key does.
TEST_F(ProjectWindowTest, DeleteAndShiftF10WorkOnTheList) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    ObjectListView* list = child->listView();
    EXPECT_TRUE(action("Del1")->shortcut().isEmpty());
    const struct {
        int selected;
        std::optional<Answer> answer;  // none: nothing selected, nothing asked
        int rowsAfter;
    } cases[] = {{-1, std::nullopt, 5}, {2, Answer::No, 5}, {2, Answer::Yes, 4}};
    for (const auto& c : cases) {
        m_prompts.messages.clear();
        child->select(c.selected);
        if (c.answer) m_prompts.answer(*c.answer);
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(rowCount(child), c.rowsAfter);
        EXPECT_EQ(m_prompts.messages.size(), c.answer ? 1U : 0U);
    }
    EXPECT_EQ(m_prompts.messages.at(0).text, QStringLiteral("¿Seguro que desea eliminar el objeto seleccionado?"));
    EXPECT_EQ(rowText(child, 2), QStringLiteral("Mostrar menú \"Instalar\""));

    auto* popup = m_frame->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    child->select(1);
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(popup->isVisible());
    const int rowY = list->viewport()->mapToGlobal(rowRect(child, 1).center()).y();
    EXPECT_LE(std::abs(popup->pos().y() - rowY), 3 * rowRect(child, 1).height());
    popup->hide();
}

TEST_F(ProjectWindowTest, NewProjectsAreNumberedByTheWindowsOpenNow) {
    startFrame();
    newBlankProject();
    newBlankProject();
    auto windows = m_frame->projectWindows();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[1]->windowTitle(), QStringLiteral("Sin nombre 2"));
    newBlankProject();
    EXPECT_EQ(m_frame->activeProjectWindow()->windowTitle(), QStringLiteral("Sin nombre 3"));
    EXPECT_TRUE(m_frame->activeProjectWindow()->project().empty());
    EXPECT_EQ(m_frame->activeProjectWindow()->saved(), 0);
    ASSERT_TRUE(closeWindow(windows[0]));
    newBlankProject();
    EXPECT_EQ(m_frame->activeProjectWindow()->windowTitle(), QStringLiteral("Sin nombre 3"));
}

TEST_F(ProjectWindowTest, CreateProjectBuildsTheListFromTheWizardData) {
    startFrame();
    kmr::WizardData& data = m_frame->shared().wizardData;
    data.runCommand = "docs\\index.html";
    data.resource = true;
    data.label = "MiCD";
    data.menus.push_back({"Ver", "explorer .", "ver", kmr::Kind::DefaultMenu});
    ProjectWindow* child = m_frame->createProject(QStringLiteral("Sin nombre 1"));
    EXPECT_EQ(child->project(), kmr::buildProject(data));
    EXPECT_EQ(rowText(child, 0), QStringLiteral("Ejecutar recurso \"docs\\index.html\""));
    EXPECT_EQ(m_frame->activeProjectWindow(), child);
    EXPECT_TRUE(child->filePath().isEmpty());
    EXPECT_EQ(child->saved(), 0);
}

// Every way a close can go, for a changed project that has no file yet.
TEST_F(ProjectWindowTest, CloseQuestionBranches) {
    const QString target = path(QStringLiteral("guardado.kmr"));
    const QString blocked = path(QStringLiteral("bin/kmr.hlp/no.kmr"));  // a file stands where a folder should
    const struct {
        const char* name;
        Answer answer;
        std::optional<QString> chosen;
        bool closes;
        bool fileWritten;
        bool extraMessage;
    } cases[] = {
        {"Cancel", Answer::Cancel, std::nullopt, false, false, false},
        {"No", Answer::No, std::nullopt, true, false, false},
        {"Yes, saved", Answer::Yes, target, true, true, true},
        {"Yes, dialog cancelled keeps the project", Answer::Yes, std::nullopt, false, false, false},
        {"Yes, write fails", Answer::Yes, blocked, false, false, true},
    };
    startFrame();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(target);
        m_prompts.messages.clear();
        ProjectWindow* child = newProject(exampleProject(), QStringLiteral("Sin nombre 7"));
        m_prompts.answer(c.answer);
        if (c.answer == Answer::Yes) m_prompts.choose(c.chosen);
        m_frame->shared().closeCounter = 1;
        const QPointer<ProjectWindow> guard(child);
        EXPECT_EQ(closeWindow(child), c.closes);
        EXPECT_EQ(guard.isNull(), c.closes);
        EXPECT_EQ(m_frame->shared().closeCounter, c.closes ? 0 : 1);
        ASSERT_GE(m_prompts.messages.size(), 1u);
        EXPECT_EQ(m_prompts.messages[0].text, question(QStringLiteral("Sin nombre 7")));
        EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Atención"));
        EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(m_prompts.messages.size(), c.extraMessage ? 2u : 1u);
        EXPECT_EQ(QFileInfo::exists(target), c.fileWritten);
        if (c.fileWritten) {
            EXPECT_EQ(readBytes(target), QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())));
        }
        if (!c.closes) {
            EXPECT_EQ(child->project(), exampleProject()) << "the project is still there";
            child->setSaved(1);
            closeWindow(child);
        }
    }
}

TEST_F(ProjectWindowTest, EmptyOrSavedProjectsCloseWithoutAQuestion) {
    startFrame();
    ProjectWindow* empty = newProject({});
    EXPECT_TRUE(closeWindow(empty));
    ProjectWindow* saved = newProject(exampleProject());
    saved->setSaved(1);
    EXPECT_TRUE(closeWindow(saved));
    EXPECT_TRUE(m_prompts.messages.empty());
}

// A command marks its window when it is done; one that stops half-way (out of memory) does not get
// there, yet what it changed must still be saved or asked about.
TEST_F(ProjectWindowTest, AnyChangeOfTheListLeavesTheWindowToBeSaved) {
    startFrame();
    ProjectWindow* child = newProject(exampleProject());
    const std::vector<std::pair<const char*, std::function<void(ObjectListModel&)>>> edits = {
        {"insert", [](ObjectListModel& m) { m.insert(kmr::makeMenu("N", "n.exe", "n")); }},
        {"remove", [](ObjectListModel& m) { m.remove(0); }},
        {"replace", [](ObjectListModel& m) { m.replace(0, kmr::makeLabel("Otro")); }},
        {"swap", [](ObjectListModel& m) { m.swap(1, 2); }},
        {"toggle the default", [](ObjectListModel& m) { EXPECT_TRUE(m.toggleDefault(3)); }},
    };
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        child->setSaved(1);
        edit(child->objects());
        EXPECT_EQ(child->saved(), 0);
    }
    child->setSaved(1);
    child->setProject(exampleProject(), 0);
    EXPECT_EQ(child->saved(), 1) << "showing a project read from its file changes nothing";
}

TEST_F(ProjectWindowTest, ShutDownAsksEachChangedProjectAndOneCancelKeepsTheFrame) {
    MainWindow& f = startFrame();
    ProjectWindow* a = newProject(exampleProject(), QStringLiteral("Sin nombre 1"));
    ProjectWindow* b = newProject(exampleProject(), QStringLiteral("Sin nombre 2"));
    ProjectWindow* c = newProject(exampleProject(), QStringLiteral("Sin nombre 3"));
    const QString target = path(QStringLiteral("b.kmr"));
    m_prompts.answer(Answer::No);
    m_prompts.answer(Answer::Yes);
    m_prompts.choose(target);
    m_prompts.answer(Answer::Cancel);
    // Each question is asked while its own window is the active one, though c was active before.
    QStringList activeWhileAsked;
    m_prompts.whileAsked = [&f, &activeWhileAsked](const AskedMessage&) {
        activeWhileAsked << (f.activeProjectWindow() != nullptr ? f.activeProjectWindow()->windowTitle() : QString());
    };
    f.resize(620, 410);
    EXPECT_FALSE(f.close());
    m_prompts.whileAsked = nullptr;
    EXPECT_EQ(activeWhileAsked, (QStringList{QStringLiteral("Sin nombre 1"), QStringLiteral("Sin nombre 2"),
                                             QStringLiteral("b.kmr"), QStringLiteral("Sin nombre 3")}))
        << "the saved message comes while b, saved as b.kmr, is still active";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList expected = {question(QStringLiteral("Sin nombre 1")), question(QStringLiteral("Sin nombre 2")),
                                  QStringLiteral("El fichero ha sido guardado con éxito."),
                                  question(QStringLiteral("Sin nombre 3"))};
    EXPECT_EQ(m_prompts.texts(), expected);
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(f.projectWindows().size(), 1);
    EXPECT_EQ(f.projectWindows()[0], c);
    EXPECT_EQ(readBytes(target), QByteArray::fromStdString(kmr::projectFileBytes(exampleProject())))
        << "the Yes saved its own window's project";
    EXPECT_EQ(key().readInt(QStringLiteral("X1")), 620) << "geometry is stored even when the close is refused";
    (void)a;
    (void)b;

    // A second close with the last project answered No ends the program.
    m_prompts.messages.clear();
    m_prompts.answer(Answer::No);
    EXPECT_TRUE(f.close());
}

// "&Ventanas" lists the open project windows with the active one checked; picking one, Ctrl+F6 and
// Ctrl+Shift+F6 make another active.
TEST_F(ProjectWindowTest, WindowsMenuListsTheProjectsAndCtrlF6GoesThroughThem) {
    MainWindow& f = startFrame();
    auto* menu = f.findChild<QMenu*>(QStringLiteral("Ventanas1"));
    ASSERT_NE(menu, nullptr);
    const auto listed = [menu] {
        emit menu->aboutToShow();
        QStringList entries;
        for (const QAction* a : menu->actions()) {
            if (a->isCheckable()) entries << (a->isChecked() ? QStringLiteral("* ") : QString()) + a->text();
        }
        return entries;
    };
    EXPECT_TRUE(listed().isEmpty());
    ProjectWindow* a = newProject(exampleProject(), QStringLiteral("Sin nombre 1"));
    ProjectWindow* b = newProject(exampleProject(), QStringLiteral("Fichero Importado"));
    newProject(exampleProject(), QStringLiteral("I+D & más"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("&1 Sin nombre 1"), QStringLiteral("&2 Fichero Importado"),
                                     QStringLiteral("* &3 I+D && más")}));
    menu->findChild<QAction*>(QStringLiteral("Ventana2"))->trigger();
    EXPECT_EQ(f.activeProjectWindow(), b);

    QAction* next = action("SiguienteVentana1");
    QAction* previous = action("AnteriorVentana1");
    EXPECT_EQ(next->shortcut(), QKeySequence(QStringLiteral("Ctrl+F6")));
    EXPECT_EQ(previous->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F6")));
    previous->trigger();
    EXPECT_EQ(f.activeProjectWindow(), a);
    previous->trigger();
    EXPECT_EQ(f.activeProjectWindow()->windowTitle(), QStringLiteral("I+D & más")) << "from the first to the last";
    next->trigger();
    EXPECT_EQ(f.activeProjectWindow(), a);
    EXPECT_EQ(listed().constFirst(), QStringLiteral("* &1 Sin nombre 1"));
}

TEST_F(ProjectWindowTest, AFailedSaveStopsTheShutDownAtThatWindow) {
    MainWindow& f = startFrame();
    newProject(exampleProject(), QStringLiteral("Sin nombre 1"));
    newProject(exampleProject(), QStringLiteral("Sin nombre 2"));
    m_prompts.answer(Answer::Yes);
    m_prompts.choose(path(QStringLiteral("bin/kmr.hlp/x.kmr")));
    EXPECT_FALSE(f.close());
    ASSERT_EQ(m_prompts.messages.size(), 2u);
    EXPECT_EQ(m_prompts.messages[1].title, QStringLiteral("Error"));
    EXPECT_EQ(m_prompts.messages[1].icon, MessageIcon::Error);
    EXPECT_TRUE(m_prompts.messages[1].text.startsWith(QStringLiteral("No se ha podido escribir el fichero \"") +
                                                      path(QStringLiteral("bin/kmr.hlp/x.kmr")) +
                                                      QStringLiteral("\": ")));
    EXPECT_EQ(f.projectWindows().size(), 2) << "the second window was not asked";
}

}  // namespace
}  // namespace kmr::gui::test
