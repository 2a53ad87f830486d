// The options dialog: enabling rules, choosers, the preview digit, the date,
// the ticket plug-in information and OK applying to the board.
#include "K40Rig.h"
#include "console/ConsoleWidgets.h"
#include "board/BoardStartup.h"
#include "options/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

Q_DECLARE_METATYPE(TicketPluginInfo)

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void initialState();
    void informationRowsEnableTheirLists_data();
    void informationRowsEnableTheirLists();
    void panelPictureFramesFollowTheChoice();
    void previewFramesFollowTheSwitch();
    void choosersKeepTheOldValueOnCancel_data();
    void choosersKeepTheOldValueOnCancel();
    void colourChooser();
    void dates_data();
    void dates();
    void okAppliesToTheBoard();
    void closingOnlyHides();
    void ticketLayouts_data();
    void ticketLayouts();
    void pluginInformation_data();
    void pluginInformation();
    void invalidPluginAfterAValidOne();
};

void TestOptions::initialState() {
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    QCOMPARE(o.windowTitle(), u"オプション"_qs);
    QCOMPARE(o.Combo2->count(), 12);
    QCOMPARE(o.Combo2->itemText(0), u"1,2,3...24 （既定の表示）"_qs);
    QCOMPARE(o.Combo2->itemText(3), u"「なし」、2,3...24"_qs);
    QCOMPARE(o.Combo2->itemText(10), u"(無地)、1,2...23"_qs);
    for (int i = 0; i < 4; ++i) QCOMPARE(o.Combo4[size_t(i)]->count(), 24);
    QCOMPARE(o.Combo4[4]->count(), 150);
    QCOMPARE(o.Combo1->itemText(149), u"150"_qs);
    for (QComboBox* c : {o.Combo3, o.Combo5, o.Combo6}) QCOMPARE(c->currentIndex(), -1);
    QCOMPARE(o.Combo6->itemText(1), u"「次は」を表示（「は」が小さい）"_qs);
    QCOMPARE(o.Label10->text(), u"2024/03/05"_qs); // today, from the clock
    QVERIFY(o.Option1[0]->isChecked());
    QVERIFY(o.Option5[1]->isChecked());
    // First start: the strip gets -1 for the three lists, held to 0 by the prefix mode.
    QCOMPARE(rig.panel().ChimeiCtl->fontMode(), qint16(-1));
    QCOMPARE(rig.panel().ChimeiCtl->prefixFontMode(), qint16(-1));
    QCOMPARE(rig.panel().ChimeiCtl->prefixMode(), qint16(0));
    QCOMPARE(o.M_Degit1->value(), DigitValue(u"123"_qs));
    QVERIFY(!o.M_Degit1->userSettable());
}

void TestOptions::informationRowsEnableTheirLists_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("lists");
    QTest::addColumn<bool>("fromZero");
    QTest::newRow("section") << 0 << QList<int>{0} << true;
    QTest::newRow("ticket number") << 1 << QList<int>{1} << false;
    QTest::newRow("route") << 2 << QList<int>{2} << false;
    QTest::newRow("data column") << 3 << QList<int>{3, 4} << false;
}

void TestOptions::informationRowsEnableTheirLists() {
    QFETCH(int, row);
    QFETCH(QList<int>, lists);
    QFETCH(bool, fromZero);
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    auto enabled = [&] {
        QList<int> on;
        for (int i = 0; i < 5; ++i)
            if (o.Combo4[size_t(i)]->isEnabled()) on << i;
        return on;
    };
    QVERIFY(enabled().isEmpty());
    QVERIFY(!o.Check3[4]->isEnabled());
    o.Check3[size_t(row)]->click();
    QCOMPARE(enabled(), lists);
    QCOMPARE(o.Check3[4]->isEnabled(), fromZero);
    o.Check3[size_t(row)]->click();
    QVERIFY(enabled().isEmpty());
    // Set from code, as the settings file does: the same rule.
    o.Check3[size_t(row)]->setChecked(true);
    QCOMPARE(enabled(), lists);
}

