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
    setFixedSize(kBannerWidth, kBannerHeight);
}

void Banner::decode() const {
    if (m_decoded) return;
    m_decoded = true;
    JpegImage decoded = loadJpegImage(bannerPicturePath());
    m_picture = decoded.image;
    m_error = decoded.error;
}

const QImage& Banner::picture() const {
    decode();
    return m_picture;
}

const QString& Banner::pictureError() const {
    decode();
    return m_error;
}

const QImage& Banner::pictureFor(qreal ratio) {
    decode();
    if (ratio <= 1.0 || m_picture.isNull()) return m_picture;
    if (!m_triedPicture2x) {
        // Read only on a scaled screen: a plain one never pays for the larger picture.
        m_triedPicture2x = true;
        m_picture2x = loadJpegImage(bannerPicturePath2x()).image;
        if (m_picture2x.size() == 2 * m_picture.size()) {
            m_picture2x.setDevicePixelRatio(2.0);
        } else {
            m_picture2x = QImage();
        }
    }
    return m_picture2x.isNull() ? m_picture : m_picture2x;
}

void Banner::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QImage& picture = pictureFor(devicePixelRatioF());
    if (picture.isNull()) {
        p.fillRect(rect(), QColor(0x1d, 0x4d, 0x8c));
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, kBannerWidth, kBannerHeight), picture);
    }
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(24, 0, width() - 24, height()), Qt::AlignLeft | Qt::AlignVCenter, kBannerTitle);
}

}  // namespace kmr::gui
