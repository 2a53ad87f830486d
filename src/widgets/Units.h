#pragma once
// Window geometry is given in twips at 15 twips per pixel; type sizes in
// points at 96 dots per inch.

#include <QFont>
#include <QRect>
#include <cmath>

namespace Units {

constexpr int TwipsPerPixel = 15;

inline int px(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }
inline QRect rect(double left, double top, double width, double height) {
    return QRect(px(left), px(top), px(width), px(height));
}
inline int twips(int pixels) { return pixels * TwipsPerPixel; }

// A font of the given typeface, size in points (at 96 dots per inch) and weight.
inline QFont font(const QString& family, double points, bool bold = false) {
    QFont f(family);
    f.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    f.setBold(bold);
    return f;
}

} // namespace Units
