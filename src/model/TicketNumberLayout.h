#pragma once
// The captions of the ticket-number labels in each of the twelve numbering
// layouts of a board: the 24 labels of the standard board, or any number of
// labels showing a page of tickets from a first ticket on.

#include <QString>
#include <QStringList>
#include <vector>
#include <optional>

namespace TicketNumberLayout {

struct Layout {
    // caption[i] for label i (1..labels); nothing where the layout leaves
    // the label as it is. Index 0 is unused.
    std::vector<std::optional<QString>> caption;
    qreal firstLabelPointSize = 14; // 12 for the words of two or three characters
};

// The captions of layout 0..11 (any other value writes no number), numbers as
// full-width digits, one-digit numbers with a leading zero when zeroPad is
// nonzero. Label i shows ticket firstTicket - 1 + i; the word of a layout
// ("券なし") stands on ticket 1 only, and the later tickets go on counting as
// the first page counts.
Layout compute(qint16 layout, qint16 zeroPad, int labels = 24, int firstTicket = 1);

// A number as full-width digits, at least two digits when zeroPad is nonzero.
QString number(int n, qint16 zeroPad);

// The twelve layouts as the options dialog lists them, by layout:
// "1,2,3...24 （既定の表示）", "0,1,2...23", "「なし」、1,2...23", ...
QStringList listTexts();

} // namespace TicketNumberLayout
