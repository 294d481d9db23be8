#pragma once
// ProjectWindow: the list of one project's objects, a document window inside the main window.

#include <QString>
#include <QWidget>

#include <optional>

#include "project/project.h"

class QCloseEvent;

namespace kmr::gui {

class DiscBar;
class ObjectListModel;
class ObjectListView;
class ProjectHost;

class ProjectWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProjectWindow(ProjectHost& host, const QString& caption, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    const kmr::Project& project() const;
    // Replaces the object list and shows it with the object at `selection` selected (-1: none).
    void setProject(kmr::Project project, int selection = -1);
    // The object list as the list shows it: edits go through it, row by row.
    ObjectListModel& objects() { return *m_objects; }
    const ObjectListModel& objects() const { return *m_objects; }

    // The disc folder and medium, shown above the list; setting another marks the project changed.
    void setDisc(const kmr::DiscTarget& disc);
    DiscBar* discBar() const { return m_discBar; }
    // The disc settings beside the list; other settings mark the project changed. True when they differ.
    bool setDiscSettings(kmr::DiscSettings settings);

    const QString& filePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }
    // 1 = unchanged since the last save or open.
    int saved() const { return m_saved; }
    void setSaved(int saved) { m_saved = saved; }

    ObjectListView* listView() const { return m_list; }
    // Position of the selected object, or -1.
    int selectedIndex() const;
    // Position of the selected object when it is one of the project's, else nothing.
    std::optional<std::size_t> selectedObject() const;
    // Selects the object at `index`, or nothing for -1.
    void select(int index);

    // After an edit of the objects: the project is changed and the offered commands follow.
    void markChanged();

    // Opens the selected object in its modify command, whether that command is offered or not
    // (a double click or Enter on the list).
    void openSelectedObject();
    // The context menu, offering what the selection allows, at `pos` in the list's viewport.
    void showContextMenu(const QPoint& pos);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A click, or any change of the list or its selection: the offered commands follow.
    void refreshCommands();

    ProjectHost& m_host;
    DiscBar* m_discBar;
    ObjectListModel* m_objects;
    ObjectListView* m_list;
    QString m_filePath;
    int m_saved = 0;
};

}  // namespace kmr::gui
