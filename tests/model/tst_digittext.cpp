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
        QTest::addColumn<int>("zeroMode");
        QTest::addColumn<int>("fillZero");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const DigitValue& value, int zeroMode, int fillZero,
                            int shift, int digits, const QString& shown) {
            QTest::newRow(name) << value << zeroMode << fillZero << shift << digits << shown;
        };
        const DigitValue empty{QString()};
        // Zero rule: 0 blanks 0 and the empty text, 1 shows 0 for them, 2 shows
        // -1 as 0 and blanks 0, 3 shows 0 for all three; other numbers pass.
        const QString zero[] = {"", "0", "", "0"};
        const QString minusOne[] = {"-1", "-1", "0", "0"};
        for (int m = 0; m < 4; ++m) {
            QTest::addRow("mode %d, 0", m) << DigitValue(0) << m << 0 << 0 << 3 << zero[m];
            QTest::addRow("mode %d, -1", m) << DigitValue(-1) << m << 0 << 0 << 3 << minusOne[m];
            QTest::addRow("mode %d, empty", m) << empty << m << 0 << 0 << 3 << zero[m];
            QTest::addRow("mode %d, 10", m) << DigitValue(10) << m << 0 << 0 << 3 << "10";
        }
        // Any other mode leaves the value as it is.
        for (int m : {4, -1}) {
            QTest::addRow("mode %d leaves 0", m) << DigitValue(0) << m << 0 << 0 << 3 << "0";
            QTest::addRow("mode %d leaves -1", m) << DigitValue(-1) << m << 0 << 0 << 3 << "-1";
            QTest::addRow("mode %d leaves empty", m) << empty << m << 0 << 0 << 3 << "";
        }
        // A text that reads as 0 or -1 counts as that number.
        row("text 0, mode 0", u"0", 0, 0, 0, 3, "");
        row("text 00, mode 1", u"00", 1, 0, 0, 3, "0");
        row("text 0.0, mode 2", u"0.0", 2, 0, 0, 3, "");
        row("text -1, mode 2", u"-1", 2, 0, 0, 3, "0");
        row("text ' -1 ', mode 3", u" -1 ", 3, 0, 0, 3, "0");
        row("text 0.4 is no zero", u"0.4", 0, 0, 0, 3, "0.4");
        row("text abc, mode 1", u"abc", 1, 0, 0, 3, "abc");
        row("spaces are no empty text", u"  ", 1, 0, 0, 3, "  ");
        // Zero fill: the number rounded (halves away from zero) to at least
        // fillZero digits, the sign in front; after the zero rule.
        row("fill 3, -5, cut", -5, 0, 3, 0, 3, "005");
        row("fill 3, -5, 4 digits", -5, 0, 3, 0, 4, "-005");
        row("fill 2, 1234", 1234, 0, 2, 0, 4, "1234");
        row("mode 1, fill 3, 0", 0, 1, 3, 0, 3, "000");
        row("mode 0, fill 3, 0", 0, 0, 3, 0, 3, "");
        row("mode 2, fill 2, -1", -1, 2, 2, 0, 3, "00");
        row("negative fill keeps text", u"7.6", 0, -1, 0, 3, "7.6");
        row("fill text ' +7 '", u" +7 ", 0, 3, 0, 3, "007");
        row("fill text 12.5 rounds up", u"12.5", 0, 3, 0, 3, "013");
        row("fill text -12.5", u"-12.5", 0, 3, 0, 4, "-013");
        row("fill text .5", u".5", 0, 2, 0, 3, "01");
        row("fill text -0.4 has no sign", u"-0.4", 0, 2, 0, 3, "00");
        row("fill text 1e2", u"1e2", 0, 4, 0, 4, "0100");
        // Whole numbers are exact however long; the cut keeps the last digits.
        row("fill long whole text", u"-123456789012345678901234567890", 0, 1, 0, 15,
            "678901234567890");
        row("fill smallest number", std::numeric_limits<qint64>::min(), 0, 3, 0, 15,
            "372036854775808");
        // Texts that are no number are left as they are.
        row("fill text abc", u"abc", 0, 3, 0, 3, "abc");
        row("fill empty text", empty, 0, 3, 0, 3, "");
        for (const QString& t :
             {u"1.2.3"_qs, u"1e"_qs, u"-"_qs, u"1 2"_qs, u"１２"_qs, u"1e400"_qs})
            QTest::addRow("fill text %s", qPrintable(t)) << DigitValue(t) << 0 << 3 << 0 << 5 << t;
        // Shift: spaces after the text, none below 1.
        row("shift 1, 123", 123, 0, 0, 1, 3, "23 ");
        row("shift 2, 5", 5, 0, 0, 2, 3, "5  ");
        row("negative shift", 5, 0, 0, -3, 3, "5");
        row("fill and shift", 5, 0, 2, 1, 3, "05 ");
        row("mode 0 blank, shifted", 0, 0, 0, 1, 3, " ");
        // The rightmost characters that fit, counted as code points.
        row("1234 in 3", 1234, 0, 0, 0, 3, "234");
        row("negative digit count", 5, 0, 0, 0, -4, "");
        row("astral character kept whole", u"a😀", 0, 0, 0, 1, u"😀"_qs);
        row("astral character counts once", u"a😀", 0, 0, 0, 2, u"a😀"_qs);
    }
    void shownText() {
        QFETCH(DigitValue, value);
        QFETCH(int, zeroMode);
        QFETCH(int, fillZero);
        QFETCH(int, shift);
        QFETCH(int, digits);
        QTEST(DigitText::shownText(value, static_cast<qint16>(zeroMode),
                                   static_cast<qint16>(fillZero), static_cast<qint16>(shift),
                                   static_cast<qint16>(digits)),
              "shown");
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
