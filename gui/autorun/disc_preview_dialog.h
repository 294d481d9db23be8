#pragma once
// "Vista previa del disco": the disc as Windows' file manager shows it, with its icon, the name
// under it and its context menu.

#include <QDialog>

#include "project/project.h"

class QLabel;
class QListWidget;

namespace kmr::gui {

class DiscPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiscPreviewDialog(QWidget* parent = nullptr);

    // Fills the dialog from `project`; `disc` has its folder already resolved on this machine.
    void showDisc(const kmr::Project& project, const kmr::DiscTarget& disc);

    QLabel* iconView() const { return m_icon; }
    QLabel* nameView() const { return m_name; }
    // Why the standard CD picture stands in for the project's icon; hidden when it does not.
    QLabel* reasonView() const { return m_reason; }
    QListWidget* menuView() const { return m_menu; }
    bool showsStandardPicture() const { return m_standard; }

private:
    QLabel* m_icon;
    QLabel* m_name;
    QLabel* m_reason;
    QLabel* m_usbNote;
    QListWidget* m_menu;
    bool m_standard = false;
};

}  // namespace kmr::gui
