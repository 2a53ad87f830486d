// The console and the board together: start-up, keypad and lists, route
// setting with its lamp test, stepping with its sounds, display clear,
// backlight, preview switch, version box and the exit order.
#include "K40Rig.h"
#include "console/ConsoleWidgets.h"
#include "board/BoardStartup.h"
#include "options/ColorButton.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

namespace {

QStringList playsOn(const QStringList& commands, const QString& alias) {
    QStringList out;
    for (const QString& c : commands)
        if (c.endsWith(alias) || c.contains(alias + u' ')) out << c;
    return out;
}

} // namespace

class TestConsole : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void keypad_data();
    void keypad();
    void digitLists();
    void routeSetting();
    void routeSettingFailures_data();
    void routeSettingFailures();
    void stepping();
    void stepSounds_data();
    void stepSounds();
    void synchronousStepChangesFaresAfterTheSound();
    void unaddressableColumnIsReported();
    void lateNightShowsAtNextRedraw();
    void displayClear();
    void backlight();
    void userPictures_data();
    void userPictures();
    void fareCellOptions_data();
    void fareCellOptions();
    void clockDigits();
    void previewSwitchAndCopy();
    void versionBox();
    void optionsButton();
    void exitOrder_data();
    void exitOrder();
};

void TestConsole::startUp() {
    K40Rig rig;
    rig.start();
    QCOMPARE(rig.panel().windowTitle(), u"カルテラ - 型番:K40"_qs);
    QCOMPARE(rig.ctl().windowTitle(), u"集中操作盤"_qs);
    QVERIFY(rig.ctl().isVisible());
    QVERIFY(rig.panel().isVisible());
    QVERIFY(rig.opt().isHidden());
    QCOMPARE(rig.panel().pos(), QPoint(0, 0));
    QCOMPARE(rig.panel().size(), QSize(582, 292));
    QVERIFY(!rig.panel().mask().contains(QPoint(0, 0)));
    QVERIFY(rig.panel().mask().contains(QPoint(1, 0)));
    for (int i = 1; i <= 24; ++i) {
        QCOMPARE(rig.cell(i), u"0"_qs);
        QVERIFY(rig.panel().lblSeiriNum[size_t(i)]->isVisibleTo(&rig.panel()));
        QCOMPARE(BoardStartup::labelColour(*rig.panel().lblSeiriNum[size_t(i)]), BgrColor(0xC0FFC0));
    }
    QCOMPARE(rig.panel().lblSeiriNum[24]->text(), u"２４"_qs);
    for (QPushButton* b : rig.ctl().Command2) QVERIFY(!b->isEnabled());
    QVERIFY(!rig.ctl().Check1->isEnabled());
    QCOMPARE(rig.ctl().grpM_Tape->title(), u"音合使用可"_qs);
    QVERIFY(rig.ctl().grpM_Tape->isEnabled());
    QVERIFY(!rig.ctl().cmdTapeNext->isEnabled());
    QVERIFY(rig.messages.shown.isEmpty()); // no settings file: nothing said
    QVERIFY(!rig.panel().Timer1->isActive());
    rig.panel().close(); // the board is not closed by itself
    QVERIFY(rig.panel().isVisible());
    QVERIFY(rig.panel().TimeDegit[0]->isHidden());
}

void TestConsole::keypad_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("section");
    QTest::newRow("digits go to the section first") << QList<int>{1, 2, 3} << QString() << u"123"_qs;
    QTest::newRow("route of five digits") << QList<int>{10, 0, 0, 0, 1, 2, 7} << u"00012"_qs
                                          << QString();
    QTest::newRow("section of three digits") << QList<int>{11, 1, 2, 3, 4} << QString() << u"123"_qs;
    QTest::newRow("route key clears only the route") << QList<int>{10, 4, 11, 5, 10, 6}
                                                     << u"6"_qs << u"5"_qs;
}

