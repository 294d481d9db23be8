#pragma once
// The pictures the editor carries inside itself: the banner of the about box and the splash window, and
// the program's icon.

#include <QPixmap>
#include <QString>

namespace kmr::gui {

// The banner as JPEG bytes inside the program (600 by 129 pixels).
QString bannerPicturePath();
// The same banner drawn at twice the size (1200 by 258 pixels), for screens scaled up.
QString bannerPicturePath2x();
// The program's icon, 64 by 64 pixels.
QPixmap programIcon();

}  // namespace kmr::gui
