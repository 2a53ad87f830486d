// The ticket-number labels' captions in the twelve layouts, and the options' list of them.
#include "model/TicketNumberLayout.h"
#include <QtTest>

static QString fw(const char* ascii) { // the expected captions, written in full width
    QString s = QString::fromLatin1(ascii);
    for (QChar& c : s) if (c.isDigit()) c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

class TestTicketNumberLayout : public QObject {
    Q_OBJECT
private slots:
    void layouts_data() {
        QTest::addColumn<int>("layout"); QTest::addColumn<int>("zeroPad");
        QTest::addColumn<QString>("labels"); // 1..3, 23 and 24; "·" none
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("first"); // the first ticket of the page shown
        QTest::newRow("0") << 0 << 0 << fw("1|2|3|23|24") << 14 << 1;
        QTest::newRow("0, zeros") << 0 << 1 << fw("01|02|03|23|24") << 14 << 1;
        QTest::newRow("1, zeros") << 1 << 1 << fw("00|01|02|22|23") << 14 << 1;
        QTest::newRow("1") << 1 << 0 << fw("0|1|2|22|23") << 14 << 1;
        QTest::newRow("2") << 2 << 0 << u"な し|"_qs + fw("1|2|22|23") << 12 << 1;
        QTest::newRow("3") << 3 << 0 << u"な し|"_qs + fw("2|3|23|24") << 12 << 1;
        QTest::newRow("4") << 4 << 0 << u"無 券|"_qs + fw("1|2|22|23") << 12 << 1;
        QTest::newRow("5, zeros") << 5 << 1 << u"無 券|"_qs + fw("02|03|23|24") << 12 << 1;
        QTest::newRow("6") << 6 << 0 << u"券なし|"_qs + fw("1|2|22|23") << 12 << 1;
        QTest::newRow("7") << 7 << 0 << u"券なし|"_qs + fw("2|3|23|24") << 12 << 1;
        QTest::newRow("8") << 8 << 0 << u"券無し|"_qs + fw("1|2|22|23") << 12 << 1;
        QTest::newRow("9") << 9 << 0 << u"券無し|"_qs + fw("2|3|23|24") << 12 << 1;
        QTest::newRow("10") << 10 << 0 << u"|"_qs + fw("1|2|22|23") << 14 << 1;
        QTest::newRow("11") << 11 << 0 << u"|"_qs + fw("2|3|23|24") << 14 << 1;
        QTest::newRow("-1: nothing") << -1 << 0 << u"·|·|·|·|·"_qs << 14 << 1;
        QTest::newRow("12: only the empty word") << 12 << 0 << u"|·|·|·|·"_qs << 14 << 1;
        // Later pages count on as the first page counts, with no word.
        QTest::newRow("7, page 2") << 7 << 0 << fw("25|26|27|47|48") << 14 << 25;
        QTest::newRow("2, page 2") << 2 << 0 << fw("24|25|26|46|47") << 14 << 25;
        QTest::newRow("1, from 49") << 1 << 1 << fw("48|49|50|70|71") << 14 << 49;
        QTest::newRow("0, from 31") << 0 << 0 << fw("31|32|33|53|54") << 14 << 31;
    }
    void layouts() {
        QFETCH(int, layout); QFETCH(int, zeroPad); QFETCH(int, first);
        const auto l = TicketNumberLayout::compute(qint16(layout), qint16(zeroPad), 24, first);
        QStringList labels;
        for (size_t i : {1, 2, 3, 23, 24}) labels << l.caption[i].value_or(u"·"_qs);
        QTEST(labels.join(u'|'), "labels"); QTEST(int(l.firstLabelPointSize), "size");
    }
    void listTexts() {
        const QStringList texts = TicketNumberLayout::listTexts();
        QVERIFY(texts.size() == 12 && texts[0] == u"1,2,3...24 （既定の表示）"_qs);
        QCOMPARE(texts[3], u"「なし」、2,3...24"_qs);
        // Each text ends in the number that its layout shows last.
        for (int layout = 0; layout < 12; ++layout) {
            const QString last = *TicketNumberLayout::compute(qint16(layout), 0).caption[24];
            int number = 0;
            for (QChar c : last) number = 10 * number + c.digitValue(); // full-width digits
            QVERIFY2(number > 0 && texts[layout].contains(QStringLiteral("...%1").arg(number)),
                     qPrintable(texts[layout]));
        }
    }
};
QTEST_GUILESS_MAIN(TestTicketNumberLayout)
#include "tst_ticketnumberlayout.moc"
