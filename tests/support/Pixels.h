#pragma once
// What a display widget drew: its colours as pixels, counted in an area or all.

#include "widgets/QColorOf.h"

#include <QImage>

inline QRgb rgb(BgrColor c) {
    return toQColor(c).rgb();
}

inline int countColour(const QImage& img, QRgb c, QRect area = {}) {
    const QRect r = (area.isNull() ? img.rect() : area).intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

inline int countOther(const QImage& img, QRgb c, QRect area = {}) {
    const QRect r = (area.isNull() ? img.rect() : area).intersected(img.rect());
    return r.width() * r.height() - countColour(img, c, r);
}
