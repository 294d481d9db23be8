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

    // The decoded picture; null when it was broken, and then the band is plain blue.
    const QImage& picture() const { return m_picture; }
    // Why the picture could not be shown, or empty.
    const QString& pictureError() const { return m_error; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    QString m_error;
};

}  // namespace kmr::gui