void TestConsole::keypad() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, route);
    QFETCH(QString, section);
    K40Rig rig;
    rig.writeFile(u"key.wav"_qs, "RIFF");
    rig.start();
    rig.opt().txtSelectSound[1]->setText(rig.path(u"key.wav"_qs));
    for (int k : keys) rig.ctl().CommandButton1_Click(k);
    QCOMPARE(rig.ctl().Label2[0]->text(), route);
    QCOMPARE(rig.ctl().Label2[2]->text(), section);
    // Every key sounds on S1, also a key that is then ignored.
    QCOMPARE(playsOn(rig.sound.commands, u"K40S1"_qs).count(u"play K40S1 from 0"_qs),
             keys.size());
}

void TestConsole::digitLists() {
    K40Rig rig;
    rig.writeRoute(12, 8);
    rig.start();
    const int route[5] = {0, 0, 0, 1, 2}, section[3] = {0, 0, 5};
    for (int i = 0; i < 5; ++i) rig.ctl().List2[size_t(i)]->setCurrentRow(route[i]);
    for (int i = 0; i < 3; ++i) rig.ctl().List3[size_t(i)]->setCurrentRow(section[i]);
    rig.ctl().Command1_Click(0);
    QCOMPARE(rig.ctl().routeState.routeText, u"00012"_qs);
    QCOMPARE(rig.ctl().routeState.startSection, qint16(5));
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(5));
    // Front panel switching: double-clicking the keypad sends it behind.
    rig.ctl().Frame1_DblClick(1);
    QCOMPARE(rig.ctl().frontPanelMode, qint16(1));
}

void TestConsole::routeSetting() {
    K40Rig rig;
    rig.writeRoute(12, 6);
    rig.writeFile(u"route.wav"_qs, "RIFF");
    rig.start();
    rig.opt().txtSelectSound[0]->setText(rig.path(u"route.wav"_qs));
    rig.opt().Combo6->setCurrentIndex(1);
    rig.opt().SetProp();
    QStringList duringLamp;
    bool stripDuringLamp = false;
    rig.clock.onWait = [&](int ms) {
        if (ms == 0) return; // the asynchronous route-setting sound yields
        for (int i = 1; i <= 24; ++i) duringLamp << rig.cell(i);
        stripDuringLamp = rig.strip() == rig.stripFor(u"系統選別中"_qs, 0);
    };
    rig.setRoute(u"012"_qs, u"1"_qs);

    QVERIFY(rig.messages.shown.isEmpty());
    QCOMPARE(rig.clock.waits.count(3000), 1);
    QCOMPARE(duringLamp, QStringList(24, u"888"_qs));
    QVERIFY(stripDuringLamp);
    QVERIFY(rig.sound.commands.contains(u"play K40S1 from 0"_qs));
    // Row 1: its fares, and the stop name without the prefix.
    for (int i = 1; i <= 24; ++i) QCOMPARE(rig.cell(i), QString::number(100 + i));
    QCOMPARE(rig.strip(), rig.stripFor(u"停1"_qs, 0));
    QCOMPARE(rig.panel().ChimeiCtl->prefixMode(), qint16(1));
    for (QPushButton* b : rig.ctl().Command2) QVERIFY(b->isEnabled());
    QVERIFY(rig.ctl().Check1->isEnabled());
    QCOMPARE(rig.ctl().routeState.ticketDateText, u"03-05-2024"_qs);
    // Row 2 shows the prefix.
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 1));
    QCOMPARE(rig.cell(1), u"201"_qs);
}

void TestConsole::routeSettingFailures_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such route") << u"99"_qs << u"1"_qs << u"指定した系統のデータがありません..."_qs;
    QTest::newRow("section too large") << u"12"_qs << u"6"_qs
                                       << u"指定した区間はデータの数よりも多いです..."_qs;
    QTest::newRow("count 0") << u"5"_qs << u"1"_qs
                             << u"指定した系統はデータの数が0(未登録)の可能性があります..."_qs;
}

