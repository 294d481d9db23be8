#include "help/banner.h"

#include <QFont>
#include <QPainter>

#include "base/jpeg_image.h"
#include "base/pictures.h"

namespace kmr::gui {

namespace {
constexpr int kBannerWidth = 600;
constexpr int kBannerHeight = 129;
}  // namespace

Banner::Banner(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    JpegImage decoded = loadJpegImage(bannerPicturePath());
    m_picture = decoded.image;
    m_error = decoded.error;
    setFixedSize(kBannerWidth, kBannerHeight);
}

void Banner::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    if (m_picture.isNull()) {
        p.fillRect(rect(), QColor(0x1d, 0x4d, 0x8c));
    } else {
        p.drawImage(0, 0, m_picture);
    }
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(24, 0, width() - 24, height()), Qt::AlignLeft | Qt::AlignVCenter, kBannerTitle);
}

}  // namespace kmr::gui