void TestOptions::panelPictureFramesFollowTheChoice() {
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    for (QGroupBox* f : o.Frame6) QVERIFY(f->isHidden() && !f->isEnabled());
    o.Option3[1]->click();
    for (QGroupBox* f : o.Frame6) QVERIFY(!f->isHidden() && f->isEnabled());
    o.Option3[0]->click();
    for (QGroupBox* f : o.Frame6) QVERIFY(f->isHidden());
    QVERIFY(o.Frame3->isEnabled());
    o.Check1->click();
    QVERIFY(!o.Frame3->isEnabled());
}

void TestOptions::previewFramesFollowTheSwitch() {
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    QVERIFY(o.Frame10->isHidden() && o.Frame7->isHidden());
    o.txtSeiriPlgDir->setText(u"/p/a.4SP"_qs);
    o.chkUseSeiriPrev->click();
    QVERIFY(!o.Frame10->isHidden() && o.Frame10->isEnabled() && !o.Frame7->isHidden());
    o.chkUseSeiriPrev->click();
    QVERIFY(o.Frame10->isHidden() && !o.Frame7->isEnabled());
    o.chkUseSeiriPrev->click();
    QCOMPARE(o.txtSeiriPlgDir->text(), u"/p/a.4SP"_qs);
}

void TestOptions::choosersKeepTheOldValueOnCancel_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("call");
    QTest::newRow("fare folder") << u"folder"_qs << 0 << u"folder:フォルダーを選択してください"_qs;
    QTest::newRow("tape folder") << u"folder"_qs << 1 << u"folder:フォルダーを選択してください"_qs;
    QTest::newRow("route sound") << u"sound"_qs << 0 << u"file:サウンドの選択"_qs;
    QTest::newRow("step sound 3") << u"sound"_qs << 10 << u"file:サウンドの選択"_qs;
    QTest::newRow("ON2 picture") << u"panel"_qs << 2 << u"file:パネル画像の選択"_qs;
}

void TestOptions::choosersKeepTheOldValueOnCancel() {
    QFETCH(QString, kind);
    QFETCH(int, index);
    QFETCH(QString, call);
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    QLineEdit* box = kind == u"folder" ? o.Text2[size_t(index)]
                     : kind == u"sound" ? o.txtSelectSound[size_t(index)]
                                        : o.txtSelectPanel[size_t(index)];
    QPushButton* button = kind == u"folder" ? o.Command3[size_t(index)]
                          : kind == u"sound" ? o.cmdSelectSound[size_t(index)]
                                             : o.Command6[size_t(index)];
    o.Option3[1]->click(); // the picture frames need "個別に設定する"
    box->setText(u"/old"_qs);
    button->click(); // the chooser is cancelled
    QCOMPARE(rig.dialogs.calls.value(0), call);
    QCOMPARE(box->text(), u"/old"_qs);
    rig.dialogs.folderAnswer = rig.dialogs.fileAnswer = u"/new/選択"_qs;
    button->click();
    QCOMPARE(box->text(), u"/new/選択"_qs);
    if (kind == u"sound")
        QCOMPARE(rig.dialogs.lastFilter, u"Waveサウンド(*.wav);;MIDIサウンド(*.mid)"_qs);
    if (kind == u"panel")
        QCOMPARE(rig.dialogs.lastFilter,
                 u"ビットマップ(*.bmp);;GIF画像(*.gif);;JPEG画像(*.jpg)"_qs);
}

