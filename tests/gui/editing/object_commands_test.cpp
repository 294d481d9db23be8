// The object commands end to end: the real frame, its project windows and the real dialogs.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <optional>
#include <string>
#include <vector>

#include "app/qt_text.h"
#include "editing/command_fixture.h"
#include "editing/dialog_fixture.h"
#include "project/mdi_child.h"

namespace kmr::gui::test {
namespace {

using kmr::makeIcon;
using kmr::makeLabel;
using kmr::makeMenu;
using kmr::makeProgram;
using kmr::makeResource;

kmr::Project projectOf(std::vector<kmr::ProjectObject> objects) { return kmr::Project{std::move(objects)}; }

// "IProg1 Del1" as a list of names.
QStringList names(const char* spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

class ObjectCommandsTest : public EditingCommandTest {
protected:
    // Runs the command with `action` on the dialog it opens; false when no dialog opened.
    bool run(void (TMainForm::*command)(), DialogAction dialogAction) {
        auto ran = onNextDialog(std::move(dialogAction));
        ((*m_frame).*command)();
        stopPolls();
        return *ran;
    }
    QStringList captions(const TMDIChild* child) {
        QStringList list;
        for (int i = 0; i < child->listView()->topLevelItemCount(); ++i)
            list << child->listView()->topLevelItem(i)->text(0);
        return list;
    }
};

TEST_F(ObjectCommandsTest, InsertCommandsPutEachObjectInItsPlace) {
    const QString snow = QStringLiteral("Disco ☃ 日本 \U0001F4BF");  // none of it fits the 8-bit code page
    struct Case {
        const char* name;
        kmr::Project before;
        void (TMainForm::*command)();
        DialogAction input;
        std::optional<kmr::Project> after;  // nullopt: no dialog opens and nothing changes
    };
    const std::vector<Case> cases = {
        {"program into an empty project",
         {},
         &TMainForm::IProg1Execute,
         acceptValue(QStringLiteral("setup.exe")),
         projectOf({makeProgram("setup.exe")})},
        {"resource into an empty project",
         {},
         &TMainForm::IProg1Execute,
         acceptValue(QStringLiteral("a.html"), true),
         projectOf({makeResource("a.html")})},
        {"icon into an empty project",
         {},
         &TMainForm::IIcono1Execute,
         acceptValue(QStringLiteral("d.ico")),
         projectOf({makeIcon("d.ico")})},
        {"label into an empty project",
         {},
         &TMainForm::ITexto1Execute,
         acceptValue(snow),
         projectOf({makeLabel(utf8(snow))})},
        {"menu into an empty project",
         {},
         &TMainForm::IMenu1Execute,
         acceptMenu({snow, QStringLiteral("x.exe"), QStringLiteral("ñ1"), false}),
         projectOf({makeMenu(utf8(snow), "x.exe", "ñ1")})},
        {"icon before a lone label", projectOf({makeLabel("L")}), &TMainForm::IIcono1Execute,
         acceptValue(QStringLiteral("d.ico")), projectOf({makeIcon("d.ico"), makeLabel("L")})},
        {"icon after the run entry", projectOf({makeProgram("p"), makeMenu("m", "c", "n")}), &TMainForm::IIcono1Execute,
         acceptValue(QStringLiteral("d.ico")),
         projectOf({makeProgram("p"), makeIcon("d.ico"), makeMenu("m", "c", "n")})},
        {"label after run entry and icon", projectOf({makeProgram("p"), makeIcon("i"), makeMenu("m", "c", "n")}),
         &TMainForm::ITexto1Execute, acceptValue(QStringLiteral("L")),
         projectOf({makeProgram("p"), makeIcon("i"), makeLabel("L"), makeMenu("m", "c", "n")})},
        {"label after a lone icon", projectOf({makeIcon("i")}), &TMainForm::ITexto1Execute,
         acceptValue(QStringLiteral("L")), projectOf({makeIcon("i"), makeLabel("L")})},
        {"label after a lone run entry", projectOf({makeProgram("p")}), &TMainForm::ITexto1Execute,
         acceptValue(QStringLiteral("L")), projectOf({makeProgram("p"), makeLabel("L")})},
        {"run entry before everything", projectOf({makeIcon("i"), makeLabel("L")}), &TMainForm::IProg1Execute,
         acceptValue(QStringLiteral("p")), projectOf({makeProgram("p"), makeIcon("i"), makeLabel("L")})},
        {"menu at the end", exampleProject(), &TMainForm::IMenu1Execute,
         acceptMenu({QStringLiteral("Ver"), QStringLiteral("explorer ."), QStringLiteral("ver"), false}),
         [] {
             kmr::Project p = exampleProject();
             p.append(makeMenu("Ver", "explorer .", "ver"));
             return p;
         }()},
        {"a second run entry", projectOf({makeResource("r")}), &TMainForm::IProg1Execute,
         acceptValue(QStringLiteral("p")), std::nullopt},
        {"a second icon", projectOf({makeIcon("i")}), &TMainForm::IIcono1Execute, acceptValue(QStringLiteral("j")),
         std::nullopt},
        {"a second label", projectOf({makeLabel("L")}), &TMainForm::ITexto1Execute, acceptValue(QStringLiteral("M")),
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMDIChild* child = newProject(c.before);
        child->setSaved(1);
        const bool opened = run(c.command, c.input);
        EXPECT_EQ(opened, c.after.has_value());
        EXPECT_EQ(child->project(), c.after.value_or(c.before));
        EXPECT_EQ(child->saved(), c.after ? 0 : 1);
        if (c.after) {
            EXPECT_EQ(captions(child).size(), static_cast<qsizetype>(c.after->size()));
            EXPECT_EQ(captions(child).constLast(), qs(child->project().objects.back().caption));
        }
        child->setSaved(1);
        child->parentWidget()->close();
    }
}

TEST_F(ObjectCommandsTest, InsertDialogsStartEmptyInTheirModeAfterAnEarlierUse) {
    TMDIChild* child = newProject(projectOf({makeMenu("m", "c", "n")}));
    // Leave text in both dialogs, then check that each insert starts from scratch.
    clickRow(child, 0);
    run(&TMainForm::MMenu1Execute, pressCancel());
    run(&TMainForm::IProg1Execute, [](QWidget* dialog) {
        control<QLineEdit>(*dialog, "Valor").setText(QStringLiteral("resto"));
        control<QCheckBox>(*dialog, "Recurso").setChecked(true);
        control<QPushButton>(*dialog, "Cancelar").click();
    });
    const struct {
        void (TMainForm::*command)();
        ValueDialogView expected;
    } cases[] = {
        {&TMainForm::IProg1Execute, {QStringLiteral("Programa a ejecutar:"), {}, true, false, true}},
        {&TMainForm::IIcono1Execute, {QStringLiteral("Icono a mostrar:"), {}, false, false, true}},
        {&TMainForm::ITexto1Execute, {QStringLiteral("Etiqueta a mostrar:"), {}, false, false, false}},
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
    ASSERT_TRUE(run(&TMainForm::IMenu1Execute, readMenu(entry, pressCancel())));
    EXPECT_EQ(entry, MenuEntry{});
}

TEST_F(ObjectCommandsTest, TheRefreshOffersWhatTheSelectionAllowsInAllThreePlaces) {
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
        TMDIChild* child = newProject(c.project);
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
    ASSERT_EQ(m_frame->activeChild(), nullptr);
    const Reachable none = reachable();
    EXPECT_TRUE(none.menu.isEmpty());
    EXPECT_TRUE(none.toolBar.isEmpty());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(m_frame->findChild<QMenu*>(QStringLiteral("Anadir1"))->menuAction()->isVisible());
}

}  // namespace
}  // namespace kmr::gui::test
