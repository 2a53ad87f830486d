#pragma once
// A colour as the settings file and the display controls keep it: a 32-bit
// value 0x00BBGGRR (red in the low byte). 0x969696 is grey, 0x72D2F8 amber.

#include <QtGlobal>

using BgrColor = quint32;

namespace Bgr {
constexpr int red(BgrColor c) { return static_cast<int>(c & 0xFF); }
constexpr int green(BgrColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue(BgrColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr BgrColor fromRgb(int r, int g, int b) {
    return static_cast<BgrColor>(r & 0xFF) | (static_cast<BgrColor>(g & 0xFF) << 8) |
           (static_cast<BgrColor>(b & 0xFF) << 16);
}
} // namespace Bgr