void TestConsole::routeSettingFailures() {
    QFETCH(QString, route);
    QFETCH(QString, section);
    QFETCH(QString, message);
    K40Rig rig;
    rig.writeRoute(12, 6);
    rig.writeRoute(7, 4);
    rig.writeFile(u"5.hy3"_qs, QByteArray(2, '\0'));
    rig.start();
    rig.setRoute(u"7"_qs, u"2"_qs);
    rig.ctl().Command2_Click(1); // row 3 of route 7
    rig.clock.waits.clear();
    rig.setRoute(route, section);
    QCOMPARE(rig.messages.shown.size(), 1);
    QVERIFY(rig.messages.shown[0].text.startsWith(message));
    QCOMPARE(rig.messages.shown[0].title, u"カルテラVer4"_qs);
    QVERIFY(!rig.clock.waits.contains(3000)); // no lamp test
    QCOMPARE(rig.cell(2), u"302"_qs);         // the old fares stay
    QCOMPARE(rig.cell(24), u"324"_qs);
    QCOMPARE(rig.ctl().routeState.routeText, route);
    // Stepping goes on in the old table, within its rows.
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(4));
    QCOMPARE(rig.cell(24), u"424"_qs);
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(4));
}

void TestConsole::stepping() {
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.writeFile(u"step.wav"_qs, "RIFF");
    rig.start();
    rig.opt().txtSelectSound[7]->setText(rig.path(u"step.wav"_qs));
    rig.setRoute(u"3"_qs, u"4"_qs);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(4));
    for (int i = 1; i <= 3; ++i) QCOMPARE(rig.cell(i), u"0"_qs); // below the start section
    QCOMPARE(rig.cell(4), u"404"_qs);
    rig.sound.commands.clear();
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(5));
    QCOMPARE(rig.cell(4), u"504"_qs);
    QCOMPARE(playsOn(rig.sound.commands, u"K40S2"_qs).size(), 4);
    rig.ctl().Command2_Click(1); // the last row: nothing at all
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(5));
    QCOMPARE(playsOn(rig.sound.commands, u"K40S2"_qs).size(), 4);
    for (int k = 0; k < 4; ++k) rig.ctl().Command2_Click(0);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(1));
    QCOMPARE(rig.cell(4), u"104"_qs);
    rig.sound.commands.clear();
    rig.ctl().Command2_Click(0); // row 1: no sound, no redraw
    QVERIFY(rig.sound.commands.isEmpty());
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(1));
}

void TestConsole::stepSounds_data() {
    QTest::addColumn<int>("row"); // the row stepped to; its v(30) is row % 5
    QTest::addColumn<QString>("sound");
    QTest::newRow("v(30) = 2") << 2 << u"2.wav"_qs;
    QTest::newRow("v(30) = 3") << 3 << u"3.wav"_qs;
    QTest::newRow("v(30) = 4: none") << 4 << QString();
    QTest::newRow("v(30) = 0: none") << 5 << QString();
    QTest::newRow("v(30) = 1") << 6 << u"1.wav"_qs;
}

void TestConsole::stepSounds() {
    QFETCH(int, row);
    QFETCH(QString, sound);
    K40Rig rig;
    rig.writeRoute(3, 8);
    for (const char* f : {"1.wav", "2.wav", "3.wav"}) rig.writeFile(QString::fromLatin1(f), "RIFF");
    rig.start();
    rig.opt().Option2[1]->setChecked(true);
    rig.opt().Combo1->setCurrentIndex(29);
    for (int v = 1; v <= 3; ++v)
        rig.opt().txtSelectSound[size_t(7 + v)]->setText(rig.path(QStringLiteral("%1.wav").arg(v)));
    rig.setRoute(u"3"_qs, QString::number(row - 1));
    rig.sound.commands.clear();
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(row));
    QCOMPARE(rig.cell(24), QString::number(100 * row + 24)); // the panel changes either way
    const QStringList opened = rig.sound.commands.filter(u"open"_qs);
    if (sound.isEmpty()) {
        QVERIFY(opened.isEmpty());
    } else {
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].contains(rig.path(sound)));
        QVERIFY(opened[0].endsWith(u"alias K40S2 wait"_qs));
    }
}