void TestOptions::colourChooser() {
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    o.CustomColors[16] = 0x777777;
    o.Command8[2]->click(); // cancelled
    QCOMPARE(rig.dialogs.calls.value(0), u"color:72d2f8"_qs);
    QCOMPARE(rig.dialogs.lastCustom[16], 0x777777);
    QCOMPARE(o.Command8[2]->backColor(), BgrColor(0x72D2F8));
    rig.dialogs.colorAnswer = 0x00FF00;
    rig.dialogs.customAnswer[0] = 0x123456;
    o.Command8[2]->click();
    QCOMPARE(o.Command8[2]->backColor(), BgrColor(0x00FF00));
    QCOMPARE(o.CustomColors[0], 0x123456);
    // The preview digit at once, the board only after OK.
    QCOMPARE(o.M_Degit1->litColor(), BgrColor(0x00FF00));
    QCOMPARE(rig.panel().Degit[1]->litColor(), BgrColor(0x72D2F8));
    o.Command4->click();
    for (int i = 1; i <= 24; ++i) QCOMPARE(rig.panel().Degit[size_t(i)]->litColor(), BgrColor(0x00FF00));
    QCOMPARE(rig.panel().TimeDegit[0]->litColor(), BgrColor(0x00FF00));
}

void TestOptions::dates_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("text");
    QTest::newRow("7 March 2024") << 2024 << 3 << 7 << u"2024/03/07"_qs;
    QTest::newRow("31 December 2030") << 2030 << 12 << 31 << u"2030/12/31"_qs;
    QTest::newRow("year 987") << 987 << 1 << 2 << u"987/01/02"_qs;
}

void TestOptions::dates() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, text);
    K40Rig rig;
    rig.start();
    rig.opt().chkUseSeiriPrev->click();
    rig.opt().Command7->click(); // cancelled
    QCOMPARE(rig.opt().Label10->text(), u"2024/03/05"_qs);
    rig.dialogs.dateAnswer = QDate(year, month, day);
    rig.opt().Command7->click();
    QCOMPARE(rig.opt().Label10->text(), text);
}

void TestOptions::okAppliesToTheBoard() {
    K40Rig rig;
    rig.start();
    OptionsDialog& o = rig.opt();
    rig.ctl().Option4_Click(1);
    o.Check1->setChecked(false);
    o.Command5[1]->setBackColor(0x0000FF);
    o.Command9[0]->setBackColor(0x101010);
    o.Command9[1]->setBackColor(0x00A5FF);
    o.Combo3->setCurrentIndex(2);
    o.Check4->setChecked(true);
    o.Combo6->setCurrentIndex(1);
    o.Command9[2]->setBackColor(0x00D7FF);
    o.Combo5->setCurrentIndex(3);
    o.Check5->setChecked(true);
    QVERIFY(rig.panel().lblSeiriNum[3]->isVisibleTo(&rig.panel())); // nothing before OK
    o.show();
    o.Command4->click();
    QVERIFY(o.isHidden());
    for (int i = 1; i <= 24; ++i) {
        QVERIFY(!rig.panel().lblSeiriNum[size_t(i)]->isVisibleTo(&rig.panel()));
        QCOMPARE(BoardStartup::labelColour(*rig.panel().lblSeiriNum[size_t(i)]), BgrColor(0x0000FF));
        QVERIFY(rig.panel().Degit[size_t(i)]->isVisibleTo(&rig.panel()));
    }
    StopNameDisplay& s = *rig.panel().ChimeiCtl;
    QCOMPARE(s.backColor(), BgrColor(0x101010));
    QCOMPARE(s.dotColor(), BgrColor(0x00A5FF));
    QCOMPARE(s.fontMode(), qint16(2));
    QVERIFY(s.fontBold());
    QCOMPARE(s.prefixMode(), qint16(1));
    QCOMPARE(s.prefixColor(), BgrColor(0x00D7FF));
    QCOMPARE(s.prefixFontMode(), qint16(3));
    QVERIFY(s.prefixBold());
    // Calling it twice gives the same displays.
    const QImage before = rig.panel().grab().toImage();
    o.SetProp();
    QCOMPARE(rig.panel().grab().toImage(), before);
}

