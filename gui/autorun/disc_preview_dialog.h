#pragma once
// "Vista previa del disco": what the chosen Windows does with the disc on the chosen drive. What
// inserting it does (the program runs, or the choices of AutoPlay in their order), the drive as the
// file manager shows it (its icon at that version's sizes and the name under it), a double click on
// it and its context menu, each with where the rule comes from. The facts come from the core
// (disc/windows_preview.h); this dialog only draws them, in the manner of each version.

#include <QDialog>
#include <QPixmap>

#include <array>

#include "project/project.h"

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;

namespace kmr::disc {
struct DiscPreview;
}

namespace kmr::gui {

class DiscPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiscPreviewDialog(QWidget* parent = nullptr);

    // Fills the dialog from `project`; `disc` has its folder already resolved on this machine. The
    // drive starts as the project's medium; the Windows chosen last stays.
    void showDisc(const kmr::Project& project, const kmr::DiscTarget& disc);

    QComboBox* versionBox() const { return m_version; }
    QComboBox* driveBox() const { return m_drive; }
    QLabel* insertionView() const { return m_insertion; }
    // The choices of AutoPlay, in their order; hidden when there are none.
    QListWidget* autoPlayView() const { return m_autoPlay; }
    QLabel* notesView() const { return m_notes; }
    // The icon at 48 pixels, the size every version shows.
    QLabel* iconView() const { return m_icons[2]; }
    QLabel* nameView() const { return m_name; }
    // Why the standard picture stands in for the project's icon; hidden when it does not.
    QLabel* reasonView() const { return m_reason; }
    QLabel* doubleClickView() const { return m_doubleClick; }
    QListWidget* menuView() const { return m_menu; }
    QLabel* sourcesView() const { return m_sources; }
    bool showsStandardPicture() const { return m_standard; }

signals:
    // "Ayuda" or F1: the frame shows the preview's help page.
    void helpRequested();

private:
    // Draws the preview of the chosen version and drive.
    void refresh();
    void showInsertion(const kmr::disc::DiscPreview& preview);
    void showDrive(const kmr::disc::DiscPreview& preview);
    void showMenu(const kmr::disc::DiscPreview& preview);

    QComboBox* m_version;
    QComboBox* m_drive;
    QLabel* m_insertion;
    QFrame* m_window;
    QLabel* m_windowTitle;
    QLabel* m_windowPrompt;
    QListWidget* m_autoPlay;
    QLabel* m_notes;
    std::array<QLabel*, 4> m_icons{};  // 16, 32, 48 and 256 pixels
    std::array<QLabel*, 4> m_iconSizes{};
    QLabel* m_name;
    QLabel* m_reason;
    QLabel* m_doubleClick;
    QListWidget* m_menu;
    QLabel* m_sources;
    bool m_standard = false;

    kmr::Project m_project;
    kmr::DiscTarget m_disc;
    std::string m_ico;  // the project's icon read from the disc folder, empty when there is none
    QString m_iconReason;
};

}  // namespace kmr::gui
