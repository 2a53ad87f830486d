#pragma once
// NW-7 (Codabar), the barcode of Japanese bus tickets: the digits 0 to 9 and
// - $ : / . + between a start and a stop character out of A, B, C and D. Each
// character is seven elements, four bars and the three spaces between them,
// each narrow or wide; a narrow space separates the characters.

#include <QString>
#include <optional>
#include <vector>

namespace Codabar {

struct Element {
    bool bar = false; // a bar, else a space
    bool wide = false;
    bool operator==(const Element&) const = default;
};

// Whether c may stand between the start and the stop character.
bool isDataCharacter(QChar c);
// Whether c is a start or stop character (A to D, in either case).
bool isStartStop(QChar c);

// The elements of data, from the first bar of its start character to the
// last bar of its stop character; nothing when data is not a start
// character, data characters and a stop character.
std::optional<std::vector<Element>> encode(const QString& data);

} // namespace Codabar
