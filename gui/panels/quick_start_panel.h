#pragma once
// Panel1: the "Inicio rápido" on the left of the frame: a header strip with a picture, the title
// and an "x" that hides the panel, above the start actions and the recent files.

#include <QFrame>
#include <QList>

#include "panels/category_buttons.h"

class QLabel;
class QToolButton;

namespace kmr::gui {

class QuickStartPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 153;
    static constexpr int kHeaderHeight = 28;
    // The categories' colours.
    static constexpr QRgb kStartColour = 0xFFEAFF;
    static constexpr QRgb kRecentColour = 0xF4F4F4;
    enum Category { StartActions = 0, RecentFiles = 1 };

    explicit QuickStartPanel(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // The buttons of "Acciones de inicio".
    void setStartActions(const QList<CategoryButton>& buttons);
    // The buttons of "Últimos ficheros", one per shown recent file, in slot order.
    void setRecentFiles(const QList<CategoryButton>& buttons);

    CategoryButtons* categories() const { return m_categories; }
    QToolButton* closeButton() const { return m_close; }

signals:
    // The "x" was clicked.
    void hideRequested();

private:
    QLabel* m_picture;
    QToolButton* m_close;
    CategoryButtons* m_categories;
};

}  // namespace kmr::gui
