#pragma once
// A JPEG picture as a QImage, decoded by libjpeg; a broken picture gives a null image and the reason.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kmr::gui {

struct JpegImage {
    QImage image;  // null when the picture is broken
    QString error;
};

JpegImage decodeJpegImage(const QByteArray& bytes);
// The picture in a file or a resource (":/..."); a missing file is reported like a broken one.
JpegImage loadJpegImage(const QString& path);

}  // namespace kmr::gui
