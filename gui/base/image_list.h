#pragma once
// The shared image list: the small pictures of the commands and of the object kinds, by index.

#include <QIcon>
#include <QPixmap>

#include <functional>
#include <vector>

class QPainter;

namespace kmr::gui {

// An icon that `draw` paints when it is first shown, at the device pixels it covers there (a square of
// `pixels` on a side), each size once.
QIcon drawnIcon(std::function<QPixmap(int pixels)> draw);

// Pictures drawn on a 16 by 16 grid, so every picture shares one outline, palette and stroke width. An
// icon is drawn when it is first shown, for the pixels it covers: at 24 or 32 on a screen scaled 1.5 or 2
// times, never an upscaled 16-pixel copy.
class ImageList {
public:
    ImageList();

    // The indices that have a picture.
    static const std::vector<int>& indices();
    static bool has(int index);

    // An empty icon for an index without a picture.
    QIcon icon(int index) const;
    QPixmap pixmap(int index, int size = 16) const;

    // Draws one picture into a 16 by 16 box at the painter's origin.
    static void paint(QPainter& p, int index);

private:
    std::vector<QIcon> m_icons;  // by index
};

}  // namespace kmr::gui
