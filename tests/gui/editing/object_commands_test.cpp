// The object commands end to end: the real frame, its project windows and the real dialogs.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "base/qt_text.h"
#include "editing/command_fixture.h"
#include "editing/dialog_fixture.h"
#include "editing/object_commands.h"
#include "project/object_list_view.h"
#include "project/project_file.h"
#include "project/project_window.h"

namespace kmr::gui::test {
namespace {

using kmr::makeIcon;
using kmr::makeLabel;
using kmr::makeMenu;
using kmr::makeProgram;
using kmr::makeResource;

class ObjectCommandsTest : public EditingCommandTest {
protected:
    // Runs the command with `action` on the dialog it opens; false when no dialog opened.
    bool run(void (ObjectCommands::*command)(), DialogAction dialogAction) {
        auto ran = onNextDialog(std::move(dialogAction));
        (m_frame->objectCommands().*command)();
        stopPolls();
        return *ran;
    }
    QStringList captions(const ProjectWindow* child) {
        QStringList list;
        for (int i = 0; i < rowCount(child); ++i) list << rowText(child, i);
        return list;
    }
};

TEST_F(ObjectCommandsTest, InsertCommandsPutEachObjectInItsPlace) {
    const QString snow = QStringLiteral("Disco ☃ 日本 \U0001F4BF");  // none of it fits the 8-bit code page
    struct Case {
        const char* name;
        kmr::Project before;
        void (ObjectCommands::*command)();
        DialogAction input;
        std::optional<kmr::Project> after;  // nullopt: no dialog opens and nothing changes
    };
    const std::vector<Case> cases = {
        {"program into an empty project",
         {},
         &ObjectCommands::insertRunEntry,
         acceptValue(QStringLiteral("setup.exe")),
         projectOf({makeProgram("setup.exe")})},
        {"resource into an empty project",
         {},
         &ObjectCommands::insertRunEntry,
         acceptValue(QStringLiteral("a.html"), true),
         projectOf({makeResource("a.html")})},
        {"icon into an empty project",
         {},
         &ObjectCommands::insertIcon,
         acceptValue(QStringLiteral("d.ico")),
         projectOf({makeIcon("d.ico")})},
        {"label into an empty project",
         {},
         &ObjectCommands::insertLabel,
         acceptValue(snow),
         projectOf({makeLabel(utf8(snow))})},
        {"menu into an empty project",
         {},
         &ObjectCommands::insertMenu,
         acceptMenu({snow, QStringLiteral("x.exe"), QStringLiteral("ñ1"), false}),
         projectOf({makeMenu(utf8(snow), "x.exe", "ñ1")})},
        {"icon before a lone label", projectOf({makeLabel("L")}), &ObjectCommands::insertIcon,
         acceptValue(QStringLiteral("d.ico")), projectOf({makeIcon("d.ico"), makeLabel("L")})},
        {"icon after the run entry", projectOf({makeProgram("p"), makeMenu("m", "c", "n")}),
         &ObjectCommands::insertIcon, acceptValue(QStringLiteral("d.ico")),
         projectOf({makeProgram("p"), makeIcon("d.ico"), makeMenu("m", "c", "n")})},
        {"label after run entry and icon", projectOf({makeProgram("p"), makeIcon("i"), makeMenu("m", "c", "n")}),
         &ObjectCommands::insertLabel, acceptValue(QStringLiteral("L")),
         projectOf({makeProgram("p"), makeIcon("i"), makeLabel("L"), makeMenu("m", "c", "n")})},
        {"label after a lone icon", projectOf({makeIcon("i")}), &ObjectCommands::insertLabel,
         acceptValue(QStringLiteral("L")), projectOf({makeIcon("i"), makeLabel("L")})},
        {"label after a lone run entry", projectOf({makeProgram("p")}), &ObjectCommands::insertLabel,
         acceptValue(QStringLiteral("L")), projectOf({makeProgram("p"), makeLabel("L")})},
        {"run entry before everything", projectOf({makeIcon("i"), makeLabel("L")}), &ObjectCommands::insertRunEntry,
         acceptValue(QStringLiteral("p")), projectOf({makeProgram("p"), makeIcon("i"), makeLabel("L")})},
        {"menu at the end", exampleProject(), &ObjectCommands::insertMenu,
         acceptMenu({QStringLiteral("Ver"), QStringLiteral("explorer ."), QStringLiteral("ver"), false}),
         [] {
             kmr::Project p = exampleProject();
             p.append(makeMenu("Ver", "explorer .", "ver"));
             return p;
         }()},
        {"a second run entry", projectOf({makeResource("r")}), &ObjectCommands::insertRunEntry,
         acceptValue(QStringLiteral("p")), std::nullopt},
        {"a second icon", projectOf({makeIcon("i")}), &ObjectCommands::insertIcon, acceptValue(QStringLiteral("j")),
         std::nullopt},
        {"a second label", projectOf({makeLabel("L")}), &ObjectCommands::insertLabel, acceptValue(QStringLiteral("M")),
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectWindow* child = newProject(c.before);
        child->setSaved(1);
        const bool opened = run(c.command, c.input);
        EXPECT_EQ(opened, c.after.has_value());
        EXPECT_EQ(child->project(), c.after.value_or(c.before));
        EXPECT_EQ(child->saved(), c.after ? 0 : 1);
        if (c.after) {
            EXPECT_EQ(captions(child).size(), static_cast<qsizetype>(c.after->size()));
            EXPECT_EQ(captions(child).constLast(), qs(child->project().objects.back().caption()));
        }
        child->setSaved(1);
        child->parentWidget()->close();
    }
}

TEST_F(ObjectCommandsTest, InsertDialogsStartEmptyInTheirModeAfterAnEarlierUse) {
    ProjectWindow* child = newProject(projectOf({makeMenu("m", "c", "n")}));
    // Leave text in both dialogs, then check that each insert starts from scratch.
    clickRow(child, 0);
    run(&ObjectCommands::modifyMenu, pressCancel());
    run(&ObjectCommands::insertRunEntry, [](QWidget* dialog) {
        control<QLineEdit>(*dialog, "Valor").setText(QStringLiteral("resto"));
        control<QCheckBox>(*dialog, "Recurso").setChecked(true);
        control<QPushButton>(*dialog, "Cancelar").click();
    });
    const struct {
        void (ObjectCommands::*command)();
        ValueDialogView expected;
    } cases[] = {
        {&ObjectCommands::insertRunEntry, {QStringLiteral("Programa a ejecutar:"), {}, true, false, true}},
        {&ObjectCommands::insertIcon, {QStringLiteral("Icono a mostrar:"), {}, false, false, true}},
        {&ObjectCommands::insertLabel, {QStringLiteral("Etiqueta a mostrar:"), {}, false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.label.toStdString());
        ValueDialogView seen;
        ASSERT_TRUE(run(c.command, readValue(seen, pressCancel())));
        EXPECT_EQ(seen.label, c.expected.label);
        EXPECT_EQ(seen.value, QString());
        EXPECT_EQ(seen.resourceShown, c.expected.resourceShown);
        EXPECT_EQ(seen.resourceChecked, false);
        EXPECT_EQ(seen.editarEnabled, c.expected.editarEnabled);
    }
    MenuEntry entry;
    ASSERT_TRUE(run(&ObjectCommands::insertMenu, readMenu(entry, pressCancel())));
    EXPECT_EQ(entry, MenuEntry{});
}

TEST_F(ObjectCommandsTest, AtMostOneMenuIsTheDefault) {
    // exampleProject: rows 3 "Instalar" (default) and 4 "Leeme".
    struct Case {
        const char* name;
        int row;
        void (ObjectCommands::*command)();
        DialogAction input;  // empty: the command opens no dialog
        kmr::Kind kind3;
        kmr::Kind kind4;
        bool checked;  // Pred1's mark afterwards
    };
    using K = kmr::Kind;
    const std::vector<Case> cases = {
        {"Predeterminado on a plain menu", 4, &ObjectCommands::setDefaultMenu, {}, K::PlainMenu, K::DefaultMenu, true},
        {"Predeterminado on the default menu",
         3,
         &ObjectCommands::setDefaultMenu,
         {},
         K::PlainMenu,
         K::PlainMenu,
         false},
        {"editor checks a plain menu", 4, &ObjectCommands::modifyMenu,
         acceptMenu({QStringLiteral("Leeme"), QStringLiteral("notepad leeme.txt"), QStringLiteral("leeme"), true}),
         K::PlainMenu, K::DefaultMenu, true},
        {"editor clears the default menu", 3, &ObjectCommands::modifyMenu,
         acceptMenu({QStringLiteral("Instalar"), QStringLiteral("setup.exe"), QStringLiteral("instalar"), false}),
         K::PlainMenu, K::PlainMenu, false},
        {"editor keeps the default menu", 3, &ObjectCommands::modifyMenu,
         acceptMenu({QStringLiteral("Instalar"), QStringLiteral("setup.exe"), QStringLiteral("instalar"), true}),
         K::DefaultMenu, K::PlainMenu, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectWindow* child = newProject(exampleProject());
        child->setSaved(1);
        clickRow(child, c.row);
        if (c.input)
            EXPECT_TRUE(run(c.command, c.input));
        else
            (m_frame->objectCommands().*c.command)();
        ASSERT_EQ(child->project().size(), 5u);
        EXPECT_EQ(child->project().objects[3].kind, c.kind3);
        EXPECT_EQ(child->project().objects[4].kind, c.kind4);
        EXPECT_EQ(child->saved(), 0);
        EXPECT_EQ(child->selectedIndex(), c.row);
        EXPECT_EQ(action("Pred1")->isChecked(), c.checked);
        EXPECT_EQ(rowPicture(child, c.row),
                  m_frame->images().pixmap(static_cast<int>(c.row == 3 ? c.kind3 : c.kind4)).toImage());
        child->setSaved(1);
        child->parentWidget()->close();
    }

    // A new menu marked as the default takes the mark from the old one.
    ProjectWindow* child = newProject(exampleProject());
    EXPECT_TRUE(run(&ObjectCommands::insertMenu,
                    acceptMenu({QStringLiteral("Nuevo"), QStringLiteral("n.exe"), QStringLiteral("nuevo"), true})));
    ASSERT_EQ(child->project().size(), 6u);
    EXPECT_EQ(child->project().count(K::DefaultMenu), 1u);
    EXPECT_EQ(child->project().objects[5].kind, K::DefaultMenu);
}

TEST_F(ObjectCommandsTest, MovingAMenuExchangesItWithItsNeighbourAndKeepsItSelected) {
    const kmr::ProjectObject a = makeMenu("A", "a.exe", "a");
    const kmr::ProjectObject b = makeMenu("B", "b.exe", "b", true);
    const kmr::ProjectObject c = makeMenu("C", "c.exe", "c");
    ProjectWindow* child = newProject(projectOf({makeLabel("L"), a, b, c}));
    child->setSaved(1);

    clickRow(child, 1);
    m_frame->objectCommands().moveObjectUp();  // not offered: a label stands before it
    EXPECT_EQ(child->project(), projectOf({makeLabel("L"), a, b, c}));
    EXPECT_EQ(child->saved(), 1);
    m_frame->objectCommands().moveObjectDown();
    EXPECT_EQ(child->project(), projectOf({makeLabel("L"), b, a, c}));
    EXPECT_EQ(child->selectedIndex(), 2);
    EXPECT_EQ(child->saved(), 0);
    EXPECT_TRUE(action("Up1")->isVisible());
    action("Down1")->trigger();
    EXPECT_EQ(child->project(), projectOf({makeLabel("L"), b, c, a}));
    EXPECT_EQ(child->selectedIndex(), 3);
    EXPECT_FALSE(action("Down1")->isVisible()) << "the last menu cannot go down";
    m_frame->objectCommands().moveObjectDown();
    EXPECT_EQ(child->project(), projectOf({makeLabel("L"), b, c, a}));
    action("Up1")->trigger();
    action("Up1")->trigger();
    EXPECT_EQ(child->project(), projectOf({makeLabel("L"), a, b, c}));
    EXPECT_EQ(child->selectedIndex(), 1);
    EXPECT_EQ(rowText(child, 1), QStringLiteral("Mostrar menú \"A\""));

    // In a project of menus only, the first menu goes down.
    ProjectWindow* menus = newProject(projectOf({a, b}));
    clickRow(menus, 0);
    EXPECT_FALSE(action("Up1")->isVisible());
    action("Down1")->trigger();
    EXPECT_EQ(menus->project(), projectOf({b, a}));
    EXPECT_EQ(menus->selectedIndex(), 1);
}

TEST_F(ObjectCommandsTest, DeleteAsksFirstAndNoKeepsEverything) {
    ProjectWindow* child = newProject(exampleProject());
    child->setSaved(1);
    clickRow(child, 0);
    m_prompts.answer(Answer::No);
    action("Del1")->trigger();
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    const AskedMessage& asked = m_prompts.messages[0];
    EXPECT_EQ(asked.text, QStringLiteral("¿Seguro que desea eliminar el objeto seleccionado?"));
    EXPECT_EQ(asked.title, QStringLiteral("Confirmación"));
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(child->project(), exampleProject());
    EXPECT_EQ(child->saved(), 1);
    EXPECT_EQ(child->selectedIndex(), 0);

    m_prompts.answer(Answer::Yes);
    action("Del1")->trigger();
    kmr::Project expected = exampleProject();
    expected.objects.erase(expected.objects.begin());
    EXPECT_EQ(child->project(), expected);
    EXPECT_EQ(child->saved(), 0);
    EXPECT_EQ(child->selectedIndex(), -1);
    EXPECT_EQ(rowCount(child), 4);
    EXPECT_TRUE(action("IProg1")->isVisible()) << "the run entry can be added again";
    EXPECT_FALSE(action("Del1")->isVisible());
    m_frame->objectCommands().deleteObject();  // nothing selected: no question
    EXPECT_EQ(m_prompts.messages.size(), 2u);
}

TEST_F(ObjectCommandsTest, CancelledDialogsChangeNothing) {
    // Each dialog is changed and then left by "Cancelar" or by its close box.
    auto changeThen = [](bool closeBox) -> DialogAction {
        return [closeBox](QWidget* dialog) {
            for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) field->setText(QStringLiteral("cambiado"));
            if (auto* box = dialog->findChild<QCheckBox*>()) box->toggle();
            if (closeBox)
                dialog->close();
            else
                control<QPushButton>(*dialog, "Cancelar").click();
        };
    };
    const kmr::Project menusOnly = projectOf({makeMenu("a", "a", "a"), makeMenu("b", "b", "b")});
    struct Case {
        const char* name;
        kmr::Project project;
        int row;
        void (ObjectCommands::*command)();
    };
    const std::vector<Case> cases = {
        {"IProg1", menusOnly, -1, &ObjectCommands::insertRunEntry},
        {"IIcono1", menusOnly, -1, &ObjectCommands::insertIcon},
        {"ITexto1", menusOnly, -1, &ObjectCommands::insertLabel},
        {"IMenu1", menusOnly, -1, &ObjectCommands::insertMenu},
        {"MProg1", exampleProject(), 0, &ObjectCommands::modifyRunEntry},
        {"MIcono1", exampleProject(), 1, &ObjectCommands::modifyIcon},
        {"MTexto1", exampleProject(), 2, &ObjectCommands::modifyLabel},
        {"MMenu1", exampleProject(), 4, &ObjectCommands::modifyMenu},
    };
    for (const Case& c : cases) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (closeBox ? " by the close box" : " by Cancelar"));
            ProjectWindow* child = newProject(c.project);
            child->setSaved(1);
            if (c.row >= 0) clickRow(child, c.row);
            EXPECT_TRUE(run(c.command, changeThen(closeBox)));
            EXPECT_EQ(child->project(), c.project);
            EXPECT_EQ(child->saved(), 1);
            EXPECT_EQ(child->selectedIndex(), c.row);
            child->parentWidget()->close();
        }
    }
}

TEST_F(ObjectCommandsTest, DoubleClickAndEnterOpenTheSelectedObjectInItsDialog) {
    kmr::Project project = exampleProject();
    project.objects[0] = makeResource("docs\\índice.html");
    struct Case {
        int row;
        ValueDialogView value;  // for a run entry, icon or label
        MenuEntry menu;         // for a menu
    };
    const std::vector<Case> cases = {
        {0, {QStringLiteral("Programa a ejecutar:"), QStringLiteral("docs\\índice.html"), true, true, true}, {}},
        {1, {QStringLiteral("Icono a mostrar:"), QStringLiteral("disco.ico"), false, false, true}, {}},
        {2, {QStringLiteral("Etiqueta a mostrar:"), QStringLiteral("MiCD"), false, false, false}, {}},
        {3, {}, {QStringLiteral("Instalar"), QStringLiteral("setup.exe"), QStringLiteral("instalar"), true}},
        {4, {}, {QStringLiteral("Leeme"), QStringLiteral("notepad leeme.txt"), QStringLiteral("leeme"), false}},
    };
    ProjectWindow* child = newProject(project);
    ObjectListView* list = child->listView();
    for (const bool byKey : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.row) + (byKey ? " by Enter" : " by double click"));
            ValueDialogView seen;
            MenuEntry entry;
            auto ran =
                onNextDialog(c.menu.text.isEmpty() ? readValue(seen, pressCancel()) : readMenu(entry, pressCancel()));
            if (byKey) {
                clickRow(child, c.row);
                QTest::keyClick(list, Qt::Key_Return);
            } else {
                // What a mouse sends for a double click: press, release, double click, release.
                const QPoint at = rowRect(child, c.row).center();
                QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
            }
            stopPolls();
            ASSERT_TRUE(*ran);
            if (c.menu.text.isEmpty()) {
                EXPECT_EQ(seen.label, c.value.label);
                EXPECT_EQ(seen.value, c.value.value);
                EXPECT_EQ(seen.resourceShown, c.value.resourceShown);
                EXPECT_EQ(seen.resourceChecked, c.value.resourceChecked);
                EXPECT_EQ(seen.editarEnabled, c.value.editarEnabled);
            } else {
                EXPECT_EQ(entry, c.menu);
            }
        }
    }

    // A double click beside the objects opens the one still selected; with none selected, nothing.
    const QPoint empty(list->viewport()->width() / 2, list->viewport()->height() - 2);
    ASSERT_FALSE(list->indexAt(empty).isValid()) << "the list leaves room below its objects";
    for (const int row : {1, -1}) {
        SCOPED_TRACE(row);
        child->select(row);
        ValueDialogView seen;
        auto ran = onNextDialog(readValue(seen, pressCancel()));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, empty);
        stopPolls();
        EXPECT_EQ(*ran, row >= 0);
        if (row >= 0) {
            EXPECT_EQ(seen.label, QStringLiteral("Icono a mostrar:"));
        }
    }
    EXPECT_EQ(child->project(), project);
}

