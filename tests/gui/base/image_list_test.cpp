// Icons on dense screens are drawn for the pixels they cover; the banner has a picture at twice the size.

#include <QIcon>
#include <QPainter>

#include <gtest/gtest.h>

#include "base/image_list.h"
#include "help/banner.h"

namespace kmr::gui {
namespace {

TEST(ImageList, IconsAreDrawnForTheDevicePixelRatio) {
    const ImageList images;
    const QIcon icon = images.icon(20);
    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        const int pixels = qRound(16 * ratio);
        const QImage wanted = images.pixmap(20, pixels).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QPixmap pm = icon.pixmap(QSize(16, 16), ratio);  // as list views and tool buttons ask
        EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), ratio);
        EXPECT_EQ(pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), wanted);
        QImage surface(pixels, pixels, QImage::Format_ARGB32_Premultiplied);  // as menus paint
        surface.setDevicePixelRatio(ratio);
        surface.fill(Qt::transparent);
        {
            QPainter p(&surface);
            icon.paint(&p, QRect(0, 0, 16, 16));
        }
        surface.setDevicePixelRatio(1.0);
        EXPECT_EQ(surface, wanted);
    }
    EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).size(), QSize(32, 32));

    Banner banner;
    EXPECT_EQ(banner.pictureFor(1.0).size(), QSize(600, 129));
    EXPECT_EQ(banner.pictureFor(1.5).size(), QSize(1200, 258));
    EXPECT_EQ(banner.pictureFor(2.0).deviceIndependentSize().toSize(), QSize(600, 129));
}

}  // namespace
}  // namespace kmr::gui
