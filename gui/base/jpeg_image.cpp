#include "base/jpeg_image.h"

#include <QFile>

#include <span>

#include "image/jpeg.h"

namespace kmr::gui {

JpegImage decodeJpegImage(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    auto decoded = kmr::image::decodeJpeg(std::span<const unsigned char>(data, static_cast<std::size_t>(bytes.size())));
    if (!decoded.ok) return {QImage(), QString::fromStdString(decoded.error)};
    const auto& rgb = decoded.image;
    QImage image(rgb.width, rgb.height, QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(rgb.width) * 3;
    for (int y = 0; y < rgb.height; ++y) {
        std::copy_n(rgb.rgb.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes, image.scanLine(y));
    }
    return {image, QString()};
}

JpegImage loadJpegImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {QImage(), file.errorString()};
    return decodeJpegImage(file.readAll());
}

}  // namespace kmr::gui
