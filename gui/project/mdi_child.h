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
    ~TMDIChild() override;

    const kmr::Project& project() const { return m_project; }
    // Replaces the object list and shows it with the object at `selection` selected (-1: none).
    void setProject(kmr::Project project, int selection = -1);

    const QString& filePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }
    // 1 = unchanged since the last save or open.
    int saved() const { return m_saved; }
    void setSaved(int saved) { m_saved = saved; }

    QTreeWidget* listView() const { return m_list; }
    // Position of the selected object, or -1.
    int selectedIndex() const;
    // Selects the object at `index`, or nothing for -1.
    void select(int index);

    // Events of the object list.
    // Opens the selected object in its modify command, whether that command is offered or not.
    void ListView1DblClick();
    // A click, or any change of the list or its selection: the offered commands follow.
    void ListView1Click();
    void ListView1Change();
    // The context menu, offering what the selection allows, at `pos` in the list's viewport.
    void ListView1ContextPopup(const QPoint& pos);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshList();

    TMainForm& m_frame;
    QTreeWidget* m_list;
    kmr::Project m_project;
    QString m_filePath;
    int m_saved = 0;
};

}  // namespace kmr::gui
