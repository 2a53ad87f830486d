#pragma once
// The typeface names the system uses ("ＭＳ ゴシック", "ＭＳ 明朝",
// "ＭＳ Ｐゴシック") are mapped once at start-up to the IPA faces that stand in
// for them, so that the code keeps the names it knows.
//
// The three digit typefaces "M_DegitA", "M_DegitB" and "M_DegitC" of the digit
// display are mapped the same way to segment faces of the DSEG family. Every
// digit of those faces lies within the segments of its "8", which the digit
// display relies on when it lays the lit digits over unlit eights.

#include <QFont>
#include <QString>

namespace Typefaces {

// All substitutions: the text faces and the digit faces. May be called more
// than once.
void registerSubstitutions();

// Only the digit faces; the digit display calls this itself before it draws,
// so that it works in any host. May be called more than once.
void registerDigitFaces();

// The digit typeface of a digit style: 1 "M_DegitB", 2 "M_DegitC", any other
// value "M_DegitA".
QString digitFaceName(qint16 style);

// The segment face that stands in for a digit typeface name ("M_DegitA" ...);
// the name itself for any other text.
QString digitFaceFamily(const QString& faceName);

// A font of the digit typeface, bold or not, that never borrows glyphs from
// other faces. Its size is left to the caller.
QFont digitFont(const QString& faceName, bool bold);

} // namespace Typefaces
