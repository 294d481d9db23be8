#pragma once
// The object commands: insert, modify, mark as default, move and delete the objects of the active
// project window, through the menu editor and the value dialog.

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

#include "base/on_demand.h"
#include "editing/menu_editor_dialog.h"
#include "project/project.h"

namespace kmr::gui {

class ProjectHost;
class ProjectWindow;
class ValueDialog;
enum class ValueMode;

class ObjectCommands : public QObject {
    Q_OBJECT
public:
    // Also tells the menu editor, once it is made, which menus a name opened from a project window must
    // not repeat.
    ObjectCommands(ProjectHost& host, OnDemand<MenuEditorDialog>& menuEditor, OnDemand<ValueDialog>& valueDialog,
                   QObject* parent = nullptr);

    void insertRunEntry();
    void insertIcon();
    void insertLabel();
    void insertMenu();
    void modifyRunEntry();
    void modifyIcon();
    void modifyLabel();
    void modifyMenu();
    // The modify command for an object of `kind`.
    void modifyObject(kmr::Kind kind);
    // Makes the selected menu the default one, or a default menu a plain one again.
    void setDefaultMenu();
    void moveObjectUp();
    void moveObjectDown();
    // Deletes the selected object after asking.
    void deleteObject();

    // Shows the menu editor filled with `entry` for a menu of `window`, whose menus its names are
    // tested against; the accepted entry, or nothing when the user cancelled or the window is gone.
    std::optional<MenuEntry> askMenu(ProjectWindow* window, const MenuEntry& entry, const QString& initialInternalName);

signals:
    // After setDefaultMenu(): whether the selected menu is the default one now.
    void defaultMenuMarked(bool isDefault);

private:
    // Shows the value dialog in `mode` with `value` (and the resource box in program mode) for an
    // object of `window`; true when the user accepted and the window is still there.
    bool askValue(ProjectWindow* window, ValueMode mode, const QString& value, bool resource);
    // The single-value commands: a run entry, an icon or a label.
    void insertSingle(kmr::Kind kind, ValueMode mode);
    void modifySingle(kmr::Kind kind, ValueMode mode);

    ProjectHost& m_host;
    OnDemand<MenuEditorDialog>& m_menuEditor;
    OnDemand<ValueDialog>& m_valueDialog;
    // The project window whose menu the menu editor is editing while it is open.
    QPointer<ProjectWindow> m_menuTarget;
};

}  // namespace kmr::gui
