#pragma once
// A colour as the settings file and the display controls keep it: a 32-bit
// value 0x00BBGGRR (red in the low byte). 0x969696 is grey, 0x72D2F8 amber.
// A value 0x800000nn names Windows' system colour nn (0x8000000F is the face
// of buttons); it is kept as it is and shown in the standard scheme's colour.

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

constexpr bool isSystemColor(BgrColor c) {
    return (c >> 24) == 0x80;
}

// The colour a value shows: a system colour in the standard scheme (black
// for an index without one), any other value by its low 24 bits.
constexpr BgrColor shown(BgrColor c) {
    constexpr BgrColor System[31] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
    if (!isSystemColor(c)) return c & 0x00FFFFFF;
    const BgrColor index = c & 0xFFFFFF;
    return index < 31 ? System[index] : 0;
}
} // namespace Bgr
