#pragma once
// The captions of the 24 ticket-number labels in each of the twelve
// numbering layouts of a board.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace TicketNumberLayout {

struct Layout {
    // caption[i] for label i (1..24); nothing where the layout leaves the
    // label as it is. Index 0 is unused.
    std::array<std::optional<QString>, 25> caption;
    qreal firstLabelPointSize = 14; // 12 for the words of two or three characters
};

// The captions of layout 0..11 (any other value writes no number), numbers as
// full-width digits, one-digit numbers with a leading zero when zeroPad is
// nonzero.
Layout compute(qint16 layout, qint16 zeroPad);

// A number as full-width digits, at least two digits when zeroPad is nonzero.
QString number(int n, qint16 zeroPad);

// The twelve layouts as the options dialog lists them, by layout:
// "1,2,3...24 （既定の表示）", "0,1,2...23", "「なし」、1,2...23", ...
QStringList listTexts();

} // namespace TicketNumberLayout
