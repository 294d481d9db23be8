#pragma once
// A column of categorised buttons: each category is a coloured header that folds its buttons away,
// and each button is a full-width row with a picture, a bold caption and a soft gradient.

#include <QColor>
#include <QIcon>
#include <QList>
#include <QScrollArea>
#include <QString>

#include <functional>

class QToolButton;
class QVBoxLayout;

namespace kmr::gui {

// One button of a category.
struct CategoryButton {
    QString name;  // objectName of the button
    QString caption;
    QIcon icon;
    QString hint;  // "short|long", as a command's hint
    std::function<void()> run;
};

class CategoryButtons : public QScrollArea {
    Q_OBJECT
public:
    // The buttons' own colour, and the colour of the one under the pointer or with the focus.
    static constexpr QRgb kButtonColour = 0xF2F2F2;
    static constexpr QRgb kSelectedColour = 0xD6D5D9;

    explicit CategoryButtons(QWidget* parent = nullptr);

    // Adds an expanded category at the end; returns its index.
    int addCategory(const QString& caption, const QColor& colour);
    // Replaces every button of the category.
    void setButtons(int category, const QList<CategoryButton>& buttons);
    QList<QToolButton*> buttons(int category) const;
    QToolButton* header(int category) const;

    void setExpanded(int category, bool expanded);
    bool isExpanded(int category) const;

private:
    struct Category {
        QToolButton* header = nullptr;
        QWidget* body = nullptr;
        QVBoxLayout* layout = nullptr;
        QList<QToolButton*> buttons;
    };

    QWidget* m_content;
    QVBoxLayout* m_layout;
    QList<Category> m_categories;
};

}  // namespace kmr::gui
