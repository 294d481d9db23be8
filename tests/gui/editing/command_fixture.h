#pragma once
// What the end-to-end tests of the object commands and the clipboard share: a started frame, a
// helper that fills or closes the real modal dialogs, and a look at where each command can be chosen.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "editing/menu_editor_dialog.h"
#include "support/frame_fixture.h"

class QWidget;

namespace kmr::gui::test {

// A project holding exactly these objects, in this order.
inline kmr::Project projectOf(std::vector<kmr::ProjectObject> objects) { return kmr::Project{std::move(objects)}; }

// The twelve object commands, in the order of the "&Edición" menu.
const QStringList& objectCommandNames();

// What a value dialog showed when it opened.
struct ValueDialogView {
    QString label;  // without its accelerator mark
    QString value;
    bool resourceShown = false;
    bool resourceChecked = false;
    bool editarEnabled = false;
};

// Where the object commands can be chosen right now: their names, in each place's own order.
struct Reachable {
    QStringList menu;
    QStringList toolBar;
    QStringList contextMenu;
};

class EditingCommandTest : public FrameTest {
protected:
    using DialogAction = std::function<void(QWidget*)>;

    void SetUp() override;
    void TearDown() override;

    // Runs `action` on the next modal widget as soon as it shows, then closes that widget if it is
    // still open, also when the action failed or threw. The flag tells whether it ran; a poll that
    // found no dialog is dropped by stopPolls() or at the end of the test.
    std::shared_ptr<bool> onNextDialog(DialogAction action);
    void stopPolls();

    // Dialog actions: accept the value dialog with a value (and the resource box), accept the
    // menu editor with an entry, or press "Cancelar".
    static DialogAction acceptValue(const QString& value, bool resource = false);
    static DialogAction acceptMenu(const MenuEntry& entry);
    static DialogAction pressCancel();
    // Records what a value dialog or the menu editor showed, then goes on with `then`.
    static DialogAction readValue(ValueDialogView& view, DialogAction then);
    static DialogAction readMenu(MenuEntry& entry, DialogAction then);

    // Selects the row by a mouse click on it, as the user does.
    void clickRow(ProjectWindow* child, int row);
    Reachable reachable();

private:
    std::unique_ptr<QObject> m_polls = std::make_unique<QObject>();
    QList<QWidget*> m_topLevelsBefore;
};

}  // namespace kmr::gui::test
