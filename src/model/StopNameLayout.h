#pragma once
// The text model of the stop-name strip: how a name is split into two-byte
// units of its code-page-932 form, where each unit is placed, how wide the
// strip is, whether the name scrolls, which typeface each unit and each
// character of the "次は" prefix uses, and which characters are drawn as
// another. Pure functions; the widget StopNameDisplay applies them.

#include <QList>
#include <QString>
#include <optional>

namespace StopNameLayout {

constexpr int FrameWidth = 432; // the window through which the strip is seen
constexpr int FrameHeight = 58;
constexpr int StripHeight = 56;
// The strip's top edge in the frame. The 18 rows of dots at a pitch of 3
// make a block of 54 pixels; standing one pixel down, it lies centred in the
// 56-pixel window, so that the top and bottom rows of a character that fills
// its cell show whole.
constexpr int StripTop = 1;
constexpr int CellWidth = 54;  // one full-width character: 18 dots at a pitch of 3
constexpr int ScrollCount = 9; // character places from which a name scrolls
// The strip never grows beyond this many pixels (600 character places); the
// units of a longer name that would start beyond it are not drawn.
constexpr int MaxStripWidth = 600 * CellWidth;

struct Unit {
    QString text; // one two-byte unit (one byte for the last unit of an odd byte count)
    int x = 0;    // left edge of its cell on the strip
};

struct Layout {
    qint32 byteLength = 0; // bytes of the code-page-932 form
    qint32 count = 0;      // two-byte units: byteLength div 2
    bool prefix = false;   // "次は" is drawn at the left end
    qint32 places = 0;     // character places counted for the scroll decision
    bool scrolls = false;
    int x0 = 0;    // left edge of the first unit
    int pitch = 0; // distance between two units
    int stripWidth = FrameWidth;
    int stripLeft = 0; // where the strip stands when the name has been drawn
    QList<Unit> units; // the units to draw, in order
};

// The layout of a name for a prefix mode (nonzero: with "次は"). The empty
// text has no layout of its own: it gives count 0, no prefix, no units.
Layout layoutName(const QString& text, qint16 prefixMode);

// Start position and pitch for count units, with or without the prefix, and
// the strip width that goes with them.
struct Placement {
    int x0 = 0;
    int pitch = 0;
    int stripWidth = FrameWidth;
};
Placement placement(qint32 count, bool prefix);

enum class Face { Gothic, Mincho };

// The typeface names the drawing uses for each face.
QString faceFamily(Face face);

// The 16-bit code-page-932 code of a unit: lead byte × 256 + trail byte when
// the unit begins with a two-byte character, else its first byte; 0 for the
// empty text.
quint16 unitCode(const QString& unit);

// The typeface of a name's unit with the given code under the name font mode.
Face nameFace(qint16 fontMode, quint16 code);

// The typeface of "次" (ha false) or "は" (ha true) under the prefix font mode;
// nothing when the mode leaves the glyph surface's typeface as it is.
std::optional<Face> prefixFace(qint16 prefixFontMode, bool ha);

// The characters drawn as another: "丨" as "ー", "｜" as "－", "↓" as "→",
// "↑" as "←". Every other character is kept.
QString substitute(const QString& unit);

} // namespace StopNameLayout
