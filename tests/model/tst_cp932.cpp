// Code page 932, the encoding of K40's texts: conversions, bytes and slices.
#include "model/Cp932.h"

#include <QtTest>
#include <iconv.h>
#include <optional>

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void encode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << u"K40 12"_qs << QByteArray("K40 12");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("kanji") << u"停留所"_qs << QByteArray("\x92\xE2\x97\xAF\x8F\x8A");
        QTest::newRow("half-width kana") << u"ｽｸﾛｰﾙ"_qs << QByteArray("\xBD\xB8\xDB\xB0\xD9");
        QTest::newRow("mixed") << u"A停1"_qs << QByteArray("A\x92\xE2" "1");
        // CP932, not Shift_JIS: the full-width tilde and the minus sign.
        QTest::newRow("wave dash") << u"～"_qs << QByteArray("\x81\x60");
        QTest::newRow("full-width minus") << u"－"_qs << QByteArray("\x81\x7C");
        QTest::newRow("NEC circled one") << u"①"_qs << QByteArray("\x87\x40");
    }
    void encode() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp932::encode(text), bytes);
        QCOMPARE(*Cp932::encodeStrict(text), bytes);
        QCOMPARE(Cp932::byteLength(text), bytes.size());
        QVERIFY(Cp932::isValid(bytes));
        QCOMPARE(Cp932::decode(bytes), text);
    }

    void characterWithoutForm() {
        // "?" as Windows writes it; the strict form names the character instead.
        QCOMPARE(Cp932::encode(u"a😀b"_qs), QByteArray("a?b"));
        qsizetype index = -1;
        QVERIFY(!Cp932::encodeStrict(u"次は😀"_qs, &index));
        QCOMPARE(index, 2);
    }

    void invalidBytesKept_data() {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<int>("offset"); // of the first bad byte
        QTest::newRow("lone lead, bad trail, undefined byte")
            << QByteArray("A\x82\x20" "B\xFF\x83", 6) << 1;
        // The bytes CP932 does not define, alone and before a letter and a
        // kanji; lead bytes at the end and before a blank, which is no trail.
        for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
            const QByteArray one(1, char(b));
            QTest::addRow("0x%02X alone", b) << one << 0;
            QTest::addRow("0x%02X before A", b) << QByteArray("x" + one + "A") << 1;
            QTest::addRow("0x%02X before a kanji", b)
                << QByteArray("x" + one + "\x92\xE2") << 1;
        }
        for (int b : {0x81, 0x9F, 0xE0, 0xFC}) {
            const QByteArray one(1, char(b));
            QTest::addRow("lead 0x%02X at the end", b) << QByteArray("x" + one) << 1;
            QTest::addRow("lead 0x%02X before a blank", b) << QByteArray("x" + one + " A") << 1;
        }
    }
    void invalidBytesKept() {
        // Text read from a file writes back byte for byte, whatever its bytes.
        QFETCH(QByteArray, bad);
        qsizetype offset = -1;
        QVERIFY(!Cp932::isValid(bad, &offset));
        QTEST(int(offset), "offset");
        const QString text = Cp932::decode(bad);
        QCOMPARE(text.at(0) == u'A' || text.at(0) == u'x', offset > 0);
        QCOMPARE(Cp932::encode(text), bad);
        QCOMPARE(*Cp932::encodeStrict(text), bad);
        QCOMPARE(Cp932::byteLength(text), bad.size());
    }

    void byteSlices() {
        // From byte 1, as text; a slice cutting a character keeps the byte it holds.
        const QString text = u"次は市役所前・文化会館A"_qs;
        const QByteArray bytes = Cp932::encode(text);
        for (int start = 1; start <= bytes.size() + 1; ++start)
            for (int count = 1; count <= 3; ++count)
                QCOMPARE(Cp932::encode(Cp932::byteSlice(text, start, count)),
                         bytes.mid(start - 1, count));
        QCOMPARE(Cp932::byteSlice(u"a系b"_qs, 3, 2), u"nb"_qs); // 61 8C 6E 62
        QCOMPARE(Cp932::byteSlice(text, 0, 2), QString());
        QCOMPARE(Cp932::byteSlice(text, 1, 0), QString());
    }

    void sameAsIconvForEveryCharacter() {
        // The conversions, which remember characters, agree with iconv's
        // CP932 table for every byte pair and every BMP character.
        iconv_t toUnicode = iconv_open("UTF-16LE", "CP932");
        iconv_t toCp932 = iconv_open("CP932", "UTF-16LE");
        QVERIFY(toUnicode != iconv_t(-1) && toCp932 != iconv_t(-1));
        const auto convert = [](iconv_t cd, QByteArray in) -> std::optional<QByteArray> {
            char out[16];
            char* i = in.data();
            char* o = out;
            size_t inLeft = size_t(in.size()), outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &i, &inLeft, &o, &outLeft) == size_t(-1)) return std::nullopt;
            return QByteArray(out, o - out);
        };
        int pairs = 0;
        for (int lead = 0x80; lead <= 0xFF; ++lead)
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const QByteArray bytes = QByteArray().append(char(lead)).append(char(trail));
                const auto utf16 = convert(toUnicode, bytes);
                if (!utf16 || utf16->size() != 2) continue; // not one character
                ++pairs;
                const QChar ch(char16_t(quint8((*utf16)[0]) | quint8((*utf16)[1]) << 8));
                QCOMPARE(Cp932::decode(bytes), QString(ch));
            }
        QCOMPARE_GT(pairs, 7000);
        for (int u = 0x80; u <= 0xFFFF; ++u) {
            if (QChar::isSurrogate(char32_t(u))) continue;
            const auto form =
                convert(toCp932, QByteArray().append(char(u & 0xFF)).append(char(u >> 8)));
            QCOMPARE(Cp932::encode(QString(QChar(char16_t(u)))), form ? *form : "?");
        }
        iconv_close(toUnicode);
        iconv_close(toCp932);
    }
};

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"
