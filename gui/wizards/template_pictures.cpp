#include "wizards/template_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include "base/image_list.h"
#include "base/picture_style.h"

namespace kmr::gui {

namespace {

using picture::kBlue;
using picture::kGreen;
using picture::kGrey;
using picture::kLightBlue;
using picture::kPaper;

// Outlines are 1.5 wide unless said otherwise.
QPen outline(qreal width = 1.5) { return picture::outline(width); }

// Picture 0, the autorun disc: a disc with a program window that starts by itself.
void autorunDisc(QPainter& p) {
    const QPointF centre(13.5, 13.5);
    QRadialGradient shine(QPointF(9, 9), 15);
    shine.setColorAt(0, kPaper);
    shine.setColorAt(1, kGrey);
    p.setPen(outline());
    p.setBrush(shine);
    p.drawEllipse(centre, 12.5, 12.5);
    p.setPen(QPen(kLightBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 4.5, 18, 18), 16 * 100, 16 * 70);
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawEllipse(centre, 4, 4);
    p.setBrush(kGrey.darker(120));
    p.drawEllipse(centre, 1.6, 1.6);

    const QRectF window(16.5, 16.5, 14, 13);
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(window);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(window.left() + 0.75, window.top() + 0.75, window.width() - 1.5, 3.5));
    QPolygonF play;
    play << QPointF(20.5, 21.5) << QPointF(27.5, 25) << QPointF(20.5, 28.5);
    p.setPen(outline(1.0));
    p.setBrush(kGreen);
    p.drawPolygon(play);
}

}  // namespace

TemplatePictures::TemplatePictures() {
    m_icons.push_back(drawnIcon([](int pixels) { return pixmap(0, pixels); }));
}

QIcon TemplatePictures::icon(int number) const {
    if (number < 0 || number >= count()) return {};
    return m_icons[static_cast<std::size_t>(number)];
}

QPixmap TemplatePictures::pixmap(int number, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / static_cast<qreal>(kSize), size / static_cast<qreal>(kSize));
    paint(p, number);
    return pm;
}

void TemplatePictures::paint(QPainter& p, int number) {
    p.save();
    if (number == 0) autorunDisc(p);
    p.restore();
}

}  // namespace kmr::gui
