// The settings file as the running system writes and reads it.
#include "K40Rig.h"
#include "board/BoardStartup.h"
#include "options/ColorButton.h"
#include "SettingsSamples.h"
#include "model/SettingsRecord.h"
#include "app/SettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void firstStartWrites402Bytes();
    void everyFieldComesBack();
    void loadedSettingsReachTheDisplays();
    void badLayoutStopsApplying();
    void shortFileShowsTheErrorBox();
    void failedSaveKeepsThePreviousFile();
};

void TestSettingsFile::firstStartWrites402Bytes() {
    K40Rig rig;
    rig.clock.current = QDateTime(QDate(2024, 3, 5), QTime(8, 0));
    rig.start();
    QVERIFY(rig.messages.shown.isEmpty());
    rig.app->saveSettings();
    const QByteArray bytes = readFile(rig.path(u"K40.in4"_qs));
    QCOMPARE(bytes.size(), 402);
    QVERIFY(bytes.contains(QByteArray("\x0A\x00" "2024/03/05", 12)));
    SettingsRecord r;
    SettingsCodec::decode(bytes, r);
    QCOMPARE(r.FixedDate, u"2024/03/05"_qs);
    QCOMPARE(r.UseSeiriNum, qint16(1));
    QCOMPARE(r.SeiriNumColorOff, 0xFFFFFF);
    QCOMPARE(r.ChimeiFontMode, qint16(-1));
    QCOMPARE(r.StepSoundAsync, qint16(-1));
}

void TestSettingsFile::everyFieldComesBack() {
    QByteArray written;
    QString folder;
    {
        K40Rig first;
        folder = first.dir.path();
        const SettingsRecord r = unusualSettings(folder);
        first.writeFile(u"K40.in4"_qs, SettingsCodec::encode(r));
        written = readFile(first.path(u"K40.in4"_qs));
        first.start();
        QVERIFY2(first.messages.shown.isEmpty(),
                 qPrintable(first.messages.shown.value(0).text));
        first.app->saveSettings();
        QCOMPARE(readFile(first.path(u"K40.in4"_qs)).toHex(' '), written.toHex(' '));
    }
}

void TestSettingsFile::loadedSettingsReachTheDisplays() {
    K40Rig rig;
    rig.writeFile(u"K40.in4"_qs, SettingsCodec::encode(unusualSettings(rig.dir.path())));
    rig.start();
    QCOMPARE(rig.panel().pos(), QPoint(10, 20));
    QCOMPARE(rig.ctl().pos(), QPoint(100, 200));
    QCOMPARE(rig.ctl().width(), 600);                     // preview open
    QCOMPARE(rig.ctl().frontPanelMode, qint16(1));
    QCOMPARE(rig.panel().ChimeiCtl->speed(), qint16(2000));
    QCOMPARE(rig.panel().ChimeiCtl->scrollStartWait(), 3000);
    QCOMPARE(rig.panel().ChimeiCtl->prefixMode(), qint16(2));
    QCOMPARE(rig.panel().ChimeiCtl->fontMode(), qint16(4));
    QVERIFY(rig.panel().ChimeiCtl->prefixBold());
    QCOMPARE(rig.panel().lblSeiriNum[1]->text(), u"券なし"_qs);
    QVERIFY(!rig.panel().lblSeiriNum[1]->isVisibleTo(&rig.panel())); // numbers off
    for (int i = 1; i <= 24; ++i) {
        SegmentDisplay* d = rig.panel().Degit[size_t(i)];
        QCOMPARE(d->shift(), qint16((i - 1) % 3));
        QCOMPARE(d->zeroMode(), qint16((i - 1) % 4));
        QCOMPARE(d->fillZero(), qint16(1 - i));
        QCOMPARE(d->backColor(), BgrColor(0x112233));
        QCOMPARE(d->value().toText(), u" "_qs);
    }
    QCOMPARE(rig.panel().TimeDegit[1]->litColor(), BgrColor(0x778899));
    QCOMPARE(rig.opt().Label10->text(), u"2023/12/24"_qs);
    QCOMPARE(rig.opt().CustomColors[16], 0x030201 * 17);
}

void TestSettingsFile::badLayoutStopsApplying() {
    K40Rig rig;
    SettingsRecord r = unusualSettings(rig.dir.path());
    r.SeiriNumStyle = 12;
    rig.writeFile(u"K40.in4"_qs, SettingsCodec::encode(r));
    rig.start();
    QCOMPARE(rig.messages.shown.size(), 1);
    QCOMPARE(rig.messages.shown[0].text,
             u"エラー Code:380\r\n内容:プロパティの値が不正です。"_qs);
    QCOMPARE(rig.messages.shown[0].title, u"カルテラVer4"_qs);
    QCOMPARE(rig.messages.shown[0].icon, MsgIcon::None);
    // What came before the layout is applied ...
    QCOMPARE(rig.opt().Text2[0]->text(), rig.dir.path());
    QVERIFY(!rig.opt().Check1->isChecked());
    QCOMPARE(rig.opt().Command5[2]->backColor(), BgrColor(0x070809));
    QCOMPARE(rig.panel().Degit[4]->zeroMode(), qint16(3));
    QCOMPARE(rig.panel().ChimeiCtl->prefixMode(), qint16(2));
    // ... what comes after it is not, and the options are not applied.
    QCOMPARE(rig.opt().Combo2->currentIndex(), 0);
    QVERIFY(!rig.opt().Check2->isChecked());
    QCOMPARE(rig.opt().Command8[0]->backColor(), BgrColor(0x808080));
    QCOMPARE(rig.ctl().frontPanelMode, qint16(0));
    QCOMPARE(rig.panel().pos(), QPoint(0, 0));
    QVERIFY(rig.panel().lblSeiriNum[1]->isVisibleTo(&rig.panel()));
}

void TestSettingsFile::shortFileShowsTheErrorBox() {
    K40Rig rig;
    const QByteArray full = SettingsCodec::encode(unusualSettings(rig.dir.path()));
    rig.writeFile(u"K40.in4"_qs, full.left(100));
    rig.start();
    QCOMPARE(rig.messages.shown.size(), 1);
    QVERIFY(rig.messages.shown[0].text.startsWith(u"エラー Code:62\r\n内容:"_qs));
    QCOMPARE(rig.opt().Text2[0]->text(), QString()); // nothing applied
}

void TestSettingsFile::failedSaveKeepsThePreviousFile() {
    K40Rig rig;
    rig.start();
    rig.app->saveSettings();
    const QByteArray before = readFile(rig.path(u"K40.in4"_qs));
    QVERIFY(!before.isEmpty());
    // A text too long for its length field fails the save midway.
    rig.opt().Text2[1]->setText(QString(70000, u'x'));
    rig.app->saveSettings();
    QCOMPARE(rig.messages.shown.size(), 1);
    QVERIFY(rig.messages.shown[0].text.startsWith(u"エラー Code:6\r\n"_qs));
    QCOMPARE(readFile(rig.path(u"K40.in4"_qs)), before);
}

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
