#pragma once
// Colours as the settings and the display controls keep them: 0x00BBGGRR.

#include <QColor>

using OleColor = quint32;

inline QColor toQColor(OleColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline OleColor fromQColor(const QColor& c) {
    return static_cast<OleColor>(c.red()) | (static_cast<OleColor>(c.green()) << 8) |
           (static_cast<OleColor>(c.blue()) << 16);
}
