// The program's own icons on dense screens: drawn for the pixels they cover, never an upscaled copy;
// and the banner's larger picture for scaled screens.

#include <QIcon>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "base/image_list.h"
#include "help/banner.h"

namespace kmr::gui {
namespace {

QImage plain(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

TEST(ImageList, IconsAreDrawnForTheDevicePixelRatio) {
    const ImageList images;
    for (const int index : {5, 20, 30}) {
        const QIcon icon = images.icon(index);
        for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
            SCOPED_TRACE(testing::Message() << "picture " << index << " at " << ratio);
            const int pixels = qRound(16 * ratio);
            const QImage wanted = plain(images.pixmap(index, pixels).toImage());
            // Asked for as a pixmap, as list views and tool buttons do.
            const QPixmap pm = icon.pixmap(QSize(16, 16), ratio);
            EXPECT_EQ(pm.size(), QSize(pixels, pixels));
            EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), ratio);
            EXPECT_EQ(plain(pm.toImage()), wanted);
            // Painted into a 16-pixel box on a surface of that ratio, as menus do.
            QImage surface(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
            surface.setDevicePixelRatio(ratio);
            surface.fill(Qt::transparent);
            {
                QPainter p(&surface);
                icon.paint(&p, QRect(0, 0, 16, 16));
            }
            surface.setDevicePixelRatio(1.0);
            EXPECT_EQ(surface, wanted);
        }
        // The disabled look too, at full density.
        EXPECT_EQ(icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).size(), QSize(32, 32));
    }
}

TEST(Banner, AScaledScreenGetsThePictureDrawnAtTwiceTheSize) {
    Banner banner;
    ASSERT_FALSE(banner.picture().isNull()) << banner.pictureError().toStdString();
    const struct {
        qreal ratio;
        QSize pixels;
    } cases[] = {{1.0, {600, 129}}, {1.5, {1200, 258}}, {2.0, {1200, 258}}};
    for (const auto& c : cases) {
        const QImage& picture = banner.pictureFor(c.ratio);
        EXPECT_EQ(picture.size(), c.pixels) << c.ratio;
        // Either picture covers the same 600 by 129 pixels of the window.
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(600, 129)) << c.ratio;
    }
}

}  // namespace
}  // namespace kmr::gui
