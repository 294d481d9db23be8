#pragma once
// The shared image list: the small pictures of the commands and of the object kinds, by name.

#include <QIcon>
#include <QPixmap>

#include <functional>
#include <vector>

#include "project/project.h"

class QPainter;

namespace kmr::gui {

// The pictures of the list. Each keeps the number it has in the list, which is how an object kind and a
// finding of the core name theirs.
enum class Picture : int {
    None = -1,
    Cut = 0,
    Copy = 1,
    Paste = 2,
    Delete = 5,
    Menu = 6,
    Open = 7,
    Save = 8,
    Help = 9,
    Options = 10,
    OnlineHelp = 12,
    Web = 14,
    TileHorizontally = 15,
    TileVertically = 16,
    Cascade = 17,
    Down = 18,
    Up = 19,
    DefaultMenu = 20,
    RunEntry = 21,
    Icon = 22,
    Label = 23,
    Import = 24,
    SaveAs = 25,
    Add = 26,
    Exit = 27,
    Information = 28,
    Warning = 29,
    Compile = 30,
};

// The picture of an object kind: a kind's number is its picture's.
constexpr Picture pictureOf(kmr::Kind kind) { return Picture{static_cast<int>(kind)}; }

// An icon that `draw` paints when it is first shown, at the device pixels it covers there (a square of
// `pixels` on a side), each size once.
QIcon drawnIcon(std::function<QPixmap(int pixels)> draw);

// Pictures drawn on a 16 by 16 grid, so every picture shares one outline, palette and stroke width. An
// icon is drawn when it is first shown, for the pixels it covers: at 24 or 32 on a screen scaled 1.5 or 2
// times, never an upscaled 16-pixel copy.
class ImageList {
public:
    ImageList();

    // The numbers that have a picture.
    static const std::vector<int>& indices();
    static bool has(int index);

    // An empty icon for Picture::None.
    QIcon icon(Picture picture) const { return icon(static_cast<int>(picture)); }
    QPixmap pixmap(Picture picture, int size = 16) const { return pixmap(static_cast<int>(picture), size); }
    // By number, as the list numbers them; an empty icon for a number without a picture.
    QIcon icon(int index) const;
    QPixmap pixmap(int index, int size = 16) const;

    // Draws one picture into a 16 by 16 box at the painter's origin.
    static void paint(QPainter& p, Picture picture);
    static void paint(QPainter& p, int index) { paint(p, Picture{index}); }

private:
    std::vector<QIcon> m_icons;  // by index
};

}  // namespace kmr::gui