void TestOptions::closingOnlyHides() {
    K40Rig rig;
    rig.start();
    rig.opt().show();
    rig.opt().Text2[0]->setText(u"/kept"_qs);
    rig.opt().close();
    QVERIFY(rig.opt().isHidden());
    QCOMPARE(rig.opt().Text2[0]->text(), u"/kept"_qs);
}

void TestOptions::ticketLayouts_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("zeroPad");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("label2");
    QTest::addColumn<QString>("label24");
    QTest::addColumn<int>("label1Pixels"); // 14 pt = 19 px, 12 pt = 16 px
    QTest::newRow("0") << 0 << false << u"１"_qs << u"２"_qs << u"２４"_qs << 19;
    QTest::newRow("0, zeros") << 0 << true << u"０１"_qs << u"０２"_qs << u"２４"_qs << 19;
    QTest::newRow("1, zeros") << 1 << true << u"００"_qs << u"０１"_qs << u"２３"_qs << 19;
    QTest::newRow("2") << 2 << false << u"な し"_qs << u"１"_qs << u"２３"_qs << 16;
    QTest::newRow("3") << 3 << false << u"な し"_qs << u"２"_qs << u"２４"_qs << 16;
    QTest::newRow("4") << 4 << false << u"無 券"_qs << u"１"_qs << u"２３"_qs << 16;
    QTest::newRow("5") << 5 << false << u"無 券"_qs << u"２"_qs << u"２４"_qs << 16;
    QTest::newRow("6") << 6 << false << u"券なし"_qs << u"１"_qs << u"２３"_qs << 16;
    QTest::newRow("7") << 7 << false << u"券なし"_qs << u"２"_qs << u"２４"_qs << 16;
    QTest::newRow("8") << 8 << false << u"券無し"_qs << u"１"_qs << u"２３"_qs << 16;
    QTest::newRow("9") << 9 << false << u"券無し"_qs << u"２"_qs << u"２４"_qs << 16;
    QTest::newRow("10") << 10 << false << QString() << u"１"_qs << u"２３"_qs << 19;
    QTest::newRow("11") << 11 << false << QString() << u"２"_qs << u"２４"_qs << 19;
}

void TestOptions::ticketLayouts() {
    QFETCH(int, layout);
    QFETCH(bool, zeroPad);
    QFETCH(QString, label1);
    QFETCH(QString, label2);
    QFETCH(QString, label24);
    QFETCH(int, label1Pixels);
    K40Rig rig;
    rig.start();
    rig.opt().Combo2->setCurrentIndex(2); // a word first, then the layout of the case
    rig.opt().SetProp();
    rig.opt().Combo2->setCurrentIndex(layout);
    rig.opt().Check2->setChecked(zeroPad);
    rig.opt().SetProp();
    QCOMPARE(rig.panel().lblSeiriNum[1]->text(), label1);
    QCOMPARE(rig.panel().lblSeiriNum[2]->text(), label2);
    QCOMPARE(rig.panel().lblSeiriNum[24]->text(), label24);
    QCOMPARE(rig.panel().lblSeiriNum[1]->font().pixelSize(), label1Pixels);
    QVERIFY(rig.panel().lblSeiriNum[1]->font().bold());
    QCOMPARE(rig.panel().lblSeiriNum[1]->font().family(), u"ＭＳ Ｐゴシック"_qs);
}