void TestConsole::synchronousStepChangesFaresAfterTheSound() {
    struct Watching : RecordingMediaCommands {
        std::function<void(const QString&)> hook;
        qint32 sendString(const QString& c) override {
            if (hook) hook(c);
            return RecordingMediaCommands::sendString(c);
        }
    };
    K40Rig rig;
    Watching sound;
    rig.services.sound = &sound;
    rig.app = std::make_unique<K40Application>(rig.services);
    rig.app->onEnd = [] {};
    rig.writeRoute(3, 5);
    rig.writeFile(u"step.wav"_qs, "RIFF");
    rig.start();
    rig.opt().txtSelectSound[7]->setText(rig.path(u"step.wav"_qs));
    rig.opt().Option6[0]->setChecked(true);
    rig.setRoute(u"3"_qs, u"1"_qs);
    QString cellWhilePlaying;
    sound.hook = [&](const QString& c) {
        if (c == u"play K40S2 from 0 wait") cellWhilePlaying = rig.cell(1);
    };
    rig.ctl().Command2_Click(1);
    QCOMPARE(cellWhilePlaying, u"101"_qs);
    QCOMPARE(rig.cell(1), u"201"_qs);
}

void TestConsole::unaddressableColumnIsReported() {
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"1"_qs);
    // A settings file may leave the column list without a selection.
    rig.opt().Check3[3]->setChecked(true);
    rig.opt().Combo4[4]->setCurrentIndex(-1);
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.ctl().routeState.currentRow, qint16(2));
    QCOMPARE(rig.cell(2), u"102"_qs); // nothing of the row is half shown
    QCOMPARE(rig.messages.shown.size(), 1);
    QCOMPARE(rig.messages.shown[0].text, u"インデックスが有効範囲にありません。"_qs);
}

void TestConsole::lateNightShowsAtNextRedraw() {
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"1"_qs);
    rig.ctl().Check2->setChecked(true);
    QCOMPARE(rig.cell(2), u"102"_qs);
    rig.ctl().Command2_Click(1);
    QCOMPARE(rig.cell(2), u"404"_qs);
}

void TestConsole::displayClear() {
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"2"_qs);
    rig.ctl().Check1->setChecked(true);
    rig.ctl().Check1_Click();
    for (int i = 1; i <= 24; ++i) QCOMPARE(rig.cell(i), QString());
    QCOMPARE(rig.strip(), rig.stripFor(QString(), 0));
    for (QWidget* w : {static_cast<QWidget*>(rig.ctl().Frame1[0]),
                       static_cast<QWidget*>(rig.ctl().Frame1[1]),
                       static_cast<QWidget*>(rig.ctl().Command2[0]),
                       static_cast<QWidget*>(rig.ctl().Command2[1]),
                       static_cast<QWidget*>(rig.ctl().Frame6),
                       static_cast<QWidget*>(rig.ctl().grpM_Tape)})
        QVERIFY(!w->isEnabled());
    QVERIFY(rig.ctl().Frame2->isEnabled()); // the backlight stays usable
    QVERIFY(rig.ctl().Command4->isEnabled());
    rig.ctl().Check1->setChecked(false);
    rig.ctl().Check1_Click();
    QCOMPARE(rig.cell(1), QString()); // below the start section: stays blank
    QCOMPARE(rig.cell(2), u"202"_qs);
    QVERIFY(rig.ctl().Command2[1]->isEnabled());
    QVERIFY(rig.ctl().grpM_Tape->isEnabled());
    QVERIFY(!rig.panel().Timer1->isActive()); // the clock digits are hidden
}

void TestConsole::backlight() {
    K40Rig rig;
    rig.start();
    const QImage built = rig.panel().Picture().toImage();
    QVERIFY(!built.isNull());
    QCOMPARE(built.size(), QSize(582, 292));
    const BgrColor expected[3] = {0xFFFFFF, 0xC0FFC0, 0xC0FFC0};
    for (int mode : {1, 0, 2, 0}) {
        rig.ctl().Option4_Click(mode);
        QCOMPARE(rig.ctl().backlightMode(), mode);
        QCOMPARE(rig.panel().Picture().toImage(), built);
        for (int i = 1; i <= 24; ++i)
            QCOMPARE(BoardStartup::labelColour(*rig.panel().lblSeiriNum[size_t(i)]),
                     expected[mode]);
    }
    QVERIFY(rig.messages.shown.isEmpty());
}

