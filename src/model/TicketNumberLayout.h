#pragma once
// The captions of the 24 ticket-number labels in each of the twelve
// numbering layouts of a board.

#include <QString>
#include <array>
#include <optional>

namespace TicketNumberLayout {

struct Layout {
    // caption[i] for label i (1..24); nothing where the layout leaves the
    // label as it is. Index 0 is unused.
    std::array<std::optional<QString>, 25> caption;
    qreal label1PointSize = 14; // 12 for the words of two or three characters
};

// The captions of layout 0..11 (any other value writes no number), numbers as
// full-width digits, one-digit numbers with a leading zero when zeroPad is
// nonzero.
Layout compute(qint16 layout, qint16 zeroPad);

// A number as full-width digits, at least two digits when zeroPad is nonzero.
QString number(int n, qint16 zeroPad);

} // namespace TicketNumberLayout
