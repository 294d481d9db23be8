#pragma once
// What a project window and the commands on project windows need from the window that holds them.
// The main window implements it; nothing below the frame knows the main window itself.

#include <QList>
#include <QString>

#include "project/project.h"

class QPoint;

namespace kmr::gui {

class ImageList;
class Prompts;
class ProjectWindow;
struct SharedValues;

// How saving a project window ended.
enum class SaveOutcome { Saved, NothingToDo, Abandoned, Failed };

class ProjectHost {
public:
    virtual ~ProjectHost() = default;

    virtual Prompts& prompts() = 0;
    virtual SharedValues& shared() = 0;
    virtual const ImageList& images() const = 0;

    // The project window with the focus, or none; and every open one.
    virtual ProjectWindow* activeProjectWindow() const = 0;
    virtual QList<ProjectWindow*> projectWindows() const = 0;
    // A new, empty project window, shown and made active.
    virtual ProjectWindow* addProjectWindow(const QString& caption) = 0;

    // Shows exactly the object commands that the active project and its selection allow.
    virtual void refreshObjectCommands() = 0;
    // Runs the modify command for an object of `kind` on the active project window.
    virtual void modifyObject(kmr::Kind kind) = 0;
    // The Delete key on the object list: the delete command, when it is offered.
    virtual void deleteSelectedObject() = 0;
    // The object list's context menu at `globalPos`.
    virtual void showObjectMenu(const QPoint& globalPos) = 0;
    // Saves `window`, asking for a name when it has none.
    virtual SaveOutcome saveProject(ProjectWindow* window) = 0;
    // A project window's save failed while the frame was closing: the windows not yet asked stay.
    virtual void abortShutdown() = 0;
    // Puts `path` first in the recent-files list and shows the list.
    virtual void rememberRecentFile(const QString& path) = 0;
};

}  // namespace kmr::gui
