// The byte layout of the settings file.
#include "platform/K40Error.h"
#include "settings/SettingsRecord.h"

#include <QtTest>

namespace {

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

SettingsRecord everythingChanged() {
    SettingsRecord r;
    r.FareDataDir = u"C:\\fare"_qs;
    r.TapeDataDir = u"/home/運転士/放送"_qs;
    r.UseSeiriNum = 0;
    r.SeiriNumColorOff = 0x123456;
    r.SeiriNumColorOn1 = 0x00FF00;
    r.SeiriNumColorOn2 = 0x0000FF;
    r.SeiriNumStyle = 7;
    r.SeiriNumZeroPad = 1;
    r.PanelAuto = 0;
    r.PanelManual = -1;
    r.PanelOffBuiltIn = 0;
    r.PanelOffUser = -1;
    r.PanelOn1BuiltIn = 0;
    r.PanelOn1User = -1;
    r.PanelOn2BuiltIn = 0;
    r.PanelOn2User = -1;
    r.PanelOffFile = u"off.bmp"_qs;
    r.PanelOn1File = u"on1.gif"_qs;
    r.PanelOn2File = u"on2.jpg"_qs;
    r.DegitBackColor = 1;
    r.DegitBaseForeColor = 2;
    r.DegitForeColor = 3;
    r.InfoSectionOn = 1;
    r.InfoSectionCell = 23;
    r.InfoSectionFromZero = 1;
    r.InfoSeiriOn = 1;
    r.InfoSeiriCell = 22;
    r.InfoRouteOn = 1;
    r.InfoRouteCell = 21;
    r.InfoColumnOn = 1;
    r.InfoColumnNo = 149;
    r.InfoColumnCell = 20;
    r.ChimeiBackColor = 4;
    r.ChimeiForeColor = 5;
    r.ChimeiFontMode = 4;
    r.ChimeiFontBold = 1;
    r.ChimeiTsugiwaMode = 2;
    r.ChimeiTsugiwaColor = 6;
    r.ChimeiTsugiwaFontMode = 3;
    r.ChimeiTsugiwaBold = 1;
    r.RouteSetSound = u"route.wav"_qs;
    r.ResetSound = u"key.wav"_qs;
    r.StepSoundAlways = 0;
    r.StepSoundByColumn = -1;
    r.StepSoundSync = -1;
    r.StepSoundAsync = 0;
    r.StepSoundFile = u"step.wav"_qs;
    r.StepSoundColumn = 29;
    r.StepSound1 = u"1.wav"_qs;
    r.StepSound2 = u"2.wav"_qs;
    r.StepSound3 = u"3.mid"_qs;
    r.TapeSoundAlways = 0;
    r.TapeSoundByFlag = -1;
    r.TapeSoundSync = 0;
    r.TapeSoundAsync = -1;
    r.TapeSoundFile = u"ピンポン.wav"_qs;
    r.TapeSound1 = u"a.wav"_qs;
    r.TapeSound2 = u"b.wav"_qs;
    r.TapeSound3 = u"c.wav"_qs;
    r.UseSeiriPrev = 1;
    r.SeiriPlgFile = u"みなと.4SP"_qs;
    r.DateEachPrint = 0;
    r.DateAtRouteSet = 0;
    r.DateFixed = -1;
    r.FixedDate = u"2024/03/07"_qs;
    r.CtrlPage = 1;
    r.ScrollSpeed = 2000;
    r.ScrollWait = 3000;
    r.LateNight = 1;
    r.PreviewOpen = 1;
    r.CtrlLeft = -1500;
    r.CtrlTop = 16200;
    r.PanelLeft = 15;
    r.PanelTop = -30;
    for (int i = 0; i < 17; ++i) r.CustomColors[size_t(i)] = 0x010101 * i;
    for (int i = 0; i < 24; ++i)
        r.DegitCells[size_t(i)] = {qint16(i % 3), qint16(i % 4), qint16(-i)};
    return r;
}

} // namespace

class TestSettingsCodec : public QObject {
    Q_OBJECT
private slots:
    void factoryStateIs402Bytes();
    void texts_data();
    void texts();
    void everyFieldRoundTrips();
    void blockTenIsIgnored_data();
    void blockTenIsIgnored();
    void shortFile_data();
    void shortFile();
};

void TestSettingsCodec::factoryStateIs402Bytes() {
    SettingsRecord r;
    r.FixedDate = u"2024/03/05"_qs;
    const QByteArray bytes = SettingsCodec::encode(r);
    QCOMPARE(bytes.size(), 402);
    QCOMPARE(bytes.toHex(' '), factoryFile().toHex(' '));
    r.FixedDate.clear();
    QCOMPARE(SettingsCodec::encode(r).size(), 392);
}

void TestSettingsCodec::texts_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("C:\\fare") << u"C:\\fare"_qs << hex("07 00 43 3A 5C 66 61 72 65");
    QTest::newRow("停留所") << u"停留所"_qs << hex("06 00 92 E2 97 AF 8F 8A");
    QTest::newRow("empty") << QString() << hex("00 00");
}

void TestSettingsCodec::texts() {
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

void TestSettingsCodec::everyFieldRoundTrips() {
    const SettingsRecord r = everythingChanged();
    const QByteArray bytes = SettingsCodec::encode(r);
    SettingsRecord back;
    SettingsCodec::decode(bytes, back);
    QVERIFY(back == r);
    QCOMPARE(SettingsCodec::encode(back), bytes);
    // A field in the middle of the file lands where the layout says: block 7
    // starts 22 bytes before block 8 + 9 + 10 + 11 (222 bytes) from the end.
    const QByteArray tail = bytes.right(22 + 8 + 68 + 2 + 144);
    QCOMPARE(tail.left(10).toHex(' '), QByteArray("01 00 d0 07 00 00 b8 0b 00 00"));
    QCOMPARE(tail.mid(22 + 8 + 68, 2).toHex(' '), QByteArray("18 00"));
    QCOMPARE(tail.right(6).toHex(' '), QByteArray("02 00 03 00 e9 ff")); // cell 24: 2, 3, -23
}

void TestSettingsCodec::blockTenIsIgnored_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("0") << 0;
    QTest::newRow("23") << 23;
    QTest::newRow("300") << 300;
    QTest::newRow("-1") << -1;
}

void TestSettingsCodec::blockTenIsIgnored() {
    QFETCH(int, count);
    const SettingsRecord r = everythingChanged();
    QByteArray bytes = SettingsCodec::encode(r);
    const qsizetype at = bytes.size() - 144 - 2;
    bytes[at] = char(count & 0xFF);
    bytes[at + 1] = char((count >> 8) & 0xFF);
    SettingsRecord back;
    SettingsCodec::decode(bytes + "extra bytes", back);
    QVERIFY(back == r);
}

void TestSettingsCodec::shortFile_data() {
    QTest::addColumn<int>("cut");        // bytes kept
    QTest::addColumn<bool>("tapeFolder"); // whether TapeDataDir was read before the end
    QTest::newRow("empty file") << 0 << false;
    QTest::newRow("inside the first text") << 5 << false;
    QTest::newRow("after block 1") << 9 + 2 + 23 << true;
    QTest::newRow("one byte short") << -1 << true;
}

void TestSettingsCodec::shortFile() {
    QFETCH(int, cut);
    QFETCH(bool, tapeFolder);
    const SettingsRecord full = everythingChanged();
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

QTEST_GUILESS_MAIN(TestSettingsCodec)
#include "tst_settingscodec.moc"