void TestConsole::userPictures_data() {
    QTest::addColumn<QByteArray>("content"); // empty: no such file
    QTest::addColumn<bool>("manual");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<QString>("message");
    QImage red(100, 50, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "BMP");
    QTest::newRow("a picture") << png << true << true << QString();
    QTest::newRow("automatic: ignored") << png << false << false << QString();
    QTest::newRow("missing file: silent") << QByteArray() << true << false << QString();
    QTest::newRow("not a picture")
        << QByteArray("not a picture at all") << true << false
        << u"エラーです。\r\n\r\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"_qs;
}

void TestConsole::userPictures() {
    QFETCH(QByteArray, content);
    QFETCH(bool, manual);
    QFETCH(bool, changes);
    QFETCH(QString, message);
    K40Rig rig;
    if (!content.isEmpty()) rig.writeFile(u"on1.bmp"_qs, content);
    rig.start();
    rig.opt().Option3[manual ? 1 : 0]->setChecked(true);
    rig.opt().Option3[2]->setChecked(true); // ON1: user picture
    rig.opt().txtSelectPanel[1]->setText(rig.path(u"on1.bmp"_qs));
    rig.opt().Command5[1]->setBackColor(0x123456);
    const QImage before = rig.panel().Picture().toImage();
    rig.ctl().Option4_Click(1);
    const QImage after = rig.panel().Picture().toImage();
    QCOMPARE(after != before, changes);
    if (changes) QCOMPARE(after.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(BoardStartup::labelColour(*rig.panel().lblSeiriNum[7]), BgrColor(0x123456));
    if (message.isEmpty()) {
        QVERIFY(rig.messages.shown.isEmpty());
    } else {
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].text, message);
        QCOMPARE(rig.messages.shown[0].title, u"エラー"_qs);
        QCOMPARE(rig.messages.shown[0].icon, MsgIcon::Critical);
    }
}

void TestConsole::fareCellOptions_data() {
    QTest::addColumn<bool>("userSet");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("zeroMode");
    QTest::newRow("accepted") << true << 1 << 3;
    QTest::newRow("cancelled") << true << 0 << 0;
    QTest::newRow("not user-settable") << false << 1 << 0;
}

void TestConsole::fareCellOptions() {
    QFETCH(bool, userSet);
    QFETCH(int, answer);
    QFETCH(int, zeroMode);
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"1"_qs);
    if (answer == 1) rig.dialogs.digitAnswer = DigitOptions{3, 1, 2};
    rig.panel().Degit[5]->setUserSettable(userSet);
    bool consoleDisabled = false;
    rig.dialogs.during = [&] { consoleDisabled = !rig.ctl().isEnabled(); };
    rig.dialogs.calls.clear();
    rig.panel().Degit_DblClick(5);
    QCOMPARE(consoleDisabled, userSet);
    QVERIFY(rig.ctl().isEnabled());
    QCOMPARE(rig.dialogs.calls.size(), userSet ? 1 : 0);
    for (int i = 1; i <= 24; ++i) {
        SegmentDisplay* d = rig.panel().Degit[size_t(i)];
        QCOMPARE(int(d->zeroMode()), zeroMode);
        QCOMPARE(d->value().toText(), QString::number(100 + i)); // values kept
    }
}

void TestConsole::clockDigits() {
    K40Rig rig;
    rig.start();
    rig.clock.current = QDateTime(QDate(2024, 3, 5), QTime(9, 5, 59));
    rig.panel().Timer1_Timer();
    QCOMPARE(rig.panel().TimeDegit[0]->value(), DigitValue(9));
    QCOMPARE(rig.panel().TimeDegit[1]->value(), DigitValue(5));
}

