#pragma once
// The project file commands: open, save, save as, and the hand-over of a version-1 file.

#include <QString>

#include "project/project_host.h"

namespace kmr::gui {

class ProjectWindow;

class ProjectFileCommands {
public:
    explicit ProjectFileCommands(ProjectHost& host) : m_host(host) {}

    // Opens the shared pending path, or the file the user picks when there is none.
    void openProject();
    // Reads the shared version-1 path into a new project window that has no file path yet.
    void openVersion1Project();
    // Saves `window` to its file, asking for a name when it has none or its file is gone.
    SaveOutcome saveProject(ProjectWindow* window);
    // Saves the active project window under a name the user picks.
    void saveProjectAs();

private:
    ProjectHost& m_host;
    // The name the save dialog proposes: the last one chosen in it.
    QString m_lastSaveName;
};

}  // namespace kmr::gui
