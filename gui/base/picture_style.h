#pragma once
// The palette and the outline that every picture the editor draws shares, so that pictures drawn in
// different places look like one set.

#include <QColor>
#include <QPen>

namespace kmr::gui::picture {

inline const QColor kOutline(48, 48, 56);
inline const QColor kPaper(252, 252, 248);
inline const QColor kBlue(52, 101, 164);
inline const QColor kLightBlue(114, 159, 207);
inline const QColor kGreen(78, 154, 6);
inline const QColor kRed(204, 0, 0);
inline const QColor kYellow(237, 212, 0);
inline const QColor kOrange(245, 121, 0);
inline const QColor kGrey(186, 189, 182);
inline const QColor kBrown(143, 89, 2);

inline QPen outline(qreal width) {
    QPen pen(kOutline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

}  // namespace kmr::gui::picture
