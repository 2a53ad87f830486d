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
        r.fixedDate = u"2024/03/05"_qs;
        const QByteArray bytes = SettingsCodec::encode(r);
        QCOMPARE(bytes.size(), 402);
        QCOMPARE(bytes.toHex(' '), factoryFile().toHex(' '));
        QVERIFY(SettingsCodec::decode(bytes).record == r);
        r.fixedDate.clear();
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
        r.fareFolder = folder;
        const QByteArray file = SettingsCodec::encode(r);
        QCOMPARE(file.left(bytes.size()).toHex(' '), bytes.toHex(' '));
        QCOMPARE(file.size(), 392 + bytes.size() - 2);
        QCOMPARE(SettingsCodec::decode(file).record.fareFolder, folder);
    }

    void everyFieldRoundTrips() {
        const SettingsRecord r = unusualSettings(u"C:\\fare"_qs);
        const QByteArray bytes = SettingsCodec::encode(r);
        const SettingsCodec::Decoded back = SettingsCodec::decode(bytes);
        QVERIFY(back.record == r);
        QVERIFY(!back.problem);
        QCOMPARE(back.fieldsTaken, SettingsCodec::fieldCount());
        QCOMPARE(SettingsCodec::encode(back.record), bytes);
        // Block 10's count is not read (24 cells follow whatever it says), nor
        // anything after the last cell.
        for (const int count : {23, 300}) {
            const QByteArray other = storedWith(r, "", count) + "extra bytes"; // "": block 10
            QVERIFY(SettingsCodec::decode(other).record == r);
        }
    }

    // Where each field lies, byte by byte: a file written field after field
    // in the order the layout gives, each with a value of its own, reads into
    // the fields it names.
    void layout() {
        QByteArray b;
        const auto i16 = [&](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
        const auto i32 = [&](qint64 v) { i16(int(v & 0xFFFF)); i16(int((v >> 16) & 0xFFFF)); };
        const auto text = [&](const char* t) { i16(int(qstrlen(t))); b += t; };
        text("fares"); text("tape");                                   // block 1
        i16(2); i32(0x11); i32(0x12); i32(0x13); i16(5); i16(1);         // block 2
        i16(0); i16(-1); i16(-1); i16(0); i16(0); i16(-1); i16(-1); i16(0);
        text("off"); text("on1"); text("on2");
        i32(0x21); i32(0x22); i32(0x23);                                 // block 3
        i16(1); i16(3); i16(2); i16(1); i16(4); i16(1); i16(5); i16(1); i16(99); i16(6);
        i32(0x31); i32(0x32); i16(2); i16(1); i16(1); i32(0x33); i16(3); i16(2); // block 4
        text("route"); text("key"); i16(0); i16(-1); i16(-1); i16(0);    // block 5
        text("step"); i16(9); text("s1"); text("s2"); text("s3");
        i16(0); i16(-1); i16(0); i16(-1); text("tape"); text("t1"); text("t2"); text("t3");
        i16(1); text("plugin"); i16(0); i16(-1); i16(0); text("2024/01/02"); // block 6
        i16(1); i32(100); i32(200); i16(1); i16(1); i32(-15); i32(30);   // block 7
        i32(45); i32(60);                                                // block 8
        for (int i = 0; i < 17; ++i) i32(0x90 + i);                      // block 9
        i16(24);                                                         // block 10
        for (int i = 0; i < 24; ++i) { i16(i); i16(i % 4); i16(-i); }    // block 11
        const SettingsCodec::Decoded d = SettingsCodec::decode(b);
        QVERIFY(!d.problem);
        const SettingsRecord& r = d.record;
        QCOMPARE(r.fareFolder + r.announcementFolder, u"farestape"_qs);
        QCOMPARE(r.showTicketNumbers, Check::Greyed);
        QCOMPARE(r.ticketNumberColors, (std::array<BgrColor, 3>{0x11, 0x12, 0x13}));
        QCOMPARE(r.ticketNumberLayout, ListPosition(5));
        QCOMPARE(r.zeroPadTicketNumbers, Check::Checked);
        QCOMPARE(r.panelPictures, PanelPictures::PerMode);
        QCOMPARE(r.modePictures[0], ModePicture::BuiltIn);
        QCOMPARE(r.modePictures[1], ModePicture::User);
        QCOMPARE(r.modePictures[2], ModePicture::BuiltIn);
        QCOMPARE(r.modePictureFiles, (std::array<QString, 3>{u"off"_qs, u"on1"_qs, u"on2"_qs}));
        QCOMPARE(r.digitBackColor + r.digitUnlitColor * 0x100 + r.digitLitColor * 0x10000, 0x232221u);
        QCOMPARE(r.infoSection, (InfoDigit{Check::Checked, 3}));
        QCOMPARE(r.infoSectionFromZero, Check::Greyed);
        QCOMPARE(r.infoTicket, (InfoDigit{Check::Checked, 4}));
        QCOMPARE(r.infoRoute, (InfoDigit{Check::Checked, 5}));
        QCOMPARE(r.infoColumn, (InfoDigit{Check::Checked, 6}));
        QCOMPARE(r.infoColumnNumber, ListPosition(99));
        QCOMPARE(r.stripBackColor + r.stripDotColor * 0x100 + r.prefixColor * 0x10000, 0x333231u);
        QCOMPARE(r.stripFont, ListPosition(2));
        QCOMPARE(r.stripBold, Check::Checked);
        QCOMPARE(r.prefixMode, ListPosition(1));
        QCOMPARE(r.prefixFont, ListPosition(3));
        QCOMPARE(r.prefixBold, Check::Greyed);
        QCOMPARE(r.routeSetSound + r.keySound + r.stepSound, u"routekeystep"_qs);
        QCOMPARE(r.stepSoundChoice, StepSoundChoice::ByColumn);
        QCOMPARE(r.stepSoundTiming, SoundTiming::Sync);
        QCOMPARE(r.stepSoundColumn, ListPosition(9));
        QCOMPARE(r.stepSoundsByValue, (std::array<QString, 3>{u"s1"_qs, u"s2"_qs, u"s3"_qs}));
        QCOMPARE(r.tapeSoundChoice, TapeSoundChoice::ByFlag);
        QCOMPARE(r.tapeSoundTiming, SoundTiming::Async);
        QCOMPARE(r.tapeSound, u"tape"_qs);
        QCOMPARE(r.tapeSoundsByFlag, (std::array<QString, 3>{u"t1"_qs, u"t2"_qs, u"t3"_qs}));
        QCOMPARE(r.useTicketPreview, Check::Checked);
        QCOMPARE(r.ticketPlugin, u"plugin"_qs);
        QCOMPARE(r.ticketDate, TicketDate::AtRouteSet);
        QCOMPARE(r.fixedDate, u"2024/01/02"_qs);
        QVERIFY(r.keypadBehind && r.lateNight && r.previewOpen);
        QCOMPARE(QList<qint32>({r.scrollSpeed, r.scrollWait, r.consoleLeft, r.consoleTop, r.boardLeft, r.boardTop}),
                 QList<qint32>({100, 200, -15, 30, 45, 60}));
        QCOMPARE(r.customColors[16], BgrColor(0xA0));
        QCOMPARE(r.digitCells[23], (DigitCellOptions{23, 3, -23}));
        QCOMPARE(SettingsCodec::encode(r), b); // and written back the same
    }

    void shortFile_data() {
        QTest::addColumn<int>("cut"); // bytes kept
        QTest::newRow("empty file") << 0;
        QTest::newRow("inside the first text") << 5;
        QTest::newRow("after block 1") << 9 + 2 + 23;
        QTest::newRow("one byte short") << -1;
    }

    void shortFile() {
        QFETCH(int, cut);
        const SettingsRecord full = unusualSettings(u"C:\\fare"_qs);
        const QByteArray bytes = SettingsCodec::encode(full);
        try {
            SettingsCodec::decode(cut < 0 ? bytes.left(bytes.size() + cut) : bytes.left(cut));
            QFAIL("no error raised");
        } catch (const K40Error& e) {
            QCOMPARE(e.number(), 62);
        }
        // A text whose length runs past the end of the file.
        QByteArray lying = bytes;
        lying[0] = char(0xFF);
        lying[1] = char(0x7F);
        QVERIFY_THROWS_EXCEPTION(K40Error, SettingsCodec::decode(lying));
    }
};

QTEST_GUILESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
