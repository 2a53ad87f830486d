// The options dialog: its first state, enabling rules, choosers and the ticket
// plug-in's information; OK commits the edited settings to the board and the
// console, and so does closing the dialog.
#include "K40Rig.h"
#include "console/TicketPreviewBox.h"
#include "options/ColorButton.h"
#include "options/DigitsPage.h"
#include "options/FoldersPage.h"
#include "options/PageButton.h"
#include "options/PanelPage.h"
#include "options/SoundsPage.h"
#include "options/StopNamePage.h"
#include "options/TicketPreviewPage.h"

Q_DECLARE_METATYPE(TicketPluginInfo)

// Runs act once the dialog is open (by open()), then presses its OK.
static void whileOpen(OptionsDialog& dialog, const std::function<void()>& act,
                      const std::function<void()>& open) {
    QTimer::singleShot(0, &dialog, [&] { act(), dialog.okButton->click(); }), open();
}

// The dialog alone on fakes.
struct DialogRig {
    FakeCompanionDialogs dialogs;
    FakeTicketEngine tickets;
    RecordingMessageBox messages;
    OptionsDialog dialog{&dialogs, &tickets, &messages};
    SettingsRecord record = Settings(QDate(2024, 3, 5)).record();
    void edit(const std::function<void()>& act) {
        whileOpen(dialog, act, [this] { dialog.edit(record); });
    }
    void load(const SettingsRecord& r) { for (OptionsPage* page : dialog.pages()) page->load(r); }
};

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void firstState() {
        DialogRig rig;
        OptionsDialog& o = rig.dialog;
        rig.load(rig.record);
        QCOMPARE(o.windowTitle(), u"オプション"_qs);
        QVERIFY(o.pageButtons[0]->isChecked());
        // The page captions break only at their blanks; each line fits, in the chosen one's bold.
        const QStringList captions{u"運賃データと|放送用データ"_qs, u"パネルと整理券番号表示"_qs,
                                   u"デジタル部品と情報用数字"_qs, u"停名の設定"_qs, u"サウンド"_qs,
                                   u"整理券|プレビュー"_qs};
        for (int i = 0; i < 6; ++i) {
            const auto* b = qobject_cast<const PageButton*>(o.pageButtons[size_t(i)]);
            QCOMPARE(b->lines().join(u'|'), captions[i]);
            QFont bold = b->font();
            bold.setBold(true);
            for (const QString& line : b->lines())
                QCOMPARE_LE(QFontMetrics(bold).horizontalAdvance(line), b->width() - 8);
        }
        // The stop-name lists have nothing chosen yet.
        for (QComboBox* c : {o.stopNamePage->nameFont, o.stopNamePage->prefixMode, o.stopNamePage->prefixFont})
            QCOMPARE(c->currentIndex(), -1);
        QVERIFY(o.soundsPage->stepSounds.frame->isVisibleTo(o.soundsPage));
        QVERIFY(!o.soundsPage->announcementSounds.frame->isVisibleTo(o.soundsPage));
        QCOMPARE(o.digitsPage->preview->value(), DigitValue(u"123"_qs));
        QVERIFY(!o.digitsPage->preview->userSettable());
        // Every setting comes back from the pages as it went in: also groups with no button
        // chosen, and colours of all 32 bits (system colours among them).
        SettingsRecord none = unusualSettings(u"/fares"_qs);
        const auto reset = [](auto&... choice) { (choice.reset(), ...); };
        reset(none.panelPictures, none.modePictures[0], none.modePictures[1], none.modePictures[2],
              none.stepSoundTiming, none.tapeSoundTiming, none.stepSoundChoice,
              none.tapeSoundChoice, none.ticketDate, none.infoRoute.cell);
        none.digitBackColor = 0x8000000F, none.stripDotColor = 0xFF00A5FF;
        none.showTicketNumbers = Check::Greyed;
        for (const SettingsRecord& r : {rig.record, unusualSettings(u"/fares"_qs), none}) {
            SettingsRecord stored = r;
            rig.load(r);
            stored.fareFolder.clear();
            for (OptionsPage* page : o.pages()) page->store(stored);
            QCOMPARE(stored, r);
        }
    }

    void pathsTheSettingsFileCannotKeepAreRefused() {
        // The settings file keeps paths in CP932: a path with a character it lacks is refused
        // when chosen, typed or pasted, with the character named; the text before is kept.
        DialogRig rig;
        OptionsPage::PathRow sound = rig.dialog.soundsPage->routeSetSound;
        OptionsPage::PathRow folder = rig.dialog.foldersPage->fareFolder;
        sound.path->setText(u"/音/前.wav"_qs), folder.path->setText(u"/データ"_qs);
        rig.dialogs.fileAnswer = u"/音/café.wav"_qs;
        sound.choose->click();
        rig.dialogs.folderAnswer = u"/データ/🚌"_qs;
        folder.choose->click();
        QCOMPARE(QStringList({sound.path->text(), folder.path->text()}),
                 QStringList({u"/音/前.wav"_qs, u"/データ"_qs}));
        QCOMPARE(rig.messages.shown.value(1).icon, MsgIcon::Exclamation);
        rig.dialogs.fileAnswer = u"/音/ピンポン①.wav"_qs; // NEC's circled digits are CP932
        sound.choose->click();
        QGuiApplication::clipboard()->setText(u"/José"_qs);
        folder.path->selectAll(), folder.path->paste();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"김"_qs);
        QCoreApplication::sendEvent(sound.path, &typed);
        QCOMPARE(QStringList({sound.path->text(), folder.path->text()}),
                 QStringList({u"/音/ピンポン①.wav"_qs, u"/データ"_qs}));
        QStringList named;
        for (const QString& text : said(rig.messages)) named << text.section(u'「', 1).section(u'」', 0, 0);
        QCOMPARE(named, (QStringList{u"é"_qs, u"🚌"_qs, u"é"_qs, u"김"_qs}));
        QTest::keyClicks(sound.path, u"x"_qs); // what CP932 holds is typed as ever
        QCOMPARE(sound.path->text(), u"/音/ピンポン①.wavx"_qs);
    }

    void openingAFolder_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("told");
        QTest::newRow("opened") << true << true << false;
        QTest::newRow("no file manager to open it") << true << false << true;
        QTest::newRow("no such folder: silent") << false << false << false;
    }

    void openingAFolder() {
        QFETCH(bool, exists);
        QFETCH(bool, opens);
        DialogRig rig;
        QStringList opened;
        rig.dialog.setFolderOpener([&](const QString& path) { opened << path; return opens; });
        QTemporaryDir dir;
        const QString path = exists ? dir.path() : dir.filePath(u"gone"_qs);
        rig.dialog.foldersPage->tapeFolder.path->setText(path);
        rig.dialog.foldersPage->openTapeFolder->click();
        QCOMPARE(opened, QStringList{path});
        QTEST(rig.messages.shown.size() == 1, "told");
        if (!rig.messages.shown.isEmpty()) QVERIFY(rig.messages.shown[0].text.contains(path));
    }

    void framesCaptionsAndListsFollowTheirSwitches() {
        DialogRig rig;
        PanelPage& p = *rig.dialog.panelPage;
        QList<int> hidden, pathHeights;
        rig.edit([&] {
            rig.dialog.showPage(1);
            for (const auto& slot : p.pictureSlots) hidden << int(slot.frame->isHidden());
            p.perModePictures->click();
            QCoreApplication::processEvents();
            // The page grows for the rows: no path box is squeezed.
            for (const auto& slot : p.pictureSlots)
                pathHeights << slot.file.path->height() - slot.file.path->sizeHint().height();
            p.pictureSlots[1].user->click();
        });
        QCOMPARE(hidden + pathHeights, (QList<int>{1, 1, 1, 0, 0, 0}));
        QVERIFY(rig.record.panelPictures == PanelPictures::PerMode &&
                rig.record.modePictures[1] == ModePicture::User);
        p.builtInPictures->click();
        for (const auto& slot : p.pictureSlots) QVERIFY(slot.frame->isHidden() && !slot.frame->isEnabled());
        QVERIFY(p.ticketNumberFrame->isEnabled());
        p.showTicketNumbers->click();
        QVERIFY(!p.ticketNumberFrame->isEnabled());
        // The plug-in and date frames follow the preview switch, keeping their contents.
        TicketPreviewPage& t = *rig.dialog.ticketPreviewPage;
        QVERIFY(t.pluginFrame->isHidden() && t.dateFrame->isHidden());
        t.pluginFile->setText(u"/p/a.4SP"_qs);
        t.usePreview->click();
        QVERIFY(!t.pluginFrame->isHidden() && t.pluginFrame->isEnabled() && !t.dateFrame->isHidden());
        t.usePreview->click();
        QVERIFY(t.pluginFrame->isHidden() && !t.dateFrame->isEnabled());
        t.usePreview->click();
        QCOMPARE(t.pluginFile->text(), u"/p/a.4SP"_qs);
        // The captions that stand apart from their buttons choose them.
        rig.dialog.showPage(4), rig.dialog.show();
        SoundsPage& sp = *rig.dialog.soundsPage;
        for (SoundsPage::SoundChoice* c : {&sp.stepSounds, &sp.announcementSounds}) {
            sp.stepSoundsButton->setChecked(c == &sp.stepSounds), c->always->setChecked(true);
            sp.announcementSoundsButton->setChecked(c == &sp.announcementSounds);
            QLabel* caption = nullptr;
            for (QLabel* l : c->frame->findChildren<QLabel*>())
                if (l->text() == c->byValue->accessibleName()) caption = l;
            QVERIFY(caption && caption->isVisible());
            QTest::mouseClick(caption, Qt::LeftButton);
            QVERIFY(c->byValue->isChecked());
        }
        DigitsPage& d = *rig.dialog.digitsPage;
        const auto enabled = [&] {
            int n = 0;
            for (QComboBox* c :
                 {d.sectionCell, d.ticketCell, d.routeCell, d.columnCell, d.columnList})
                n += int(c->isEnabled());
            return n * 10 + int(d.fromZeroCheck->isEnabled());
        };
        // Each information row its lists (tens) and the section's "from zero" (units), and off
        // again.
        QList<int> seen{enabled()};
        for (QCheckBox* check : {d.sectionCheck, d.ticketCheck, d.routeCheck, d.columnCheck}) {
            check->click();
            seen << enabled();
            check->click();
            seen << enabled();
        }
        QCOMPARE(seen, (QList<int>{0, 11, 0, 10, 0, 10, 0, 20, 0}));
        // Loaded from a record, as a settings file brings it: the same rule.
        SettingsRecord& r = rig.record;
        r.infoSection.on = r.infoTicket.on = r.infoRoute.on = r.infoColumn.on = Check::Checked;
        rig.load(r);
        QCOMPARE(enabled(), 51);
    }

    void choosersKeepTheOldValueOnCancel_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("filter");
        QTest::newRow("fare folder") << u"folder"_qs << u"folder:フォルダーを選択してください"_qs << QString();
        QTest::newRow("route sound") << u"sound"_qs << u"file:サウンドの選択"_qs
                                     << u"Waveサウンド(*.wav);;MIDIサウンド(*.mid)"_qs;
        QTest::newRow("ON2 picture") << u"picture"_qs << u"file:パネル画像の選択"_qs
                                     << u"ビットマップ(*.bmp);;GIF画像(*.gif);;JPEG画像(*.jpg)"_qs;
    }

    void choosersKeepTheOldValueOnCancel() {
        QFETCH(QString, kind);
        DialogRig rig;
        OptionsDialog& o = rig.dialog;
        const OptionsPage::PathRow& row = kind == u"folder"  ? o.foldersPage->fareFolder
                                          : kind == u"sound" ? o.soundsPage->routeSetSound
                                                             : o.panelPage->pictureSlots[2].file;
        o.panelPage->perModePictures->click(), row.path->setText(u"/old"_qs);
        row.choose->click(); // cancelled
        QCOMPARE(row.path->text(), u"/old"_qs);
        QTEST(rig.dialogs.calls.value(0), "call");
        QTEST(rig.dialogs.lastFilter, "filter");
        rig.dialogs.folderAnswer = rig.dialogs.fileAnswer = u"/new"_qs;
        row.choose->click();
        QCOMPARE(row.path->text(), u"/new"_qs);
    }

    void colourAndDateChoosers() {
        DialogRig rig;
        rig.record.customColors[16] = 0x777777;
        BgrColor previewWhileOpen = 0;
        QStringList dates;
        rig.edit([&] {
            DigitsPage& p = *rig.dialog.digitsPage;
            p.litColor->click(); // cancelled
            rig.dialogs.colorAnswer = 0x00FF00, rig.dialogs.customAnswer[0] = 0x123456;
            p.litColor->click();
            previewWhileOpen = p.preview->litColor();
            TicketPreviewPage& t = *rig.dialog.ticketPreviewPage;
            t.usePreview->click();
            for (QDate date : {QDate(), QDate(2024, 3, 7), QDate(2030, 12, 31), QDate(987, 1, 2)}) {
                if (date.isValid()) rig.dialogs.dateAnswer = date;
                t.chooseDate->click();
                dates << t.fixedDate->text();
            }
        });
        QCOMPARE(rig.dialogs.calls.value(0), u"color:72d2f8"_qs);
        QCOMPARE(rig.dialogs.lastCustom[16], 0x777777);
        // The preview at once, the record on OK.
        QCOMPARE(QList<BgrColor>(
                     {previewWhileOpen, rig.record.digitLitColor, rig.record.customColors[0]}),
                 QList<BgrColor>({0x00FF00, 0x00FF00, 0x123456}));
        QCOMPARE(dates, (QStringList{u"2024/03/05"_qs /* cancelled */, u"2024/03/07"_qs,
                                     u"2030/12/31"_qs, u"987/01/02"_qs}));
    }

    void okAndClosingApplyToTheBoard() {
        K40Rig rig;
        rig.startOn(3, 5, u"2"_qs);
        rig.console().backlightButtons[1]->click();
        OptionsDialog& o = rig.options();
        bool unchangedWhileOpen = false, disabledWhileOpen = false;
        whileOpen(o, [&] {
            PanelPage& p = *o.panelPage;
            p.showTicketNumbers->setChecked(false), p.layoutList->setCurrentIndex(7);
            p.numberColors[1]->setBackColor(0x0000FF),
                o.digitsPage->backColor->setBackColor(0x224466);
            StopNamePage& s = *o.stopNamePage;
            s.backColor->setBackColor(0x101010), s.dotColor->setBackColor(0x00A5FF);
            s.nameFont->setCurrentIndex(2), s.nameBold->setChecked(true);
            s.prefixMode->setCurrentIndex(1), s.prefixColor->setBackColor(0x00D7FF);
            s.prefixFont->setCurrentIndex(3), s.prefixBold->setChecked(true);
            unchangedWhileOpen = rig.board().ticketLabels[3]->isVisibleTo(&rig.board());
            disabledWhileOpen = !rig.board().isEnabled() && !rig.console().isEnabled();
        }, [&] { rig.console().optionsButton->click(); });
        QVERIFY(unchangedWhileOpen && disabledWhileOpen); // nothing before OK
        QVERIFY(rig.board().isEnabled() && rig.console().isEnabled() && o.isHidden());
        BoardWindow& b = rig.board();
        for (int i = 1; i <= 24; ++i) {
            QVERIFY(!b.ticketLabels[size_t(i)]->isVisibleTo(&b) && b.fareCells[size_t(i)]->isVisibleTo(&b));
            QCOMPARE(QList<BgrColor>({b.ticketNumberColor(i), b.fareCells[size_t(i)]->backColor()}),
                     QList<BgrColor>({0x0000FF, 0x224466}));
        }
        QCOMPARE(b.clockDigits[1]->backColor(), BgrColor(0x224466));
        const QFont font = b.ticketLabels[1]->font();
        QCOMPARE(QStringList({b.ticketLabels[1]->text(), font.family(), QString::number(font.pixelSize())}),
                 QStringList({u"券なし"_qs, u"ＭＳ Ｐゴシック"_qs, u"16"_qs})); // 12 points
        const StopNameDisplay& s = *b.stopNameDisplay;
        QCOMPARE(QList<BgrColor>({s.backColor(), s.dotColor(), s.prefixColor()}),
                 QList<BgrColor>({0x101010, 0x00A5FF, 0x00D7FF}));
        QCOMPARE(QList<int>({s.fontMode(), s.fontBold(), s.prefixMode(), s.prefixFontMode(), s.prefixBold()}),
                 QList<int>({2, 1, 1, 3, 1}));
        QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 1)); // shown again with the new prefix
        // Applying again and again gives the same board.
        b.applyAppearance();
        const QImage before = b.grab().toImage();
        b.applyAppearance();
        QCOMPARE(b.grab().toImage(), before);
        // There is no Cancel: Esc does nothing, and closing keeps what was changed, as OK does.
        bool openAfterEscape = false;
        QTimer::singleShot(0, &o, [&] {
            o.foldersPage->fareFolder.path->setText(u"/kept"_qs);
            QTest::keyClick(&o, Qt::Key_Escape);
            openAfterEscape = o.isVisible();
            o.close();
        });
        rig.console().optionsButton->click();
        QVERIFY(openAfterEscape && o.isHidden());
        QCOMPARE(rig.settings().record().fareFolder, u"/kept"_qs);
        QVERIFY(rig.console().isEnabled() && rig.board().isEnabled());
    }

    // Another board: the window grows to its grid and shows the row afresh,
    // paging; the choice is kept beside the settings file for the next start.
    void anotherBoard() {
        K40Rig rig;
        rig.startOn(3, 60, u"1"_qs);
        rig.console().stepForwardButton->click();
        whileOpen(rig.options(), [&] {
            rig.options().panelPage->boardList->setCurrentIndex(3);
            rig.options().panelPage->pagingCheck->setChecked(true);
        }, [&] { rig.console().optionsButton->click(); });
        BoardWindow& b = rig.board();
        QCOMPARE(QList<QSize>({b.size(), b.mask().boundingRect().size()}),
                 QList<QSize>({QSize(711, 398), QSize(711, 398)}));
        const auto shown = [&] {
            return QStringList({rig.cell(1), rig.cell(50), rig.board().ticketLabels[1]->text(),
                                rig.board().ticketLabels[50]->text()}).join(u' ');
        };
        QCOMPARE(int(b.fareCells.size()), 51);
        QCOMPARE(shown(), u"201 250 １ ５０"_qs);
        rig.clock.advance(4000);
        QCOMPARE(shown(), u"251 300 ５１ １００"_qs);
        rig.app->end();
        rig.make(), rig.start();
        QCOMPARE(rig.board().size(), QSize(711, 398));
        QCOMPARE(rig.settings().record().board, (BoardChoice{BoardChoice::Grid::Rows5, true, 4}));
    }
    void pluginInformation_data() {
        QTest::addColumn<TicketPluginInfo>("info");
        QTest::addColumn<QStringList>("lines");
        const QStringList start{u"日付の印字 ---> 可能"_qs, u"時刻の印字 ---> 不可"_qs,
                                u"系統番号の印字 ---> 不可"_qs, u"停名の印字 ---> 可能"_qs};
        QTest::newRow("no barcode")
            << TicketPluginInfo{0, 3000, 1500, 1, 0, 0, 1}
            << start + QStringList{u"バーコード印字 ---> 不可"_qs, u"社名切り替え:---> 不可"_qs};
        QTest::newRow("barcode and companies")
            << TicketPluginInfo{0, 3000, 1500, 1, 0, 0, 1, 1, 2, 999, 1, 1, 99, 2}
            << start + QStringList{u"バーコード印字 ---> 可能"_qs, u"バーコード本数 ---> 2"_qs,
                                   u"バーコード系統方式 ---> 連番式"_qs, u"設定可能な系統範囲 ---> 1 ～ 999"_qs,
                                   u"停留所認識範囲 ---> 1 ～ 99"_qs, u"社名切り替え:---> 可能"_qs};
    }

    void pluginInformation() {
        QFETCH(TicketPluginInfo, info);
        QTEST(TicketPreviewPage::propertyLines(info), "lines");
    }

    void pluginChoices() {
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        rig.tickets.validPaths << u"/p/ok.4SP"_qs;
        rig.tickets.info = {0, 3000, 1500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}; // companies
        rig.tickets.companies = QStringList{u"みなと交通"_qs, u"山の手バス"_qs};
        TicketPreviewPage& p = *rig.options().ticketPreviewPage;
        ConsoleWindow& c = rig.console();
        // What the page and the console show of the plug-in.
        const auto shown = [&] {
            return QStringList{p.pluginFile->text(), QString::number(p.pluginProperties->count()),
                               p.pluginRemarks->toPlainText(), QString::number(c.companyList->count())};
        };
        const auto choose = [&](const QString& path) {
            whileOpen(rig.options(), [&] {
                if (!p.usePreview->isChecked()) p.usePreview->click();
                rig.dialogs.fileAnswer = path, p.choosePlugin->click();
            }, [&] { c.optionsButton->click(); });
        };
        // A plug-in: its properties and remarks in the page; on OK the preview's size and
        // the company names on the console.
        choose(u"/p/ok.4SP"_qs);
        const QStringList ok{u"/p/ok.4SP"_qs, u"6"_qs, u"remarks of /p/ok.4SP"_qs, u"2"_qs};
        QCOMPARE(rig.dialogs.lastFilter, u"整理券プラグイン(*.4SP)"_qs);
        QVERIFY(rig.messages.shown.isEmpty());
        QCOMPARE(rig.settings().record().ticketPlugin, u"/p/ok.4SP"_qs);
        QCOMPARE(shown(), ok);
        QCOMPARE(c.ticketPreview->size(), QSize(200, 100));
        // No company is chosen until the user picks one.
        QCOMPARE(c.companyList->currentIndex(), -1);
        rig.setRoute(u"3"_qs, u"1"_qs);
        QCOMPARE(rig.tickets.drawnCompanies.last(), -1);
        c.companyList->setCurrentIndex(1);
        c.stepForwardButton->click();
        QCOMPARE(rig.tickets.drawnCompanies.last(), 1);
        // One that is none: the box; the good one stays whole, its companies
        // on the console too. Cancelling the chooser changes nothing and says nothing.
        for (const QString& path : {u"/p/bad.4SP"_qs, QString()}) {
            choose(path);
            QCOMPARE(said(rig.messages), QStringList{u"指定したファイルはプラグインでないか、内容が不正です"_qs});
            QCOMPARE(shown(), ok);
            QCOMPARE(rig.settings().record().ticketPlugin, u"/p/ok.4SP"_qs);
        }
        QVERIFY(rig.messages.shown[0].title == u"プラグインロードエラー"_qs &&
                rig.messages.shown[0].icon == MsgIcon::Critical);
        // Clearing empties the path, the list and the remarks, not the company list.
        p.clearPlugin->click();
        QCOMPARE(shown(), (QStringList{QString(), u"0"_qs, QString(), u"2"_qs}));
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
