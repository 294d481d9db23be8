#pragma once
// The wizard's own pictures: the large pictures of the template list, by a template's picture number.

#include <QIcon>
#include <QPixmap>

#include <vector>

class QPainter;

namespace kmr::gui {

// Pictures drawn on a 32 by 32 grid, for the pixels they cover on the screen (48 at 1.5 times). A
// template file names its picture by number; a number without a picture shows none.
class TemplatePictures {
public:
    static constexpr int kSize = 32;

    TemplatePictures();

    int count() const { return static_cast<int>(m_icons.size()); }
    // An empty icon for a number without a picture.
    QIcon icon(int number) const;
    static QPixmap pixmap(int number, int size = kSize);

    // Draws one picture into a 32 by 32 box at the painter's origin.
    static void paint(QPainter& p, int number);

private:
    std::vector<QIcon> m_icons;  // by number
};

}  // namespace kmr::gui
