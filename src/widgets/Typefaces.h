#pragma once
// The typefaces of K40. The board's texts name the faces "ＭＳ ゴシック",
// "ＭＳ 明朝" and "ＭＳ Ｐゴシック"; they are mapped once at start-up to the IPA
// faces that stand in for them, so that the code keeps the names it knows.
//
// The segment digits are drawn in one of three seven-segment faces of the
// DSEG family, chosen by the display's digit style. Every digit of those faces
// lies within the segments of its "8", which the digit display relies on when
// it lays the lit digits over unlit eights.

#include <QFont>
#include <QString>

namespace Typefaces {

// Maps the text faces to the IPA faces. May be called more than once.
void registerSubstitutions();

// The segment face of a digit style: 1 "DSEG7 Modern", 2 "DSEG7 Classic
// Mini", any other value "DSEG7 Classic".
QString digitFamily(qint16 style);

// A font of a segment face, bold or not, that never borrows glyphs from other
// faces. Its size is left to the caller.
QFont digitFont(const QString& family, bool bold);

} // namespace Typefaces
