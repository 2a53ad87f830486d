// The platform layer: CP932 conversion, the companion library's byte
// routines and system name, the error type and the design-data bag.
#include "widgets/PropertyBag.h"
#include "model/Cp932.h"
#include "model/K40Error.h"
#include "widgets/CompanionDialogs.h"

#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void decodeInvalidKeepsBytes();
    void encodeStrictReportsBadCharacter();
    void byteLength_data();
    void byteLength();
    void byteSlice_data();
    void byteSlice();
    void byteSliceCutCharacterEncodesBack();
    void propertyBag();
    void typedReads_data();
    void typedReads();
};

void TestPlatform::encode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"K40 12"_qs << QByteArray("K40 12");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("kanji") << u"停留所"_qs << QByteArray("\x92\xE2\x97\xAF\x8F\x8A");
    QTest::newRow("half-width kana") << u"ｽｸﾛｰﾙ"_qs << QByteArray("\xBD\xB8\xDB\xB0\xD9");
    // CP932, not Shift_JIS: the full-width tilde and the minus sign.
    QTest::newRow("wave dash") << u"～"_qs << QByteArray("\x81\x60");
    QTest::newRow("full-width minus") << u"－"_qs << QByteArray("\x81\x7C");
    QTest::newRow("NEC circled one") << u"①"_qs << QByteArray("\x87\x40");
    QTest::newRow("no CP932 form") << u"a😀b"_qs << QByteArray("a?b");
}

void TestPlatform::encode() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text), bytes);
    if (!text.contains(u"😀"_qs)) QCOMPARE(Cp932::decode(bytes), text);
}

void TestPlatform::decodeInvalidKeepsBytes() {
    // A lone lead byte, a bad trail and an undefined single byte.
    const QByteArray bad("A\x82\x20" "B\xFF\x83", 6);
    QVERIFY(!Cp932::isValid(bad));
    const QString text = Cp932::decode(bad);
    QCOMPARE(text.left(1), u"A"_qs);
    QCOMPARE(Cp932::encode(text), bad);
    qsizetype offset = -1;
    QVERIFY(!Cp932::isValid(bad, &offset));
    QCOMPARE(offset, 1);
    QVERIFY(Cp932::isValid(QByteArray("\x8E\x9F\x82\xCD")));
}

void TestPlatform::encodeStrictReportsBadCharacter() {
    qsizetype index = -1;
    QVERIFY(!Cp932::encodeStrict(u"次は😀"_qs, &index));
    QCOMPARE(index, 2);
    QCOMPARE(*Cp932::encodeStrict(u"次は"_qs), QByteArray("\x8E\x9F\x82\xCD"));
}

void TestPlatform::byteLength_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("ascii") << u"abc"_qs << 3;
    QTest::newRow("five kanji") << u"系統選別中"_qs << 10;
    QTest::newRow("mixed") << u"A停1"_qs << 4;
    QTest::newRow("half-width kana") << u"ｽｸﾛｰﾙ速度"_qs << 9;
}

void TestPlatform::byteLength() {
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(Cp932::byteLength(text), length);
}

void TestPlatform::byteSlice_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("slice");
    QTest::newRow("first unit") << u"系統選別中"_qs << 1 << 2 << u"系"_qs;
    QTest::newRow("last unit") << u"系統選別中"_qs << 9 << 2 << u"中"_qs;
    QTest::newRow("beyond the end") << u"系統"_qs << 5 << 2 << QString();
    QTest::newRow("half past the end") << u"AB停"_qs << 3 << 4 << u"停"_qs;
    QTest::newRow("ascii pair") << u"abcd"_qs << 3 << 2 << u"cd"_qs;
    // "a系b" is 61 8C 6E 62: bytes 3 and 4 are the trail byte of 系 ("n") and "b".
    QTest::newRow("straddling pair") << u"a系b"_qs << 3 << 2 << u"nb"_qs;
    QTest::newRow("start zero") << u"abc"_qs << 0 << 2 << QString();
    QTest::newRow("count zero") << u"abc"_qs << 1 << 0 << QString();
    QTest::newRow("empty text") << QString() << 1 << 2 << QString();
}

void TestPlatform::byteSlice() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(QString, slice);
    QCOMPARE(Cp932::byteSlice(text, start, count), slice);
}

void TestPlatform::byteSliceCutCharacterEncodesBack() {
    // Every slice of every length is exactly the bytes of the slice.
    const QString text = u"次は市役所前・文化会館A"_qs;
    const QByteArray bytes = Cp932::encode(text);
    for (int start = 1; start <= bytes.size() + 1; ++start)
        for (int count = 1; count <= 3; ++count) {
            const QString slice = Cp932::byteSlice(text, start, count);
            QCOMPARE(Cp932::encode(slice), bytes.mid(start - 1, count));
        }
}

void TestPlatform::propertyBag() {
    PropertyBag bag{{u"Keta"_qs, 3}, {u"DegitSize"_qs, 2}};
    QCOMPARE(bag.read(u"keta"_qs, 4).toInt(), 3);
    QCOMPARE(bag.read(u"DEGITSIZE"_qs, 0).toInt(), 2);
    QCOMPARE(bag.read(u"DegitStyle"_qs, 0).toInt(), 0); // missing: the default
    bag.write(u"KETA"_qs, 4, 4);                          // the default: not written
    QVERIFY(!bag.contains(u"Keta"_qs));
    bag.write(u"ZeroMode"_qs, 2, 0);
    QVERIFY(bag.contains(u"zeromode"_qs));
    QCOMPARE(bag.size(), 2);
    QVERIFY(bag.keys().contains(u"ZeroMode"_qs));
}

void TestPlatform::typedReads_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("int16");   // ReadInt16 with default -7
    QTest::addColumn<qint64>("colour"); // ReadColour with default 0x123
    QTest::addColumn<bool>("boolean"); // ReadBool with default true
    QTest::newRow("missing") << QVariant() << -7 << qint64(0x123) << true;
    QTest::newRow("number") << QVariant(300) << 300 << qint64(300) << true;
    QTest::newRow("zero") << QVariant(0) << 0 << qint64(0) << false;
    QTest::newRow("text of a number") << QVariant(u"2"_qs) << 2 << qint64(2) << true;
    QTest::newRow("fraction rounds") << QVariant(2.6) << 3 << qint64(3) << true;
    QTest::newRow("beyond 16 bits") << QVariant(70000) << -7 << qint64(70000) << true;
    QTest::newRow("negative colour") << QVariant(-1) << -1 << qint64(0xFFFFFFFF) << true;
    QTest::newRow("beyond 32 bits") << QVariant(qint64(1) << 33) << -7 << qint64(0x123) << true;
    QTest::newRow("not a number") << QVariant(u"grey"_qs) << -7 << qint64(0x123) << true;
    QTest::newRow("Boolean false") << QVariant(false) << -7 << qint64(0x123) << false;
}

void TestPlatform::typedReads() {
    QFETCH(QVariant, stored);
    QFETCH(int, int16);
    QFETCH(qint64, colour);
    QFETCH(bool, boolean);
    PropertyBag bag;
    if (stored.isValid()) bag.write(u"P"_qs, stored);
    QCOMPARE(int(bag.readInt16(u"p"_qs, -7)), int16);
    QCOMPARE(qint64(bag.readColor(u"p"_qs, 0x123)), colour);
    QCOMPARE(bag.readBool(u"p"_qs, true), boolean);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