void TestOptions::pluginInformation_data() {
    QTest::addColumn<TicketPluginInfo>("info");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("companies");
    TicketPluginInfo plain{};
    plain[1] = 3000;
    plain[2] = 1500;
    plain[3] = 1;
    plain[6] = 1;
    QTest::newRow("no barcode") << plain
                                << QStringList{u"日付の印字 ---> 可能"_qs, u"時刻の印字 ---> 不可"_qs,
                                               u"系統番号の印字 ---> 不可"_qs, u"停名の印字 ---> 可能"_qs,
                                               u"バーコード印字 ---> 不可"_qs,
                                               u"社名切り替え:---> 不可"_qs}
                                << false;
    TicketPluginInfo barcode = plain;
    barcode[7] = 1;
    barcode[8] = 2;
    barcode[9] = 999;
    barcode[10] = 1;
    barcode[11] = 1;
    barcode[12] = 99;
    barcode[13] = 2;
    QTest::newRow("barcode and companies")
        << barcode
        << QStringList{u"日付の印字 ---> 可能"_qs, u"時刻の印字 ---> 不可"_qs,
                       u"系統番号の印字 ---> 不可"_qs, u"停名の印字 ---> 可能"_qs,
                       u"バーコード印字 ---> 可能"_qs, u"バーコード本数 ---> 2"_qs,
                       u"バーコード系統方式 ---> 連番式"_qs, u"設定可能な系統範囲 ---> 1 ～ 999"_qs,
                       u"停留所認識範囲 ---> 1 ～ 99"_qs, u"社名切り替え:---> 可能"_qs}
        << true;
}

void TestOptions::pluginInformation() {
    QFETCH(TicketPluginInfo, info);
    QFETCH(QStringList, lines);
    QFETCH(bool, companies);
    K40Rig rig;
    rig.start();
    rig.tickets.validPaths << u"/p/ok.4SP"_qs;
    rig.tickets.info = info;
    rig.dialogs.fileAnswer = u"/p/ok.4SP"_qs;
    rig.opt().chkUseSeiriPrev->click();
    rig.opt().Command1->click();
    QCOMPARE(rig.dialogs.lastFilter, u"整理券プラグイン(*.4SP)"_qs);
    QVERIFY(rig.messages.shown.isEmpty());
    QCOMPARE(rig.opt().txtSeiriPlgDir->text(), u"/p/ok.4SP"_qs);
    QStringList shown;
    for (int i = 0; i < rig.opt().List1->count(); ++i) shown << rig.opt().List1->item(i)->text();
    QCOMPARE(shown, lines);
    QCOMPARE(rig.ctl().picSeirikenPrev->size(), QSize(200, 100));
    QCOMPARE(rig.tickets.calls.contains(u"companies:/p/ok.4SP"_qs), companies);
    QVERIFY(rig.tickets.calls.contains(u"remarks:/p/ok.4SP"_qs));
}

void TestOptions::invalidPluginAfterAValidOne() {
    K40Rig rig;
    rig.start();
    rig.tickets.validPaths << u"/p/ok.4SP"_qs;
    rig.dialogs.fileAnswer = u"/p/ok.4SP"_qs;
    rig.opt().chkUseSeiriPrev->click();
    rig.opt().Command1->click();
    rig.ctl().Combo1->addItem(u"みなと交通"_qs);
    rig.dialogs.fileAnswer = u"/p/bad.4SP"_qs;
    rig.opt().Command1->click();
    QCOMPARE(rig.messages.shown.size(), 1);
    QCOMPARE(rig.messages.shown[0].text, u"指定したファイルはプラグインでないか、内容が不正です"_qs);
    QCOMPARE(rig.messages.shown[0].title, u"プラグインロードエラー"_qs);
    QCOMPARE(rig.messages.shown[0].icon, MsgIcon::Critical);
    QCOMPARE(rig.opt().txtSeiriPlgDir->text(), u"/p/ok.4SP"_qs);
    QCOMPARE(rig.opt().List1->count(), 6);
    QCOMPARE(rig.ctl().Combo1->count(), 0);
    // Clearing empties the path, the list and the remarks, not the company list.
    rig.ctl().Combo1->addItem(u"みなと交通"_qs);
    rig.opt().Command11->click();
    QVERIFY(rig.opt().txtSeiriPlgDir->text().isEmpty());
    QCOMPARE(rig.opt().List1->count(), 0);
    QCOMPARE(rig.ctl().Combo1->count(), 1);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
