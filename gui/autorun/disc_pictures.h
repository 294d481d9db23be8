#pragma once
// The pictures of the disc preview: the disc's own icon at a size, read from the .ico bytes the core
// picked from the disc folder, and the pictures that stand in when there is none.

#include <QPixmap>

#include <string>

namespace kmr::gui {

// The icon's image for `size` pixels, as Windows picks one: the image of that size, else the nearest
// bigger one, else the biggest, scaled to the size. A null pixmap when Qt reads no image of it.
QPixmap iconAtSize(const std::string& ico, int size);

// The picture Windows shows for a CD that names no icon it can use: a silver disc with its hole.
QPixmap standardDiscPicture(int size);
// The same for a USB drive: a grey drive with its plug.
QPixmap standardUsbPicture(int size);

}  // namespace kmr::gui
