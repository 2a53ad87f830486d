#pragma once
// The text rules of the digit display, apart from any drawing: from the value
// a host assigned to what the cells show, through the zero rule, the zero
// fill, the shift and the cut to the digit count.
//
// A value "reads as a number" when it is a number, or a text holding one
// decimal number: optional spaces, an optional sign, digits with an optional
// decimal point (".5" and "5." count), an optional exponent ("1e3"), optional
// spaces. Such a text counts as the number it reads as everywhere, in the zero
// rule as in the zero fill: the text "0" is zero and "-1" is minus one.

#include "model/DigitValue.h"

#include <QString>
#include <optional>

namespace DigitText {

// What the zero rule and the zero fill see of a value that reads as a number.
struct Numeric {
    bool isZero = false;     // exactly 0
    bool isMinusOne = false; // exactly -1
    bool negative = false;   // below 0 once rounded to a whole number
    QString wholeDigits;     // the magnitude rounded to a whole number (halves
                             // away from zero), decimal, without leading zeros
};

// The number a value reads as, or nothing for the empty text and for texts
// that are no number (including numbers too large for a double).
std::optional<Numeric> readNumber(const DigitValue& value);

// Zero rule by zero mode: 0 blanks 0 and the empty text; 1 shows 0 for them;
// 2 shows -1 as 0 and blanks 0; 3 shows 0 for -1, 0 and the empty text; any
// other mode leaves the value as it is.
DigitValue applyZeroRule(const DigitValue& value, qint16 zeroMode);

// Zero fill: a value that reads as a number becomes the text of that number
// rounded to a whole number with at least fillZero digits, leading zeros
// added, the minus sign in front. fillZero 0 or below, and values that are no
// number, are left as they are.
DigitValue applyFillZero(const DigitValue& value, qint16 fillZero);

// Shift: the value as text followed by shift spaces (none for shift below 1).
QString applyShift(const DigitValue& value, qint16 shift);

// The rightmost keta characters of text (all of it when shorter, nothing for
// keta 0 or below). Characters are counted as code points, so a character
// outside the basic plane is never cut in half.
QString rightmost(const QString& text, qint16 keta);

// Everything together, in order: zero rule, zero fill, shift, cut to keta.
QString shownText(const DigitValue& value, qint16 zeroMode, qint16 fillZero, qint16 shift,
                  qint16 keta);

} // namespace DigitText
