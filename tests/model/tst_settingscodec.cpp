// The byte layout of the settings file.
#include "SettingsSamples.h"
#include "model/K40Error.h"
#include "model/SettingsRecord.h"
#include <QtTest>

// clang-format off: the bytes are laid out as the file holds them.
static QByteArray hex(const char* spaced) { return QByteArray::fromHex(spaced); } // skips blanks

// The settings file of the factory state with FixedDate 2024/03/05, block by block.
static QByteArray factoryFile() {
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
           + QByteArray(22 + 8 + 68, '\0')                             // blocks 7, 8 and 9
           + hex("18 00") + QByteArray(144, '\0');                     // blocks 10 (24) and 11
}
// clang-format on

class TestSettingsCodec : public QObject {
    Q_OBJECT
private slots:
    // The factory state with FixedDate 2024/03/05 and the fare folder of the row.
    void factoryState_data() {
        QTest::addColumn<QString>("folder"); QTest::addColumn<QByteArray>("text"); // as stored
        QTest::newRow("empty: 402 bytes") << QString() << hex("00 00");
        QTest::newRow("C:\\fare") << u"C:\\fare"_qs << hex("07 00 43 3A 5C 66 61 72 65");
        QTest::newRow("停留所 in CP932") << u"停留所"_qs << hex("06 00 92 E2 97 AF 8F 8A");
    }
    void factoryState() {
        QFETCH(QString, folder); QFETCH(QByteArray, text);
        SettingsRecord r; r.fixedDate = u"2024/03/05"_qs, r.fareFolder = folder;
        const QByteArray bytes = SettingsCodec::encode(r);
        QCOMPARE(bytes.toHex(' '), (text + factoryFile().mid(2)).toHex(' '));
        QVERIFY(SettingsCodec::decode(bytes).record == r);
        r.fixedDate.clear(); QCOMPARE(SettingsCodec::encode(r).size(), 390 + text.size());
    }
    // A file written field by field in the layout's order reads into the fields it names.
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
        const SettingsCodec::Decoded d = SettingsCodec::decode(b); QVERIFY(!d.problem);
        const SettingsRecord& r = d.record;
        const QStringList texts{r.fareFolder, r.announcementFolder, r.modePictureFiles[0],
                                r.modePictureFiles[1], r.modePictureFiles[2], r.routeSetSound,
                                r.keySound, r.stepSound, r.stepSoundsByValue[0],
                                r.stepSoundsByValue[1], r.stepSoundsByValue[2], r.tapeSound,
                                r.tapeSoundsByFlag[0], r.tapeSoundsByFlag[1], r.tapeSoundsByFlag[2],
                                r.ticketPlugin, r.fixedDate};
        QCOMPARE(texts.join(u' '), u"fares tape off on1 on2 route key step s1 s2 s3 tape t1 t2 t3 "
                                   u"plugin 2024/01/02"_qs);
        const QList<BgrColor> colors{r.ticketNumberColors[0], r.ticketNumberColors[1],
                                     r.ticketNumberColors[2], r.digitBackColor, r.digitUnlitColor,
                                     r.digitLitColor, r.stripBackColor, r.stripDotColor,
                                     r.prefixColor, r.customColors[16]};
        QCOMPARE(colors, QList<BgrColor>({0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x31, 0x32, 0x33, 0xA0}));
        // The 16-bit values in file order; a list without a selection reads -1.
        const auto n = [](const auto& v) -> int {
            if constexpr (requires { v.has_value(); }) return v ? int(*v) : -1;
            else return int(v);
        };
        const QList<int> values{n(r.showTicketNumbers), n(r.ticketNumberLayout),
            n(r.zeroPadTicketNumbers), n(r.panelPictures), n(r.modePictures[0]),
            n(r.modePictures[1]), n(r.modePictures[2]), n(r.infoSection.on), n(r.infoSection.cell),
            n(r.infoSectionFromZero), n(r.infoTicket.on), n(r.infoTicket.cell), n(r.infoRoute.on),
            n(r.infoRoute.cell), n(r.infoColumn.on), n(r.infoColumnNumber), n(r.infoColumn.cell),
            n(r.stripFont), n(r.stripBold), n(r.prefixMode), n(r.prefixFont), n(r.prefixBold),
            n(r.stepSoundChoice), n(r.stepSoundTiming), n(r.stepSoundColumn),
            n(r.tapeSoundChoice), n(r.tapeSoundTiming), n(r.useTicketPreview), n(r.ticketDate),
            n(r.keypadBehind), n(r.lateNight), n(r.previewOpen)};
        QCOMPARE(values, QList<int>({2, 5, 1, 1, 0, 1, 0, 1, 3, 2, 1, 4, 1, 5, 1, 99, 6, 2, 1, 1, 3,
                                     2, 1, 0, 9, 1, 1, 1, 1, 1, 1, 1}));
        QCOMPARE(QList<qint32>({r.scrollSpeed, r.scrollWait, r.consoleLeft, r.consoleTop,
                                r.boardLeft, r.boardTop}), QList<qint32>({100, 200, -15, 30, 45, 60}));
        QCOMPARE(r.digitCells[23], (DigitCellOptions{23, 3, -23}));
        QCOMPARE(d.fieldsTaken, SettingsCodec::fieldCount());
        QCOMPARE(SettingsCodec::encode(r), b); // and written back the same
        // Neither block 10's count (24 cells follow whatever it says) nor bytes after them are
        // read.
        for (const int count : {23, 300})
            QVERIFY(SettingsCodec::decode(storedWith(r, "", count) + "extra bytes").record == r);
    }
    void shortFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray full = SettingsCodec::encode(unusualSettings(u"C:\\fare"_qs));
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("inside the first text") << full.left(5);
        QTest::newRow("after block 1") << full.left(9 + 2 + 23);
        QTest::newRow("one byte short") << full.chopped(1);
        QTest::newRow("a text running past the end") << QByteArray("\xFF\x7F") + full.mid(2);
    }
    void shortFile() {
        QFETCH(QByteArray, bytes);
        try {
            SettingsCodec::decode(bytes); QFAIL("read whole");
        } catch (const K40Error& e) {
            QCOMPARE(e.number(), 62);
        }
    }
};
QTEST_GUILESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