TEST_F(ObjectCommandsTest, ModifyingRebuildsTheCaptionFromWhatWasTyped) {
    const QString typed = QStringLiteral("Ω ☃ \U0001F4C0 setup.exe");  // none of it fits the 8-bit code page
    struct Case {
        const char* name;
        int row;
        void (ObjectCommands::*command)();
        DialogAction input;
        kmr::ProjectObject expected;
    };
    const std::vector<Case> cases = {
        {"program becomes a resource", 0, &ObjectCommands::modifyRunEntry, acceptValue(typed, true),
         makeResource(utf8(typed))},
        {"resource stays a program", 0, &ObjectCommands::modifyRunEntry, acceptValue(QStringLiteral("p.exe"), false),
         makeProgram("p.exe")},
        {"icon", 1, &ObjectCommands::modifyIcon, acceptValue(typed), makeIcon(utf8(typed))},
        {"label", 2, &ObjectCommands::modifyLabel, acceptValue(typed), makeLabel(utf8(typed))},
        {"menu", 4, &ObjectCommands::modifyMenu,
         acceptMenu({typed, QStringLiteral("x ☃.exe"), QStringLiteral("Ω1"), false}),
         makeMenu(utf8(typed), "x ☃.exe", "Ω1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectWindow* child = newProject(exampleProject());
        child->setSaved(1);
        clickRow(child, c.row);
        EXPECT_TRUE(run(c.command, c.input));
        kmr::Project expected = exampleProject();
        expected.objects[static_cast<std::size_t>(c.row)] = c.expected;
        EXPECT_EQ(child->project(), expected);
        EXPECT_EQ(rowText(child, c.row), qs(c.expected.caption()));
        EXPECT_EQ(child->saved(), 0);
        EXPECT_EQ(child->selectedIndex(), c.row);
        // The dialog shows exactly what was kept.
        ValueDialogView seen;
        MenuEntry entry;
        if (c.command == &ObjectCommands::modifyMenu) {
            run(c.command, readMenu(entry, pressCancel()));
            EXPECT_EQ(entry.text, typed);
        } else {
            run(c.command, readValue(seen, pressCancel()));
            EXPECT_EQ(seen.value, qs(c.expected.value(0)));
        }
        child->setSaved(1);
        child->parentWidget()->close();
    }
}

TEST_F(ObjectCommandsTest, AModifyCommandLeavesObjectsOfAnotherKindAlone) {
    ProjectWindow* child = newProject(exampleProject());
    const struct {
        int row;
        void (ObjectCommands::*command)();
    } mismatches[] = {{3, &ObjectCommands::modifyRunEntry},
                      {0, &ObjectCommands::modifyIcon},
                      {1, &ObjectCommands::modifyLabel},
                      {2, &ObjectCommands::modifyMenu},
                      {0, &ObjectCommands::setDefaultMenu}};
    for (const auto& m : mismatches) {
        SCOPED_TRACE(m.row);
        clickRow(child, m.row);
        EXPECT_FALSE(run(m.command, acceptValue(QStringLiteral("x"))));
        EXPECT_EQ(child->project(), exampleProject());
    }
}

TEST_F(ObjectCommandsTest, AProjectHandedOverWhileTheEditorIsOpenDoesNotTakeTheEdit) {
    const QString other = path(QStringLiteral("otro.kmr"));
    writeBytes(other, QByteArray::fromStdString(kmr::projectFileBytes(projectOf({makeMenu("Otro", "o.exe", "otro")}))));
    ProjectWindow* child = newProject(exampleProject());
    clickRow(child, 4);
    bool refusedTakenName = false;
    EXPECT_TRUE(run(&ObjectCommands::modifyMenu, [&](QWidget* editor) {
        // The hand-off poll fires while the editor waits, and opens a project that becomes active.
        key().writeText(QStringLiteral("Archivo"), other);
        m_frame->pollHandOff();
        ASSERT_NE(m_frame->activeProjectWindow(), child);
        control<QLineEdit>(*editor, "NombreInterno").setText(QStringLiteral("instalar"));
        control<QPushButton>(*editor, "Aceptar").click();
        refusedTakenName = editor->isVisible();
        control<QLineEdit>(*editor, "NombreInterno").setText(QStringLiteral("otro"));
        control<QPushButton>(*editor, "Aceptar").click();
    }));
    EXPECT_TRUE(refusedTakenName) << "the name was tested against the project being edited";
    kmr::Project expected = exampleProject();
    expected.objects[4] = makeMenu("Leeme", "notepad leeme.txt", "otro");
    EXPECT_EQ(child->project(), expected);
    ASSERT_EQ(m_frame->projectWindows().size(), 2);
    EXPECT_EQ(m_frame->projectWindows()[1]->project(), projectOf({makeMenu("Otro", "o.exe", "otro")}));
}

}  // namespace
}  // namespace kmr::gui::test
