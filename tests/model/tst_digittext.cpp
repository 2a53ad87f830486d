// The text rules of the segment display, and its value as design data keeps it.
#include "model/DigitText.h"

#include <QtTest>
#include <limits>
#include <span>

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
        const auto row = [](const DigitValue& value, int zeroMode, int fillZero, int shift,
                            int digits, const QString& shown) {
            QTest::addRow("\"%s\" (%s), zero mode %d, fill %d, shift %d, %d digits",
                          qPrintable(value.toText()), value.isText() ? "text" : "number", zeroMode,
                          fillZero, shift, digits)
                << value << zeroMode << fillZero << shift << digits << shown;
        };
        // Zero rule: 0 blanks 0 and the empty text, 1 shows 0 for them, 2 shows
        // -1 as 0 and blanks 0, 3 shows 0 for all three; other numbers pass.
        // Any other mode leaves the value as it is.
        const QString zero[] = {"", "0", "", "0", "0", "0"},
                      minusOne[] = {"-1", "-1", "0", "0", "-1", "-1"};
        for (int m = 0; m < 6; ++m) {
            const int mode = m < 4 ? m : m == 4 ? 4 : -1;
            row(0, mode, 0, 0, 3, zero[m]);
            row(-1, mode, 0, 0, 3, minusOne[m]);
            row(u"", mode, 0, 0, 3, m < 4 ? zero[m] : QString());
            row(10, mode, 0, 0, 3, u"10"_qs);
        }
        struct Row {
            const char16_t* text; // or the number
            qint64 number;
            int zeroMode, fillZero, shift, digits;
            const char16_t* shown;
        };
        // In order: a text that reads as 0 or -1 counts as that number. Zero
        // fill: the number rounded (halves away from zero) to at least fillZero
        // digits, the sign in front, after the zero rule; whole numbers are
        // exact however long, the cut keeping the last digits; texts that are
        // no number are left as they are. Shift: spaces after the text, none
        // below 1. The rightmost characters that fit, counted as code points.
        const Row first[] = {
            {u"0", 0, 0, 0, 0, 3, u""},           {u"00", 0, 1, 0, 0, 3, u"0"},
            {u"0.0", 0, 2, 0, 0, 3, u""},         {u"-1", 0, 2, 0, 0, 3, u"0"},
            {u" -1 ", 0, 3, 0, 0, 3, u"0"},       {u"0.4", 0, 0, 0, 0, 3, u"0.4"},
            {u"abc", 0, 1, 0, 0, 3, u"abc"},      {u"  ", 0, 1, 0, 0, 3, u"  "},
            {nullptr, -5, 0, 3, 0, 3, u"005"},    {nullptr, -5, 0, 3, 0, 4, u"-005"},
            {nullptr, 1234, 0, 2, 0, 4, u"1234"}, {nullptr, 0, 1, 3, 0, 3, u"000"},
            {nullptr, 0, 0, 3, 0, 3, u""},        {nullptr, -1, 2, 2, 0, 3, u"00"},
            {u"7.6", 0, 0, -1, 0, 3, u"7.6"}};
        const Row second[] = {
            {u" +7 ", 0, 0, 3, 0, 3, u"007"},   {u"12.5", 0, 0, 3, 0, 3, u"013"},
            {u"-12.5", 0, 0, 3, 0, 4, u"-013"}, {u".5", 0, 0, 2, 0, 3, u"01"},
            {u"-0.4", 0, 0, 2, 0, 3, u"00"},    {u"1e2", 0, 0, 4, 0, 4, u"0100"},
            {u"abc", 0, 0, 3, 0, 3, u"abc"},    {u"", 0, 0, 3, 0, 3, u""},
            {nullptr, 123, 0, 0, 1, 3, u"23 "}, {nullptr, 5, 0, 0, 2, 3, u"5  "},
            {nullptr, 5, 0, 0, -3, 3, u"5"},    {nullptr, 5, 0, 2, 1, 3, u"05 "},
            {nullptr, 0, 0, 0, 1, 3, u" "},     {nullptr, 1234, 0, 0, 0, 3, u"234"},
            {nullptr, 5, 0, 0, 0, -4, u""}};
        for (const QString& t :
             {u"1.2.3"_qs, u"1e"_qs, u"-"_qs, u"1 2"_qs, u"１２"_qs, u"1e400"_qs})
            row(t, 0, 3, 0, 5, t);
        row(u"a😀", 0, 0, 0, 1, u"😀"_qs);
        row(u"a😀", 0, 0, 0, 2, u"a😀"_qs);
        row(u"-123456789012345678901234567890", 0, 1, 0, 15, u"678901234567890"_qs);
        row(std::numeric_limits<qint64>::min(), 0, 3, 0, 15, u"372036854775808"_qs);
        for (const auto& rows : {std::span(first), std::span(second)})
            for (const Row& r : rows)
                row(r.text ? DigitValue(r.text) : DigitValue(r.number), r.zeroMode, r.fillZero,
                    r.shift, r.digits, QString::fromUtf16(r.shown));
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