void TestConsole::previewSwitchAndCopy() {
    K40Rig rig;
    rig.start();
    QCOMPARE(rig.ctl().width(), 359);
    rig.ctl().Check4->setChecked(true);
    QCOMPARE(rig.ctl().width(), 600);
    QCOMPARE(rig.ctl().Check4->text(), u"<<"_qs);
    QCOMPARE(rig.ctl().Check4->toolTip(), u"整理券プレビューを隠します"_qs);
    rig.ctl().Check4->setChecked(false);
    QCOMPARE(rig.ctl().width(), 359);
    QCOMPARE(rig.ctl().Check4->text(), u">>"_qs);
    QCOMPARE(rig.ctl().Check4->toolTip(), u"整理券プレビューを開きます"_qs);
    QCOMPARE(rig.ctl().MnuHideCopy->text(), u"コピー(&C)"_qs);
    rig.ctl().picSeirikenPrev->image().setPixelColor(3, 4, Qt::blue);
    rig.ctl().MnuHideCopy_Click();
    QCOMPARE(QGuiApplication::clipboard()->image().pixelColor(3, 4), QColor(Qt::blue));
}

void TestConsole::versionBox() {
    K40Rig rig;
    rig.start();
    bool panelDisabled = false;
    rig.dialogs.during = [&] { panelDisabled = !rig.panel().isEnabled(); };
    rig.ctl().Command8_Click();
    QVERIFY(panelDisabled);
    QCOMPARE(rig.dialogs.calls.size(), 1);
    QVERIFY(rig.dialogs.calls[0].startsWith(
        u"version:機種：K40\r\nバージョン：4.0.0  ServiceRelease 1\r\n\r\n"_qs));
    QVERIFY(rig.panel().isEnabled());
}

void TestConsole::optionsButton() {
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"2"_qs);
    bool disabledWhileOpen = false;
    QTimer::singleShot(0, &rig.opt(), [&] {
        disabledWhileOpen = !rig.panel().isEnabled() && !rig.ctl().isEnabled();
        rig.opt().Combo6->setCurrentIndex(2);
        rig.opt().Command4->click();
    });
    rig.ctl().Command4_Click();
    QVERIFY(disabledWhileOpen);
    QVERIFY(rig.panel().isEnabled() && rig.ctl().isEnabled());
    QVERIFY(rig.opt().isHidden());
    QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 2)); // shown again with the new prefix
}

void TestConsole::exitOrder_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("no") << int(MsgAnswer::No);
    QTest::newRow("yes") << int(MsgAnswer::Yes);
}

void TestConsole::exitOrder() {
    QFETCH(int, answer);
    K40Rig rig;
    rig.writeRoute(3, 5);
    rig.start();
    rig.setRoute(u"3"_qs, u"2"_qs);
    rig.sound.commands.clear();
    rig.speech.calls.clear();
    rig.messages.answers << MsgAnswer(answer);
    rig.ctl().close();
    QCOMPARE(rig.messages.shown.last().text, u"カルテラを終了しますか？"_qs);
    QCOMPARE(rig.messages.shown.last().title, u"カルテラの終了確認"_qs);
    QCOMPARE(rig.messages.shown.last().icon, MsgIcon::Question);
    QCOMPARE(rig.messages.shown.last().buttons, MsgButtons::YesNo);
    const bool yes = MsgAnswer(answer) == MsgAnswer::Yes;
    QCOMPARE(rig.app->ended(), yes);
    QCOMPARE(QFile::exists(rig.path(u"K40.in4"_qs)), yes);
    if (!yes) {
        QVERIFY(rig.ctl().isVisible());
        QCOMPARE(rig.cell(2), u"202"_qs);
        QVERIFY(rig.sound.commands.isEmpty());
        return;
    }
    QCOMPARE(rig.sound.commands, (QStringList{u"close K40S1"_qs, u"close K40S2"_qs,
                                              u"close K40S3"_qs, u"close K40S4"_qs}));
    QCOMPARE(rig.speech.calls, QStringList{u"release"_qs});
    QCOMPARE(rig.strip(), rig.stripFor(QString(), 0));
    QVERIFY(rig.ctl().keyRegions[0].isEmpty());
}

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
