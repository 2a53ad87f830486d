// The text rules of the segment display, and its value as design data keeps it.
#include "model/DigitText.h"

#include <QtTest>
#include <limits>

Q_DECLARE_METATYPE(DigitValue)

class TestDigitText : public QObject {
    Q_OBJECT
private slots:
    void shownText_data() {
        QTest::addColumn<DigitValue>("value");
        QTest::addColumn<QList<qint16>>("rules"); // zero mode, zero fill, shift, digits
        QTest::addColumn<QString>("shown");
        const auto row = [](const DigitValue& value, const QList<qint16>& rules,
                            const QString& shown) {
            QTest::addRow("\"%s\" (%s), zero mode %d, fill %d, shift %d, %d digits",
                          qPrintable(value.toText()), value.isText() ? "text" : "number", rules[0],
                          rules[1], rules[2], rules[3])
                << value << rules << shown;
        };
        // Zero rule: 0 blanks 0 and "", 1 shows 0 for them, 2 shows -1 as 0 and
        // blanks 0, 3 shows 0 for all three; other numbers and modes pass.
        const QString zero[] = {"", "0", "", "0", "0", "0"},
                      minusOne[] = {"-1", "-1", "0", "0", "-1", "-1"};
        for (int m = 0; m < 6; ++m) {
            const qint16 mode = m < 4 ? qint16(m) : m == 4 ? 4 : -1;
            row(0, {mode, 0, 0, 3}, zero[m]);
            row(-1, {mode, 0, 0, 3}, minusOne[m]);
            row(u"", {mode, 0, 0, 3}, m < 4 ? zero[m] : QString());
            row(10, {mode, 0, 0, 3}, u"10"_qs);
        }
        // "value|zero mode|fill|shift|digits|shown", "#" before a number. A text
        // reading as 0 or -1 is that number. Fill: rounded (halves away from 0)
        // to fill digits, sign first, whole numbers exact however long, no
        // number left as it is. Shift: spaces after. The rightmost code points.
        const char16_t* const rows[] = {
            u"0|0|0|0|3|",        u"00|1|0|0|3|0",        u"0.0|2|0|0|3|",
            u"-1|2|0|0|3|0",      u" -1 |3|0|0|3|0",      u"0.4|0|0|0|3|0.4",
            u"abc|1|0|0|3|abc",   u"  |1|0|0|3|  ",       u"#-5|0|3|0|3|005",
            u"#-5|0|3|0|4|-005",  u"#1234|0|2|0|4|1234",  u"#0|1|3|0|3|000",
            u"#0|0|3|0|3|",       u"#-1|2|2|0|3|00",      u"7.6|0|-1|0|3|7.6",
            u" +7 |0|3|0|3|007",  u"12.5|0|3|0|3|013",    u"-12.5|0|3|0|4|-013",
            u".5|0|2|0|3|01",     u"-0.4|0|2|0|3|00",     u"1e2|0|4|0|4|0100",
            u"abc|0|3|0|3|abc",   u"|0|3|0|3|",           u"1.2.3|0|3|0|5|1.2.3",
            u"1e|0|3|0|5|1e",     u"-|0|3|0|5|-",         u"1 2|0|3|0|5|1 2",
            u"１２|0|3|0|5|１２", u"1e400|0|3|0|5|1e400", u"#123|0|0|1|3|23 ",
            u"#5|0|0|2|3|5  ",    u"#5|0|0|-3|3|5",       u"#5|0|2|1|3|05 ",
            u"#0|0|0|1|3| ",      u"#1234|0|0|0|3|234",   u"#5|0|0|0|-4|",
            u"a😀|0|0|0|1|😀",      u"a😀|0|0|0|2|a😀"};
        for (const char16_t* r : rows) {
            const QStringList f = QString::fromUtf16(r).split(u'|');
            const auto n = [&](int k) { return qint16(f[k].toInt()); };
            row(f[0].startsWith(u'#') ? DigitValue(f[0].mid(1).toLongLong()) : DigitValue(f[0]),
                {n(1), n(2), n(3), n(4)}, f[5]);
        }
        row(u"-123456789012345678901234567890", {0, 1, 0, 15}, u"678901234567890"_qs);
        row(std::numeric_limits<qint64>::min(), {0, 3, 0, 15}, u"372036854775808"_qs);
    }
    void shownText() {
        QFETCH(DigitValue, value);
        QFETCH(QList<qint16>, rules);
        QTEST(DigitText::shownText(value, rules[0], rules[1], rules[2], rules[3]), "shown");
    }
    void valueFromVariant_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<DigitValue>("value");
        QTest::newRow("missing") << QVariant() << DigitValue(0);
        QTest::newRow("text") << QVariant(u"0"_qs) << DigitValue(u"0");
        QTest::newRow("fraction") << QVariant(12.5) << DigitValue(u"12.5");
        QTest::newRow("True") << QVariant(true) << DigitValue(-1);
        QTest::newRow("huge unsigned")
            << QVariant(qulonglong{18446744073709551615ULL}) << DigitValue(u"18446744073709551615");
        QTest::newRow("unreadable") << QVariant(QPoint(1, 2)) << DigitValue(0);
    }
    void valueFromVariant() {
        QFETCH(QVariant, stored);
        QFETCH(DigitValue, value);
        QCOMPARE(DigitValue::fromVariant(stored), value);
        QCOMPARE(DigitValue::fromVariant(value.toVariant()), value); // saved and read back
    }
};

QTEST_APPLESS_MAIN(TestDigitText)
#include "tst_digittext.moc"
