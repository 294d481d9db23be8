// Cut, copy and paste end to end: between project windows, back into the same one, with the
// replacement question and the menu editor.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

#include "base/qt_text.h"
#include "editing/clipboard_commands.h"
#include "editing/command_fixture.h"
#include "editing/dialog_fixture.h"
#include "project/object_list_view.h"
#include "project/project_window.h"

namespace kmr::gui::test {
namespace {

using kmr::makeIcon;
using kmr::makeLabel;
using kmr::makeMenu;
using kmr::makeProgram;
using kmr::makeResource;

const QString kReplace = QStringLiteral("Ya tiene este objeto en su proyecto. ¿Desea substituirlo?");
const QString kSameName =
    QStringLiteral("No puede utilizar el mismo nombre para varios menús. Cambie el nombre interno del menú.");

class ClipboardTest : public EditingCommandTest {
protected:
    void activate(ProjectWindow* child) {
        m_frame->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
        ASSERT_EQ(m_frame->activeProjectWindow(), child);
    }
    // Pastes with `action` on the menu editor, if one opens; true when it opened.
    bool paste(DialogAction action = pressCancel()) {
        auto ran = onNextDialog(std::move(action));
        m_frame->clipboardCommands().paste();
        stopPolls();
        return *ran;
    }
    void copyRow(ProjectWindow* child, int row) {
        activate(child);
        clickRow(child, row);
        action("Copiar1")->trigger();
    }
};

TEST_F(ClipboardTest, ARunEntryGoesToAnotherProjectAndThenAsksBeforeReplacing) {
    ProjectWindow* a = newProject(projectOf({makeResource("docs\\index.html"), makeLabel("A")}), QStringLiteral("A"));
    a->setSaved(1);
    ProjectWindow* b = newProject(projectOf({makeIcon("b.ico"), makeMenu("m", "m.exe", "m")}), QStringLiteral("B"));
    copyRow(a, 0);
    EXPECT_EQ(a->saved(), 1) << "copying changes nothing";

    activate(b);
    b->setSaved(1);
    EXPECT_FALSE(paste());
    const kmr::Project pasted =
        projectOf({makeResource("docs\\index.html"), makeIcon("b.ico"), makeMenu("m", "m.exe", "m")});
    EXPECT_EQ(b->project(), pasted);
    EXPECT_EQ(b->selectedIndex(), 0);
    EXPECT_EQ(b->saved(), 0);
    EXPECT_FALSE(action("IProg1")->isVisible()) << "the refresh saw the pasted run entry";

    // B now holds a run entry of its own: the question, and No leaves B as it is.
    b->setProject(projectOf({makeProgram("otro.exe"), makeIcon("b.ico")}));
    b->setSaved(1);
    m_prompts.answer(Answer::No);
    EXPECT_FALSE(paste());
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, kReplace);
    EXPECT_EQ(m_prompts.messages[0].title, QStringLiteral("Confirmación"));
    EXPECT_EQ(m_prompts.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(m_prompts.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(b->project(), projectOf({makeProgram("otro.exe"), makeIcon("b.ico")}));
    EXPECT_EQ(b->saved(), 1);

    // Yes replaces caption and value in place.
    m_prompts.answer(Answer::Yes);
    EXPECT_FALSE(paste());
    EXPECT_EQ(b->project(), projectOf({makeResource("docs\\index.html"), makeIcon("b.ico")}));
    EXPECT_EQ(rowText(b, 0), QStringLiteral("Ejecutar recurso \"docs\\index.html\""));
    EXPECT_EQ(b->saved(), 0);
}

TEST_F(ClipboardTest, PastedObjectsTakeTheirPlacesInTheTargetProject) {
    const kmr::Project source = exampleProject();
    struct Case {
        const char* name;
        int row;  // in exampleProject
        kmr::Project target;
        kmr::Project expected;
        int selected;
    };
    const kmr::ProjectObject menu = makeMenu("x", "x", "x");
    const std::vector<Case> cases = {
        {"icon after a run entry", 1, projectOf({makeProgram("p"), menu}),
         projectOf({makeProgram("p"), makeIcon("disco.ico"), menu}), 1},
        {"icon before a label", 1, projectOf({makeLabel("L")}), projectOf({makeIcon("disco.ico"), makeLabel("L")}), 0},
        {"label after run entry and icon", 2, projectOf({makeProgram("p"), makeIcon("i"), menu}),
         projectOf({makeProgram("p"), makeIcon("i"), makeLabel("MiCD"), menu}), 2},
        {"label after an icon", 2, projectOf({makeIcon("i")}), projectOf({makeIcon("i"), makeLabel("MiCD")}), 1},
        {"label into an empty project", 2, {}, projectOf({makeLabel("MiCD")}), 0},
        {"run entry on top", 0, projectOf({makeLabel("L")}), projectOf({makeProgram("setup.exe"), makeLabel("L")}), 0},
    };
    ProjectWindow* from = newProject(source, QStringLiteral("origen"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        copyRow(from, c.row);
        ProjectWindow* to = newProject(c.target, QStringLiteral("destino"));
        EXPECT_FALSE(paste());
        EXPECT_EQ(to->project(), c.expected);
        EXPECT_EQ(to->selectedIndex(), c.selected);
        to->setSaved(1);
        to->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(from->project(), source);
}

TEST_F(ClipboardTest, AMenuPastedBesideItselfNeedsANewInternalName) {
    ProjectWindow* child = newProject(exampleProject());
    child->setSaved(1);
    copyRow(child, 4);
    MenuEntry shown;
    bool refusedFirst = false;
    EXPECT_TRUE(paste([&](QWidget* editor) {
        shown = {control<QLineEdit>(*editor, "Texto").text(), control<QLineEdit>(*editor, "Comando").text(),
                 control<QLineEdit>(*editor, "NombreInterno").text(), control<QCheckBox>(*editor, "Clave").isChecked()};
        control<QPushButton>(*editor, "Aceptar").click();
        refusedFirst = editor->isVisible();
        control<QLineEdit>(*editor, "Texto").setText(QStringLiteral("Léeme ☃"));
        control<QLineEdit>(*editor, "NombreInterno").setText(QStringLiteral("leeme2"));
        control<QPushButton>(*editor, "Aceptar").click();
        EXPECT_FALSE(editor->isVisible());
    }));
    EXPECT_EQ(shown, (MenuEntry{QStringLiteral("Leeme"), QStringLiteral("notepad leeme.txt"), QStringLiteral("leeme"),
                                false}));
    EXPECT_TRUE(refusedFirst);
    EXPECT_EQ(m_prompts.texts(), QStringList{kSameName});
    kmr::Project expected = exampleProject();
    expected.append(makeMenu("Léeme ☃", "notepad leeme.txt", "leeme2"));
    EXPECT_EQ(child->project(), expected);
    EXPECT_EQ(child->selectedIndex(), 5);
    EXPECT_EQ(child->saved(), 0);
    // The buffer keeps what the editor accepted.
    EXPECT_EQ(m_frame->shared().objectBuffer.caption, "Mostrar menú \"Léeme ☃\"");
    EXPECT_EQ(m_frame->shared().objectBuffer.menuName, "leeme2");
}

TEST_F(ClipboardTest, ACutMenuPastesBackUnderItsOwnName) {
    ProjectWindow* child = newProject(exampleProject());
    child->setSaved(1);
    activate(child);
    clickRow(child, 3);
    action("Cortar1")->trigger();
    EXPECT_TRUE(m_prompts.messages.empty()) << "cutting does not ask";
    EXPECT_EQ(child->project().size(), 4u);
    EXPECT_EQ(child->saved(), 0);
    EXPECT_EQ(child->selectedIndex(), -1);

    EXPECT_TRUE(paste([](QWidget* editor) { control<QPushButton>(*editor, "Aceptar").click(); }));
    EXPECT_TRUE(m_prompts.messages.empty());
    kmr::Project expected = exampleProject();
    std::rotate(expected.objects.begin() + 3, expected.objects.begin() + 4, expected.objects.end());
    EXPECT_EQ(child->project(), expected) << "the default menu comes back at the end, still the default";
    EXPECT_EQ(child->selectedIndex(), 4);

    // Cutting marks the project changed, so closing asks.
    child->setProject(projectOf({makeIcon("i"), makeLabel("L")}));
    child->setSaved(1);
    clickRow(child, 1);
    action("Cortar1")->trigger();
    m_prompts.answer(Answer::No);
    child->parentWidget()->close();
    EXPECT_EQ(m_prompts.texts(),
              QStringList{QStringLiteral("El fichero \"Sin nombre 1\" no ha sido guardado. ¿Desea guardar primero?")});
}

TEST_F(ClipboardTest, APastedDefaultMenuIsTheOnlyDefaultOrAPlainOne) {
    for (const bool keepDefault : {true, false}) {
        SCOPED_TRACE(keepDefault ? "kept" : "cleared");
        ProjectWindow* from = newProject(exampleProject(), QStringLiteral("origen"));
        copyRow(from, 3);
        ProjectWindow* to = newProject(projectOf({makeMenu("Otro", "o.exe", "otro", true)}), QStringLiteral("destino"));
        EXPECT_TRUE(paste([keepDefault](QWidget* editor) {
            EXPECT_TRUE(control<QCheckBox>(*editor, "Clave").isChecked());
            control<QCheckBox>(*editor, "Clave").setChecked(keepDefault);
            control<QPushButton>(*editor, "Aceptar").click();
        }));
        ASSERT_EQ(to->project().size(), 2u);
        EXPECT_EQ(to->project().objects[0].kind, keepDefault ? kmr::Kind::PlainMenu : kmr::Kind::DefaultMenu);
        EXPECT_EQ(to->project().objects[1].kind, keepDefault ? kmr::Kind::DefaultMenu : kmr::Kind::PlainMenu);
        EXPECT_EQ(m_frame->shared().objectBuffer.kind, kmr::Kind::DefaultMenu) << "the buffer keeps its kind";
        EXPECT_EQ(action("Pred1")->isChecked(), keepDefault);
        for (ProjectWindow* c : {from, to}) {
            c->setSaved(1);
            c->parentWidget()->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(ClipboardTest, NothingIsPastedFromAnEmptyBufferOrACancelledEditor) {
    ProjectWindow* child = newProject(exampleProject());
    child->setSaved(1);
    EXPECT_FALSE(paste());
    action("Cortar1")->trigger();  // nothing selected
    action("Copiar1")->trigger();
    EXPECT_TRUE(m_frame->shared().objectBuffer.empty());
    EXPECT_EQ(child->project(), exampleProject());
    EXPECT_EQ(child->saved(), 1);

    copyRow(child, 4);
    const kmr::ObjectBuffer before = m_frame->shared().objectBuffer;
    EXPECT_TRUE(paste([](QWidget* editor) {
        control<QLineEdit>(*editor, "NombreInterno").setText(QStringLiteral("nuevo"));
        control<QPushButton>(*editor, "Cancelar").click();
    }));
    EXPECT_EQ(child->project(), exampleProject());
    EXPECT_EQ(child->saved(), 1);
    EXPECT_EQ(m_frame->shared().objectBuffer, before);

    // Without a project window the clipboard commands do nothing, and they are never hidden.
    child->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_FALSE(paste());
    for (const char* name : {"Cortar1", "Copiar1", "Pegar1"}) {
        EXPECT_TRUE(action(name)->isVisible()) << name;
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    }
}

TEST_F(ClipboardTest, TheKeysWorkOnTheListAndLeaveTheSystemClipboardAlone) {
    QApplication::clipboard()->setText(QStringLiteral("de otro programa"));
    ProjectWindow* a = newProject(exampleProject(), QStringLiteral("A"));
    ProjectWindow* b = newProject(projectOf({makeProgram("p")}), QStringLiteral("B"));
    QApplication::setActiveWindow(m_frame.get());
    activate(a);
    clickRow(a, 2);
    QTest::keyClick(a->listView(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(a->project().size(), 4u);
    activate(b);
    QTest::keyClick(b->listView(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(b->project(), projectOf({makeProgram("p"), makeLabel("MiCD")}));
    clickRow(b, 1);
    QTest::keyClick(b->listView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(m_frame->shared().objectBuffer, kmr::copyToBuffer(makeLabel("MiCD")));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("de otro programa"));
}

}  // namespace
}  // namespace kmr::gui::test
