#include "editing/command_fixture.h"

#include "support/modal_driver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "editing/dialog_fixture.h"
#include "project/object_list_view.h"
#include "project/project_window.h"

namespace kmr::gui::test {

const QStringList& objectCommandNames() {
    static const QStringList names = {QStringLiteral("IProg1"),  QStringLiteral("IIcono1"), QStringLiteral("ITexto1"),
                                      QStringLiteral("IMenu1"),  QStringLiteral("MProg1"),  QStringLiteral("MIcono1"),
                                      QStringLiteral("MTexto1"), QStringLiteral("MMenu1"),  QStringLiteral("Pred1"),
                                      QStringLiteral("Up1"),     QStringLiteral("Down1"),   QStringLiteral("Del1")};
    return names;
}

void EditingCommandTest::SetUp() {
    FrameTest::SetUp();
    m_topLevelsBefore = QApplication::topLevelWidgets();
    startFrame();
}

void EditingCommandTest::TearDown() {
    stopPolls();
    FrameTest::TearDown();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!m_topLevelsBefore.contains(w)) ADD_FAILURE() << "left-over window: " << w->metaObject()->className();
    }
}

std::shared_ptr<bool> EditingCommandTest::onNextDialog(DialogAction action) {
    return test::actOnNextModal(m_polls.get(), std::move(action));
}

void EditingCommandTest::stopPolls() { m_polls = std::make_unique<QObject>(); }

EditingCommandTest::DialogAction EditingCommandTest::acceptValue(const QString& value, bool resource) {
    return [value, resource](QWidget* dialog) {
        control<QLineEdit>(*dialog, "Valor").setText(value);
        auto& box = control<QCheckBox>(*dialog, "Recurso");
        if (box.isVisible()) box.setChecked(resource);
        control<QPushButton>(*dialog, "Aceptar").click();
        EXPECT_FALSE(dialog->isVisible()) << "the value dialog refused its input";
    };
}

EditingCommandTest::DialogAction EditingCommandTest::acceptMenu(const MenuEntry& entry) {
    return [entry](QWidget* dialog) {
        control<QLineEdit>(*dialog, "Texto").setText(entry.text);
        control<QLineEdit>(*dialog, "Comando").setText(entry.command);
        control<QLineEdit>(*dialog, "NombreInterno").setText(entry.internalName);
        control<QCheckBox>(*dialog, "Clave").setChecked(entry.isDefault);
        control<QPushButton>(*dialog, "Aceptar").click();
        EXPECT_FALSE(dialog->isVisible()) << "the menu editor refused its input";
    };
}

EditingCommandTest::DialogAction EditingCommandTest::pressCancel() {
    return [](QWidget* dialog) { control<QPushButton>(*dialog, "Cancelar").click(); };
}

EditingCommandTest::DialogAction EditingCommandTest::readValue(ValueDialogView& view, DialogAction then) {
    return [&view, then = std::move(then)](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("TForm4"));
        view.label = plain(control<QLabel>(*dialog, "Etiqueta").text());
        view.value = control<QLineEdit>(*dialog, "Valor").text();
        view.resourceShown = control<QCheckBox>(*dialog, "Recurso").isVisible();
        view.resourceChecked = control<QCheckBox>(*dialog, "Recurso").isChecked();
        view.editarEnabled = control<QPushButton>(*dialog, "Editar").isEnabled();
        then(dialog);
    };
}

EditingCommandTest::DialogAction EditingCommandTest::readMenu(MenuEntry& entry, DialogAction then) {
    return [&entry, then = std::move(then)](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("TForm1"));
        entry = {control<QLineEdit>(*dialog, "Texto").text(), control<QLineEdit>(*dialog, "Comando").text(),
                 control<QLineEdit>(*dialog, "NombreInterno").text(), control<QCheckBox>(*dialog, "Clave").isChecked()};
        then(dialog);
    };
}

void EditingCommandTest::clickRow(ProjectWindow* child, int row) {
    ASSERT_LT(row, rowCount(child)) << "no row " << row;
    QTest::mouseClick(child->listView()->viewport(), Qt::LeftButton, {}, rowRect(child, row).center());
    ASSERT_EQ(child->selectedIndex(), row);
}

namespace {

// The object commands that a menu offers, following visible submenus.
void collect(const QMenu* menu, QStringList& names) {
    for (const QAction* a : menu->actions()) {
        if (!a->isVisible()) continue;
        if (a->menu() != nullptr)
            collect(a->menu(), names);
        else if (objectCommandNames().contains(a->objectName()))
            names << a->objectName();
    }
}

}  // namespace

Reachable EditingCommandTest::reachable() {
    Reachable r;
    collect(m_frame->findChild<QMenu*>(QStringLiteral("Edicion1")), r.menu);

    const auto* bar = m_frame->findChild<QToolBar*>(QStringLiteral("ToolBar2"));
    if (bar->isVisible()) {
        for (QAction* a : bar->actions()) {
            if (!a->isVisible()) continue;
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a)); button && button->menu()) {
                // The drop-down shows its menu only while the button itself is there.
                if (a->objectName().isEmpty()) collect(button->menu(), r.toolBar);
            }
            if (objectCommandNames().contains(a->objectName())) r.toolBar << a->objectName();
        }
    }

    if (ProjectWindow* child = m_frame->activeProjectWindow()) {
        // The context menu opens as the menu key opens it, and is read while it shows.
        QWidget* viewport = child->listView()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), viewport->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(viewport, &event);
        QMenu* popup = m_frame->contextMenu();
        EXPECT_TRUE(popup->isVisible()) << "the context menu did not open";
        collect(popup, r.contextMenu);
        popup->hide();
    }
    return r;
}

}  // namespace kmr::gui::test
