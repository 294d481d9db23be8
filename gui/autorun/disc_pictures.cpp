#include "autorun/disc_pictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QRadialGradient>

#include <vector>

namespace kmr::gui {

QPixmap iconAtSize(const std::string& ico, int size) {
    QByteArray bytes = QByteArray::fromStdString(ico);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    std::vector<QImage> images;
    do {
        const QImage image = reader.read();
        if (!image.isNull()) images.push_back(image);
    } while (reader.jumpToNextImage());
    if (images.empty()) return {};
    const auto area = [](const QImage& i) { return i.width() * i.height(); };
    const QImage* best = nullptr;
    for (const QImage& i : images) {
        const bool fits = i.width() >= size;
        const bool bestFits = best != nullptr && best->width() >= size;
        // The smallest that is big enough; while none is, the biggest.
        if (best == nullptr || (fits && (!bestFits || area(i) < area(*best))) ||
            (!fits && !bestFits && area(i) > area(*best)))
            best = &i;
    }
    QImage picked = *best;
    if (picked.size() != QSize(size, size)) {
        picked = picked.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QPixmap::fromImage(picked);
}

QPixmap standardDiscPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = size / 2.0;
    const QPointF centre(r, r);
    QRadialGradient silver(centre, r);
    silver.setColorAt(0.0, QColor(250, 250, 252));
    silver.setColorAt(0.55, QColor(200, 206, 216));
    silver.setColorAt(0.8, QColor(232, 220, 240));
    silver.setColorAt(1.0, QColor(170, 178, 190));
    p.setPen(QPen(QColor(110, 116, 128), 1.0));
    p.setBrush(silver);
    p.drawEllipse(centre, r - 1, r - 1);
    // The light that a disc's tracks throw back, in two opposite wedges.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 210, 255, 110));
    const QRectF disc(2, 2, size - 4, size - 4);
    p.drawPie(disc, 30 * 16, 40 * 16);
    p.drawPie(disc, 210 * 16, 40 * 16);
    p.setPen(QPen(QColor(120, 126, 138), 1.0));
    p.setBrush(QColor(225, 228, 234));
    p.drawEllipse(centre, size / 6.0, size / 6.0);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, size / 16.0, size / 16.0);
    return pixmap;
}

QPixmap standardUsbPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // The plug on the left, the body to the right of it, a light on the body.
    p.setPen(QPen(QColor(110, 116, 128), 1.0));
    p.setBrush(QColor(214, 218, 224));
    p.drawRect(QRectF(s * 0.06, s * 0.38, s * 0.22, s * 0.24));
    QLinearGradient body(0, s * 0.3, 0, s * 0.7);
    body.setColorAt(0.0, QColor(120, 130, 146));
    body.setColorAt(1.0, QColor(70, 78, 92));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(s * 0.28, s * 0.3, s * 0.66, s * 0.4), s * 0.06, s * 0.06);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 120));
    p.drawEllipse(QPointF(s * 0.84, s * 0.5), s * 0.04, s * 0.04);
    return pixmap;
}

}  // namespace kmr::gui
