#include "base/image_list.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <functional>
#include <utility>

#include "base/picture_style.h"

namespace kmr::gui {

namespace {

using picture::kBlue;
using picture::kBrown;
using picture::kGreen;
using picture::kGrey;
using picture::kLightBlue;
using picture::kOrange;
using picture::kOutline;
using picture::kPaper;
using picture::kRed;
using picture::kYellow;

// Outlines are 1.0 wide unless said otherwise.
QPen outline(qreal width = 1.0) { return picture::outline(width); }

void sheet(QPainter& p, const QRectF& r) {
    QPainterPath path;
    const qreal fold = 3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal step = 2.5) {
    p.setPen(QPen(kBlue, 1.0));
    for (int i = 0; i < count; ++i) {
        const qreal y = top + i * step;
        const qreal end = (i == count - 1) ? left + (right - left) * 0.6 : right;
        p.drawLine(QPointF(left, y), QPointF(end, y));
    }
}

void window(QPainter& p, const QRectF& r) {
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, std::min<qreal>(3, r.height() - 1)));
}

void gear(QPainter& p, QPointF c, qreal r, const QColor& colour) {
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a = M_PI * i / teeth;
        const qreal rr = (i % 2 == 0) ? r : r * 0.72;
        const QPointF pt(c.x() + rr * qCos(a), c.y() + rr * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(c, r * 0.32, r * 0.32);
    path.setFillRule(Qt::OddEvenFill);
    p.setPen(outline(0.8));
    p.setBrush(colour);
    p.drawPath(path);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width = 3.0, qreal head = 4.5) {
    const QLineF line(from, to);
    const qreal angle = qDegreesToRadians(line.angle());
    const QPointF dir(qCos(angle), -qSin(angle));
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = to - dir * head;
    QPolygonF shape;
    shape << from + normal * (width / 2) << base + normal * (width / 2) << base + normal * head << to
          << base - normal * head << base - normal * (width / 2) << from - normal * (width / 2);
    p.setPen(outline(0.8));
    p.setBrush(colour);
    p.drawPolygon(shape);
}

void glyph(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, int pixelSize) {
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(pixelSize);
    f.setFamily(QStringLiteral("DejaVu Sans"));
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

void globe(QPainter& p, QPointF c, qreal r) {
    p.setPen(outline());
    p.setBrush(kLightBlue);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kGreen, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.45, c.y() - r, r * 0.9, r * 2), 0, 16 * 360);
    p.drawLine(QPointF(c.x() - r + 0.8, c.y()), QPointF(c.x() + r - 0.8, c.y()));
    p.setPen(outline());
    p.drawEllipse(c, r, r);
}

void floppy(QPainter& p, const QRectF& r) {
    p.setPen(outline());
    p.setBrush(kBlue);
    p.drawRoundedRect(r, 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + 2.5, r.top(), r.width() - 5, r.height() * 0.42));
    p.setBrush(kGrey);
    p.drawRect(QRectF(r.left() + 3.5, r.bottom() - r.height() * 0.35, r.width() - 7, r.height() * 0.35));
}

