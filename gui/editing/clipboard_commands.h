#pragma once
// Cut, copy and paste of one project object through the process-wide object buffer, within a
// project or from one project window to another. The system clipboard is never read or written.

namespace kmr::gui {

class ObjectCommands;
class ProjectHost;

class ClipboardCommands {
public:
    // A pasted menu goes through the object commands' menu editor.
    ClipboardCommands(ProjectHost& host, ObjectCommands& objects) : m_host(host), m_objects(objects) {}

    void cut();
    void copy();
    // Pastes the buffer into the active project window; a run entry, an icon or a label that the
    // project already has is replaced after asking.
    void paste();

private:
    ProjectHost& m_host;
    ObjectCommands& m_objects;
};

}  // namespace kmr::gui
