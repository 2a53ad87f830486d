#pragma once
// Between the 0x00BBGGRR colours of the settings and Qt's colours.

#include "model/BgrColor.h"

#include <QColor>

// A system colour is shown in the standard scheme's colour.
inline QColor toQColor(BgrColor c) {
    c = Bgr::shown(c);
    return QColor(Bgr::red(c), Bgr::green(c), Bgr::blue(c));
}

inline BgrColor fromQColor(const QColor& c) { return Bgr::fromRgb(c.red(), c.green(), c.blue()); }