void drawPicture(QPainter& p, Picture picture) {
    switch (picture) {
        case Picture::Cut: {  // cut: open scissors
            p.setPen(QPen(kGrey.darker(150), 1.6));
            p.drawLine(QPointF(5.5, 10), QPointF(11, 1.5));
            p.drawLine(QPointF(10.5, 10), QPointF(5, 1.5));
            p.setPen(outline(1.2));
            p.setBrush(kRed);
            p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
            p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(4.5, 12.5), 1, 1);
            p.drawEllipse(QPointF(11.5, 12.5), 1, 1);
            break;
        }
        case Picture::Copy:  // copy: two sheets
            sheet(p, QRectF(1.5, 1.5, 8, 10));
            sheet(p, QRectF(6.5, 4.5, 8, 10));
            textLines(p, 8.5, 12.5, 8.5, 3);
            break;
        case Picture::Paste:  // paste: a sheet on a clipboard
            p.setPen(outline());
            p.setBrush(kBrown);
            p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12.5), 1, 1);
            p.setBrush(kGrey);
            p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
            sheet(p, QRectF(7.5, 6.5, 7, 8.5));
            textLines(p, 9, 13, 9.5, 2);
            break;
        case Picture::Delete:  // delete: a red cross
            p.setPen(QPen(kOutline, 4.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            p.setPen(QPen(kRed, 3.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            break;
        case Picture::Menu: {  // plain menu: a sheet with a red check mark
            sheet(p, QRectF(2.5, 1.5, 11, 13));
            QPainterPath tick;
            tick.moveTo(4.5, 8.5);
            tick.lineTo(7, 11.5);
            tick.lineTo(12, 4.5);
            p.setPen(QPen(kRed, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
            break;
        }
        case Picture::Open: {  // open: an open yellow folder
            p.setPen(outline());
            p.setBrush(kYellow.darker(115));
            p.drawRect(QRectF(1.5, 3.5, 11, 10));
            QPolygonF front;
            front << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5);
            p.setBrush(kYellow);
            p.drawPolygon(front);
            break;
        }
        case Picture::Save:  // save: a floppy disk
            floppy(p, QRectF(1.5, 1.5, 13, 13));
            break;
        case Picture::Help:  // help: a blue disc with a question mark
            p.setPen(outline());
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
            glyph(p, QRectF(0, 0, 16, 16), QStringLiteral("?"), kPaper, 11);
            break;
        case Picture::Options:  // options: a gear
            gear(p, QPointF(8, 8), 6.8, kGrey);
            break;
        case Picture::OnlineHelp:  // online help: a globe with a question mark
            globe(p, QPointF(7, 9), 5.5);
            p.setPen(outline());
            p.setBrush(kBlue);
            p.drawEllipse(QPointF(11.5, 4.5), 4, 4);
            glyph(p, QRectF(7.5, 0.5, 8, 8), QStringLiteral("?"), kPaper, 7);
            break;
        case Picture::Web:  // web: a globe
            globe(p, QPointF(8, 8), 6.5);
            break;
        case Picture::TileHorizontally:  // tile horizontally: two windows one above the other
            window(p, QRectF(1.5, 1.5, 13, 6));
            window(p, QRectF(1.5, 8.5, 13, 6));
            break;
        case Picture::TileVertically:  // tile vertically: two windows side by side
            window(p, QRectF(1.5, 1.5, 6, 13));
            window(p, QRectF(8.5, 1.5, 6, 13));
            break;
        case Picture::Cascade:  // cascade: three overlapping windows
            window(p, QRectF(1.5, 1.5, 9, 7));
            window(p, QRectF(3.5, 4.5, 9, 7));
            window(p, QRectF(5.5, 7.5, 9, 7));
            break;
        case Picture::Down:  // down
            arrow(p, QPointF(8, 1.5), QPointF(8, 14.5), kGreen, 4, 6);
            break;
        case Picture::Up:  // up
            arrow(p, QPointF(8, 14.5), QPointF(8, 1.5), kGreen, 4, 6);
            break;
        case Picture::DefaultMenu: {  // default menu: a padlock
            p.setPen(QPen(kOutline, 3.2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 16 * 180);
            p.setPen(QPen(kGrey, 1.6));
            p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 16 * 180);
            p.setPen(outline());
            p.setBrush(kYellow);
            p.drawRoundedRect(QRectF(2.5, 6.5, 11, 8), 1, 1);
            p.setBrush(kOutline);
            p.drawEllipse(QPointF(8, 10), 1, 1);
            break;
        }
        case Picture::RunEntry:  // run entry: a window with a gear
            window(p, QRectF(1.5, 1.5, 13, 12));
            gear(p, QPointF(10.5, 10.5), 4.8, kOrange);
            break;
        case Picture::Icon: {  // icon: a sheet with coloured shapes
            sheet(p, QRectF(1.5, 1.5, 13, 13));
            p.setPen(outline(0.8));
            p.setBrush(kRed);
            p.drawEllipse(QPointF(5.5, 6), 2.5, 2.5);
            p.setBrush(kBlue);
            p.drawRect(QRectF(8, 8, 4.5, 4.5));
            QPolygonF tri;
            tri << QPointF(3, 13) << QPointF(5.5, 8.5) << QPointF(8, 13);
            p.setBrush(kGreen);
            p.drawPolygon(tri);
            break;
        }
        case Picture::Label:  // label: lines of text
            p.setPen(QPen(kOutline, 1.6, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 4; ++i) {
                const qreal y = 3 + i * 3.3;
                p.drawLine(QPointF(2, y), QPointF(i == 3 ? 9 : 14, y));
            }
            break;
        case Picture::Import:  // import: an arrow going into a sheet
            sheet(p, QRectF(5.5, 1.5, 9, 13));
            textLines(p, 9, 13, 5, 3, 3);
            arrow(p, QPointF(0.5, 10), QPointF(9.5, 10), kGreen, 3, 4);
            break;
        case Picture::SaveAs: {  // save as: a floppy disk and a pencil
            floppy(p, QRectF(1.5, 1.5, 11, 11));
            QPolygonF pencil;
            pencil << QPointF(8, 15) << QPointF(8.6, 12.2) << QPointF(14, 6.8) << QPointF(15.6, 8.4)
                   << QPointF(10.2, 13.8);
            p.setPen(outline(0.8));
            p.setBrush(kOrange);
            p.drawPolygon(pencil);
            break;
        }
        case Picture::Add:  // add: a rightward arrow
            arrow(p, QPointF(1.5, 8), QPointF(14.5, 8), kBlue, 4, 6);
            break;
        case Picture::Exit: {  // exit: a door and an arrow leaving
            p.setPen(outline());
            p.setBrush(kBrown);
            p.drawRect(QRectF(1.5, 1.5, 8, 13));
            p.setBrush(kYellow);
            p.drawEllipse(QPointF(7.5, 8), 0.8, 0.8);
            arrow(p, QPointF(6, 8), QPointF(15, 8), kRed, 3, 4);
            break;
        }
        case Picture::Information: {  // information: a white speech bubble with a blue "i"
            QPainterPath bubble;
            bubble.addRoundedRect(QRectF(1.5, 1.5, 13, 10), 3.5, 3.5);
            QPolygonF tail;
            tail << QPointF(4, 10) << QPointF(3.5, 15) << QPointF(8.5, 10.5);
            bubble.addPolygon(tail);
            bubble = bubble.simplified();
            p.setPen(outline());
            p.setBrush(kPaper);
            p.drawPath(bubble);
            glyph(p, QRectF(1.5, 1.5, 13, 10), QStringLiteral("i"), kBlue, 10);
            break;
        }
        case Picture::Warning: {  // warning: a yellow triangle with an exclamation mark
            QPolygonF tri;
            tri << QPointF(8, 1) << QPointF(15.2, 14.5) << QPointF(0.8, 14.5);
            p.setPen(outline());
            p.setBrush(kYellow);
            p.drawPolygon(tri);
            p.setPen(QPen(kOutline, 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
            p.drawPoint(QPointF(8, 12.3));
            break;
        }
        case Picture::Compile: {  // compile: a disc with a green start arrow
            p.setPen(outline());
            QRadialGradient shine(QPointF(6, 6), 8);
            shine.setColorAt(0, kPaper);
            shine.setColorAt(1, kGrey);
            p.setBrush(shine);
            p.drawEllipse(QPointF(7.5, 7.5), 6.5, 6.5);
            p.setBrush(kPaper);
            p.drawEllipse(QPointF(7.5, 7.5), 1.6, 1.6);
            QPolygonF play;
            play << QPointF(9.5, 8.5) << QPointF(15.5, 12) << QPointF(9.5, 15.5);
            p.setPen(outline(0.8));
            p.setBrush(kGreen);
            p.drawPolygon(play);
            break;
        }
        case Picture::None: break;
    }
}

const std::vector<int> kIndices = {0,  1,  2,  5,  6,  7,  8,  9,  10, 12, 14, 15, 16, 17,
                                   18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};

QPixmap drawn(int index, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    ImageList::paint(p, Picture{index});
    return pm;
}

// An icon whose pictures are drawn when they are first shown, not when the frame is built: drawing all
// of them was a quarter of the start-up. Each picture is drawn for the pixels it covers on the screen, so a
// 16-pixel icon on a screen at 1.5 or 2 times is drawn at 24 or 32 pixels, never an upscaled copy.
class DrawnOnUseEngine : public QIconEngine {
public:
    explicit DrawnOnUseEngine(std::function<QPixmap(int pixels)> draw) : m_draw(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        const int extent = std::min(rect.width(), rect.height());
        if (extent <= 0) return;
        QPixmap pm = devicePixmap(qRound(extent * ratio), mode, state);
        pm.setDevicePixelRatio(ratio);
        const QRect square(rect.x() + (rect.width() - extent) / 2, rect.y() + (rect.height() - extent) / 2, extent,
                           extent);
        painter->drawPixmap(square, pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int extent = std::min(size.width(), size.height());
        return extent > 0 ? devicePixmap(extent, mode, state) : QPixmap();
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        // Before Qt 6.8 the size asked for is already in device pixels; from 6.8 on it is the icon's own.
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        const int device = std::min(size.width(), size.height());
#else
        const int device = qRound(std::min(size.width(), size.height()) * scale);
#endif
        if (device <= 0) return {};
        QPixmap pm = devicePixmap(device, mode, state);
        pm.setDevicePixelRatio(scale);
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        const int extent = std::min(size.width(), size.height());
        return {extent, extent};
    }
    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return {QSize(16, 16), QSize(32, 32)};
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("kmr-drawn"); }
    QIconEngine* clone() const override { return new DrawnOnUseEngine(*this); }

private:
    // The picture `extent` device pixels wide, in the look of `mode` (the disabled one is Qt's own).
    QPixmap devicePixmap(int extent, QIcon::Mode mode, QIcon::State state) {
        const int key = extent * 4 + static_cast<int>(mode);
        for (const auto& [k, pm] : m_drawn) {
            if (k == key) return pm;
        }
        QPixmap pm = m_draw(extent);
        if (mode != QIcon::Normal) pm = QIcon(pm).pixmap(QSize(extent, extent), 1.0, mode, state);
        pm.setDevicePixelRatio(1.0);
        // A few sizes at most are ever asked for: the list stays short.
        m_drawn.emplace_back(key, pm);
        return pm;
    }

    std::function<QPixmap(int pixels)> m_draw;
    std::vector<std::pair<int, QPixmap>> m_drawn;
};

}  // namespace

QIcon drawnIcon(std::function<QPixmap(int pixels)> draw) { return QIcon(new DrawnOnUseEngine(std::move(draw))); }

ImageList::ImageList() {
    m_icons.resize(static_cast<std::size_t>(kIndices.back()) + 1);
    for (int index : kIndices) {
        m_icons[static_cast<std::size_t>(index)] = drawnIcon([index](int pixels) { return drawn(index, pixels); });
    }
}

const std::vector<int>& ImageList::indices() { return kIndices; }

bool ImageList::has(int index) { return std::find(kIndices.begin(), kIndices.end(), index) != kIndices.end(); }

QIcon ImageList::icon(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_icons.size()) return {};
    return m_icons[static_cast<std::size_t>(index)];
}

QPixmap ImageList::pixmap(int index, int size) const { return drawn(index, size); }

void ImageList::paint(QPainter& p, Picture picture) {
    p.save();
    drawPicture(p, picture);
    p.restore();
}

}  // namespace kmr::gui
