#include "base/pictures.h"

// The pictures live in a static library, whose resource initialiser the linker would drop unless it is
// referenced; Q_INIT_RESOURCE has to stand outside any namespace.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace kmr::gui {

namespace {

void ensurePictures() {
    static const bool done = [] {
        initPictures();
        return true;
    }();
    (void)done;
}

}  // namespace

QString bannerPicturePath() {
    ensurePictures();
    return QStringLiteral(":/pictures/banner.jpg");
}

QString bannerPicturePath2x() {
    ensurePictures();
    return QStringLiteral(":/pictures/banner@2x.jpg");
}

QPixmap programIcon() {
    ensurePictures();
    return QPixmap(QStringLiteral(":/pictures/kmr64.png"));
}

}  // namespace kmr::gui
