// Code page 932, the encoding of K40's texts: conversions, bytes and slices.
#include "model/Cp932.h"

#include <QtTest>
#include <iconv.h>

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    // Bytes read as text write back byte for byte; the offset of the first no CP932, or -1.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text"); // as decoded, for valid bytes
        QTest::addColumn<int>("offset");
        const auto row = [](const char* tag, const char* hex, const QString& text, int offset) {
            QTest::newRow(tag) << QByteArray::fromHex(hex) << text << offset;
        };
        row("empty", "", {}, -1);
        row("mixed", "41 92E2 31 20 BDB8", u"A停1 ｽｸ"_qs, -1);
        row("lone lead, bad trail, undefined byte", "41 8220 42 FF 83", {}, 1);
        // Bytes CP932 does not define, alone, before a letter and a kanji; lead
        // bytes at the end and before a blank, which is no trail.
        for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
            const QByteArray one(1, char(b));
            QTest::addRow("0x%02X alone", b) << one << QString() << 0;
            QTest::addRow("0x%02X before A", b) << "x" + one + "A" << QString() << 1;
            QTest::addRow("0x%02X before a kanji", b) << "x" + one + "\x92\xE2" << QString() << 1;
        }
        for (int b : {0x81, 0x9F, 0xE0, 0xFC}) {
            const QByteArray one(1, char(b));
            QTest::addRow("lead 0x%02X at the end", b) << "x" + one << QString() << 1;
            QTest::addRow("lead 0x%02X before a blank", b) << "x" + one + " A" << QString() << 1;
        }
    }
    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, offset);
        qsizetype at = -1;
        QCOMPARE(Cp932::isValid(bytes, &at), offset < 0);
        QCOMPARE(int(at), offset);
        const QString text = Cp932::decode(bytes);
        if (offset < 0)
            QTEST(text, "text");
        else
            QCOMPARE(text.at(0) == u'A' || text.at(0) == u'x', offset > 0);
        QCOMPARE(Cp932::encode(text), bytes);
        QCOMPARE(*Cp932::encodeStrict(text), bytes);
        QCOMPARE(Cp932::byteLength(text), bytes.size());
    }
    void characterWithoutForm() {
        // "?" as Windows writes it; the strict form names the character instead.
        QCOMPARE(Cp932::encode(u"a😀b"_qs), QByteArray("a?b"));
        qsizetype index = -1;
        QVERIFY(!Cp932::encodeStrict(u"次は😀"_qs, &index));
        QCOMPARE(index, 2);
    }
    void byteSlices() {
        // From byte 1, as text; a slice cutting a character keeps the byte it holds.
        const QString text = u"次は市役所前・文化会館A"_qs;
        const QByteArray bytes = Cp932::encode(text);
        for (int start = 0; start <= bytes.size() + 1; ++start)
            for (int count = 0; count <= 3; ++count)
                QCOMPARE(Cp932::encode(Cp932::byteSlice(text, start, count)),
                         start < 1 ? QByteArray() : bytes.mid(start - 1, count));
        QCOMPARE(Cp932::byteSlice(u"a系b"_qs, 3, 2), u"nb"_qs); // 61 8C 6E 62
    }
    void sameAsIconvForEveryCharacter() {
        // The conversions agree with iconv's CP932 table for every byte pair and
        // BMP character: the full-width tilde and minus, NEC's circled digits.
        iconv_t toUnicode = iconv_open("UTF-16LE", "CP932"),
                toCp932 = iconv_open("CP932", "UTF-16LE");
        QVERIFY(toUnicode != iconv_t(-1) && toCp932 != iconv_t(-1));
        const auto convert = [](iconv_t cd, int a, int b) { // empty when there is no form
            char in[2] = {char(a), char(b)}, out[16];
            char *i = in, *o = out;
            size_t inLeft = 2, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool ok = iconv(cd, &i, &inLeft, &o, &outLeft) != size_t(-1);
            return ok ? QByteArray(out, o - out) : QByteArray();
        };
        int pairs = 0;
        for (int lead = 0x80; lead <= 0xFF; ++lead)
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const auto utf16 = convert(toUnicode, lead, trail);
                if (utf16.size() != 2) continue; // not one character
                ++pairs;
                QCOMPARE(Cp932::decode(QByteArray(1, char(lead)) + char(trail)),
                         QString(QChar(quint8(utf16[0]), quint8(utf16[1]))));
            }
        QCOMPARE_GT(pairs, 7000);
        for (int u = 0x80; u <= 0xFFFF; ++u) {
            if (QChar::isSurrogate(char32_t(u))) continue;
            const auto form = convert(toCp932, u & 0xFF, u >> 8);
            QCOMPARE(Cp932::encode(QString(QChar(char16_t(u)))), form.isEmpty() ? "?" : form);
        }
        iconv_close(toUnicode);
        iconv_close(toCp932);
    }
};

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"
