// The byte layout of the settings file.
#include "SettingsSamples.h"
#include "model/K40Error.h"
#include "model/SettingsRecord.h"

#include <QtTest>

namespace {

// clang-format off: the bytes are laid out as the file holds them.
QByteArray hex(const char* spaced) { return QByteArray::fromHex(QByteArray(spaced).replace(' ', "")); }

// A settings file of the factory state with FixedDate 2024/03/05, written out
// block by block.
QByteArray factoryFile() {
    return hex("00 00 00 00")                                          // block 1: two empty texts
           + hex("01 00 FF FF FF 00 C0 FF C0 00 C0 FF C0 00 00 00 00 00" // block 2
                 "FF FF 00 00 FF FF 00 00 FF FF 00 00 FF FF 00 00"
                 "00 00 00 00 00 00")
           + hex("80 80 80 00 96 96 96 00 F8 D2 72 00"                  // block 3
                 "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")
           + hex("80 80 80 00 FF FF 00 00 FF FF 00 00 FF FF"            // block 4
                 "FF FF 00 00 FF FF 00 00")
           + hex("00 00 00 00 FF FF 00 00 00 00 FF FF 00 00 00 00"      // block 5
                 "00 00 00 00 00 00 FF FF 00 00 FF FF 00 00"
                 "00 00 00 00 00 00 00 00")
           + hex("00 00 00 00 FF FF 00 00 00 00"                         // block 6
                 "0A 00 32 30 32 34 2F 30 33 2F 30 35")
           + QByteArray(22, '\0')                                       // block 7
           + QByteArray(8, '\0')                                        // block 8
           + QByteArray(68, '\0')                                       // block 9
           + hex("18 00")                                               // block 10: 24
           + QByteArray(144, '\0');                                     // block 11
}
// clang-format on

} // namespace

class TestSettingsCodec : public QObject {
    Q_OBJECT
private slots:
    void factoryStateIs402Bytes() {
        SettingsRecord r;
        r.FixedDate = u"2024/03/05"_qs;
        const QByteArray bytes = SettingsCodec::encode(r);
        QCOMPARE(bytes.size(), 402);
        QCOMPARE(bytes.toHex(' '), factoryFile().toHex(' '));
        r.FixedDate.clear();
        QCOMPARE(SettingsCodec::encode(r).size(), 392);
    }

    void texts_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("C:\\fare") << u"C:\\fare"_qs << hex("07 00 43 3A 5C 66 61 72 65");
        QTest::newRow("停留所") << u"停留所"_qs << hex("06 00 92 E2 97 AF 8F 8A");
        QTest::newRow("empty") << QString() << hex("00 00");
    }

    void texts() {
        QFETCH(QString, folder);
        QFETCH(QByteArray, bytes);
        SettingsRecord r;
        r.FareDataDir = folder;
        const QByteArray file = SettingsCodec::encode(r);
        QCOMPARE(file.left(bytes.size()).toHex(' '), bytes.toHex(' '));
        QCOMPARE(file.size(), 392 + bytes.size() - 2);
        SettingsRecord back;
        SettingsCodec::decode(file, back);
        QCOMPARE(back.FareDataDir, folder);
    }

    void everyFieldRoundTrips() {
        const SettingsRecord r = unusualSettings(u"C:\\fare"_qs);
        const QByteArray bytes = SettingsCodec::encode(r);
        SettingsRecord back;
        SettingsCodec::decode(bytes, back);
        QVERIFY(back == r);
        QCOMPARE(SettingsCodec::encode(back), bytes);
        // A field in the middle of the file lands where the layout says: block 7
        // starts 22 bytes before block 8 + 9 + 10 + 11 (222 bytes) from the end.
        const QByteArray tail = bytes.right(22 + 8 + 68 + 2 + 144);
        QCOMPARE(tail.left(10).toHex(' '), QByteArray("01 00 d0 07 00 00 b8 0b 00 00"));
        QCOMPARE(tail.mid(14, 8).toHex(' '),
                 QByteArray("dc 05 00 00 b8 0b 00 00")); // 1500, 3000 twips
        QCOMPARE(tail.mid(22 + 8 + 68, 2).toHex(' '), QByteArray("18 00"));
        QCOMPARE(tail.right(6).toHex(' '), QByteArray("02 00 03 00 e9 ff")); // cell 24: 2, 3, -23
        // Block 10's count is not read (24 cells follow whatever it says), nor
        // anything after the last cell.
        for (const int count : {23, 300}) {
            QByteArray other = bytes;
            other[bytes.size() - 144 - 2] = char(count & 0xFF);
            other[bytes.size() - 144 - 1] = char(count >> 8);
            SettingsRecord fromOther;
            SettingsCodec::decode(other + "extra bytes", fromOther);
            QVERIFY(fromOther == r);
        }
    }

    void shortFile_data() {
        QTest::addColumn<int>("cut");         // bytes kept
        QTest::addColumn<bool>("tapeFolder"); // whether TapeDataDir was read before the end
        QTest::newRow("empty file") << 0 << false;
        QTest::newRow("inside the first text") << 5 << false;
        QTest::newRow("after block 1") << 9 + 2 + 23 << true;
        QTest::newRow("one byte short") << -1 << true;
    }

    void shortFile() {
        QFETCH(int, cut);
        QFETCH(bool, tapeFolder);
        const SettingsRecord full = unusualSettings(u"C:\\fare"_qs);
        const QByteArray bytes = SettingsCodec::encode(full);
        SettingsRecord r;
        try {
            SettingsCodec::decode(cut < 0 ? bytes.left(bytes.size() + cut) : bytes.left(cut), r);
            QFAIL("no error raised");
        } catch (const K40Error& e) {
            QCOMPARE(e.number(), 62);
        }
        QCOMPARE(r.TapeDataDir == full.TapeDataDir, tapeFolder);
        // A text whose length runs past the end of the file.
        QByteArray lying = bytes;
        lying[0] = char(0xFF);
        lying[1] = char(0x7F);
        SettingsRecord l;
        QVERIFY_THROWS_EXCEPTION(K40Error, SettingsCodec::decode(lying, l));
    }
};

QTEST_GUILESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
