#pragma once
// The bar above a project's objects that names the folder whose contents will be burnt and the
// medium it goes on; and the questions about that folder that the disc commands share.

#include <QWidget>

#include "project/project.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kmr::gui {

class Prompts;
class ProjectWindow;

class DiscBar : public QWidget {
    Q_OBJECT
public:
    explicit DiscBar(QWidget* parent = nullptr);

    // Shows `disc` without reporting it as an edit.
    void showDisc(const kmr::DiscTarget& disc);
    // The folder as written in the line and the medium chosen.
    kmr::DiscTarget disc() const;

    QLineEdit* folderEdit() const { return m_folder; }
    QPushButton* changeButton() const { return m_change; }
    QComboBox* mediumBox() const { return m_medium; }
    QToolButton* propertiesButton() const { return m_properties; }

signals:
    // The user typed another folder or chose another medium.
    void discEdited();
    // "Cambiar...".
    void changeRequested();
    // "Propiedades...": the disc properties dialog.
    void propertiesRequested();

private:
    void reportIfChanged();

    QLineEdit* m_folder;
    QPushButton* m_change;
    QComboBox* m_medium;
    QToolButton* m_properties;
    kmr::DiscTarget m_shown;
};

// The window's disc with a relative folder taken from the folder of the project file, so that a
// project and its disc can move together.
kmr::DiscTarget resolvedDisc(const ProjectWindow& window);

// Asks for the disc folder, starting at the current one, and sets it on the window; false when the
// user cancels.
bool chooseDiscFolder(ProjectWindow& window, Prompts& prompts);

}  // namespace kmr::gui
