#include "model/TicketNumberLayout.h"

#include <algorithm>

namespace TicketNumberLayout {

QString number(int n, qint16 zeroPad) {
    QString s = zeroPad != 0 ? QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')) : QString::number(n);
    for (QChar& c : s)
        if (c >= u'0' && c <= u'9') c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

Layout compute(qint16 layout, qint16 zeroPad, int labels, int firstTicket) {
    Layout out;
    out.caption.resize(size_t(std::max(labels, 0) + 1));
    QString word;
    switch (layout) {
    case 2: case 3: word = QStringLiteral("な し"); break;
    case 4: case 5: word = QStringLiteral("無 券"); break;
    case 6: case 7: word = QStringLiteral("券なし"); break;
    case 8: case 9: word = QStringLiteral("券無し"); break;
    default: break; // 10, 11 and any other layout: no word
    }
    // The number shown for ticket t: layout 0 counts from 1, layout 1 from
    // 0; the others put their word on ticket 1 and count the rest from 1
    // (even layouts) or 2 (odd ones).
    const int offset = layout == 0 || (layout >= 2 && layout % 2 == 1) ? 0 : -1;
    for (int i = 1; i <= labels; ++i) {
        const int ticket = firstTicket - 1 + i;
        if (ticket == 1 && layout >= 2)
            out.caption[size_t(i)] = word;
        else if (layout >= 0 && layout <= 11)
            out.caption[size_t(i)] = number(ticket + offset, zeroPad);
    }
    out.firstLabelPointSize = layout >= 2 && layout <= 9 && firstTicket == 1 ? 12 : 14;
    return out;
}

QStringList listTexts() {
    static const char16_t* const Patterns[12] = {
        u"1,2,3...", u"0,1,2...", u"「なし」、1,2...", u"「なし」、2,3...",
        u"「無券」、1,2...", u"「無券」、2,3...", u"「券なし」、1,2...", u"「券なし」、2,3...",
        u"「券無し」、1,2...", u"「券無し」、2,3...", u"(無地)、1,2...", u"(無地)、2,3..."};
    // How many ticket numbers each layout has.
    static const int Counts[12] = {24, 23, 23, 24, 23, 24, 23, 24, 23, 24, 23, 24};
    QStringList out;
    for (int i = 0; i < 12; ++i) {
        QString text = QString::fromUtf16(Patterns[i]) + QString::number(Counts[i]);
        if (i == 0) text += QStringLiteral(" （既定の表示）");
        out << text;
    }
    return out;
}

} // namespace TicketNumberLayout
