#pragma once
// The band at the top of the about box and of the splash window: the banner picture with the program's
// title over it.

#include <QImage>
#include <QString>
#include <QWidget>

namespace kmr::gui {

// The title drawn over the banner.
inline const QString kBannerTitle = QStringLiteral("Quillmere 2.3");

class Banner : public QWidget {
    Q_OBJECT
public:
    explicit Banner(QWidget* parent = nullptr);

    // The decoded picture, read when first needed; null when it was broken, and then the band is plain blue.
    const QImage& picture() const;
    // Why the picture could not be shown, or empty.
    const QString& pictureError() const;
    // The picture drawn for a screen of `ratio` device pixels per pixel: the banner at twice the size
    // above 1 (read when first needed), else the one above; null as picture() is.
    const QImage& pictureFor(qreal ratio);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A window that holds the banner may be made long before it shows, or never shown at all.
    void decode() const;

    mutable QImage m_picture;
    mutable QString m_error;
    mutable bool m_decoded = false;
    QImage m_picture2x;
    bool m_triedPicture2x = false;
};

}  // namespace kmr::gui
