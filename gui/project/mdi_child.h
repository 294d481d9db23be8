#pragma once
// TMDIChild: a project window, the list of one project's objects inside the main frame.

#include <QString>
#include <QWidget>

#include "project/project.h"

class QTreeWidget;
class QCloseEvent;

namespace kmr::gui {

class TMainForm;

class TMDIChild : public QWidget {
    Q_OBJECT
public:
    explicit TMDIChild(TMainForm& frame, const QString& caption, QWidget* parent = nullptr);

    const kmr::Project& project() const { return m_project; }
    // Replaces the object list and shows it.
    void setProject(kmr::Project project);

    const QString& filePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }
    // 1 = unchanged since the last save or open.
    int saved() const { return m_saved; }
    void setSaved(int saved) { m_saved = saved; }

    QTreeWidget* listView() const { return m_list; }
    // Position of the selected object, or -1.
    int selectedIndex() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void refreshList();

    TMainForm& m_frame;
    QTreeWidget* m_list;
    kmr::Project m_project;
    QString m_filePath;
    int m_saved = 0;
};

}  // namespace kmr::gui
