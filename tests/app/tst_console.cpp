// The console and the board together, driven through their controls: the
// start-up, the real buttons and what they reach, input given while the route
// setting or a step runs, the backlight and user pictures, the fare cells'
// digit options, the clock, the preview, the version box, the options button,
// the announcement tape and its voice dialog, and the exit order.
#include "K40Rig.h"
#include "Modal.h"
#include "app/InputHold.h"
#include "console/EntryPanel.h"
#include "console/TicketPreviewBox.h"
#include "console/VoiceDialog.h"
#include "model/AnnouncementTape.h"
#include "options/StopNamePage.h"

#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {

// A click posted to a button, as the window system queues it.
void postClick(QWidget* button) {
    const QPointF at(button->width() / 2.0, button->height() / 2.0);
    const QPointF global = button->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            button,
            new QMouseEvent(type, at, global, Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

} // namespace

class TestConsole : public QObject {
    Q_OBJECT
private slots:
    void startUp() {
        K40Rig rig;
        rig.start();
        QCOMPARE(rig.board().windowTitle(), u"カルテラ - 型番:K40"_qs);
        QCOMPARE(rig.console().windowTitle(), u"集中操作盤"_qs);
        QVERIFY(rig.console().isVisible());
        QVERIFY(rig.board().isVisible());
        QVERIFY(rig.options().isHidden());
        QCOMPARE(rig.board().pos(), QPoint(0, 0));
        QCOMPARE(rig.board().size(), QSize(582, 292));
        QVERIFY(!rig.board().mask().contains(QPoint(0, 0)));
        QVERIFY(rig.board().mask().contains(QPoint(1, 0)));
        for (int i = 1; i <= 24; ++i) {
            QCOMPARE(rig.cell(i), u"0"_qs);
            QVERIFY(rig.board().ticketLabels[size_t(i)]->isVisibleTo(&rig.board()));
            QCOMPARE(rig.board().ticketNumberColor(i), BgrColor(0xC0FFC0)); // ON2
        }
        QCOMPARE(rig.board().ticketLabels[24]->text(), u"２４"_qs);
        QVERIFY(!rig.console().stepForwardButton->isEnabled());
        QVERIFY(!rig.console().clearDisplayCheck->isEnabled());
        QVERIFY(rig.console().backlightButtons[2]->isChecked());
        QVERIFY(rig.messages.shown.isEmpty()); // no settings file: nothing said
        QVERIFY(!rig.board().clockTimer->isActive());
        QVERIFY(rig.board().clockDigits[0]->isHidden());
        rig.board().close(); // the board is not closed by itself
        QVERIFY(rig.board().isVisible());
    }

    void controlsReachTheSessionAndTheBoard() {
        K40Rig rig;
        rig.writeRoute(12, 8);
        rig.start();
        ConsoleWindow& c = rig.console();
        // The digit lists and their "リセット".
        const int route[5] = {0, 0, 0, 1, 2}, section[3] = {0, 0, 5};
        for (int i = 0; i < 5; ++i)
            c.routeLists[size_t(i)]->setCurrentRow(route[i]);
        for (int i = 0; i < 3; ++i)
            c.sectionLists[size_t(i)]->setCurrentRow(section[i]);
        c.listResetButton->click();
        rig.clock.advance(RouteSession::LampTestMs);
        QCOMPARE(rig.session().state().routeText, u"00012"_qs);
        QCOMPARE(rig.session().state().currentRow, qint16(5));
        QVERIFY(c.stepForwardButton->isEnabled());
        // The keypad and its readouts.
        for (QPushButton* b :
             {c.routeKey, c.digitKeys[1], c.digitKeys[2], c.sectionKey, c.digitKeys[3]})
            b->click();
        QCOMPARE(c.routeReadout->text(), u"12"_qs);
        QCOMPARE(c.sectionReadout->text(), u"3"_qs);
        c.keypadResetButton->click();
        rig.clock.advance(RouteSession::LampTestMs);
        c.stepForwardButton->click();
        QCOMPARE(rig.cell(24), u"424"_qs);
        c.stepBackButton->click();
        QCOMPARE(rig.cell(24), u"324"_qs);
        // Late night and the display clear.
        c.lateNightCheck->click();
        QVERIFY(rig.settings().record().lateNight);
        c.clearDisplayCheck->click();
        QCOMPARE(rig.cell(24), QString());
        for (QWidget* w :
             {static_cast<QWidget*>(c.keypadPanel), static_cast<QWidget*>(c.scrollGroup),
              static_cast<QWidget*>(c.stepForwardButton), static_cast<QWidget*>(c.tapeGroup)})
            QVERIFY(!w->isEnabled());
        QVERIFY(c.backlightGroup->isEnabled() && c.optionsButton->isEnabled());
        c.clearDisplayCheck->click();
        QCOMPARE(rig.cell(24), u"648"_qs);
        // The scroll bars reach the strip and their value labels.
        c.scrollSpeedBar->setValue(250);
        c.scrollIntervalBar->setValue(0);
        QCOMPARE(rig.board().stopNameDisplay->speed(), qint16(250));
        QCOMPARE(rig.board().stopNameDisplay->scrollStartWait(), 0);
        QCOMPARE(c.scrollSpeedValue->text(), u"250"_qs);
        QCOMPARE(c.scrollIntervalValue->text(), u"0"_qs);
        // A double-click on the keypad brings the lists in front.
        QTest::mouseDClick(c.keypadPanel, Qt::LeftButton);
        QVERIFY(rig.settings().record().keypadBehind);
        const QWidget* front = c.childAt(c.listResetButton->mapTo(&c, QPoint(5, 5)));
        QCOMPARE(front, static_cast<QWidget*>(c.listResetButton));
    }

    void clickDuringTheLampTestIsTakenAfterIt() {
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.console()));
        rig.setRoute(u"3"_qs, u"1"_qs);
        rig.console().keypadResetButton->click(); // the same route again
        QVERIFY(rig.session().isWaiting());
        QTest::mouseClick(rig.console().stepForwardButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(rig.cell(1), u"888"_qs); // still the lamp test
        QVERIFY(rig.app->inputHold().heldCount() > 0);
        // A message box shown meanwhile still takes its answer.
        QMessageBox box(QMessageBox::Warning, u"K40"_qs, u"?"_qs, QMessageBox::Ok, &rig.console());
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(!box.isVisible());
        rig.clock.advance(RouteSession::LampTestMs);
        QCOMPARE(rig.session().state().currentRow, qint16(1));
        QTRY_COMPARE(rig.session().state().currentRow, qint16(2));
        QCOMPARE(rig.cell(1), u"201"_qs);
        QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 0));
    }

    void clicksQueuedDuringAStepStepAfterIt() {
        K40Rig rig;
        rig.writeRoute(3, 6);
        writeFile(rig.path(u"step.wav"_qs), "RIFF");
        rig.start();
        rig.edit([&](SettingsRecord& r) {
            r.stepSound = rig.path(u"step.wav"_qs);
            r.stepSoundTiming = SoundTiming::Sync;
        });
        rig.setRoute(u"3"_qs, u"1"_qs);
        // Two more clicks arrive while the first step's chime plays.
        bool posted = false;
        rig.sound.hook = [&](const QString& c) {
            if (!c.startsWith(u"play S2 ") || !c.endsWith(u" wait") || posted) return;
            posted = true;
            postClick(rig.console().stepForwardButton);
            postClick(rig.console().stepForwardButton);
        };
        rig.console().stepForwardButton->click();
        QCOMPARE(rig.session().state().currentRow, qint16(2));
        QTRY_COMPARE(rig.session().state().currentRow, qint16(4));
        QCOMPARE(rig.cell(24), u"424"_qs);
        QCOMPARE(rig.strip(), rig.stripFor(u"停4"_qs, 0));
    }

    void userPictures_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::addColumn<bool>("perMode");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("message");
        QImage red(100, 50, QImage::Format_RGB32);
        red.fill(Qt::red);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        red.save(&buffer, "BMP");
        QTest::newRow("a picture") << bmp << true << true << QString();
        QTest::newRow("built in: ignored") << bmp << false << false << QString();
        QTest::newRow("missing file: silent") << QByteArray() << true << false << QString();
        QTest::newRow("a FIFO: silent") << QByteArray("fifo") << true << false << QString();
        QTest::newRow("a link to /dev/zero: silent") << QByteArray("zero") << true << false
                                                     << QString();
        QTest::newRow("not a picture")
            << QByteArray("not a picture at all") << true << false
            << u"エラーです。\r\n\r\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"_qs;
    }

    void userPictures() {
        QFETCH(QByteArray, content);
        QFETCH(bool, perMode);
        QFETCH(bool, changes);
        QFETCH(QString, message);
        K40Rig rig;
        if (content == "fifo") QVERIFY(makeFifo(rig.path(u"on1.bmp"_qs)));
        else if (content == "zero") QVERIFY(makeEndlessFile(rig.path(u"on1.bmp"_qs)));
        else if (!content.isEmpty()) writeFile(rig.path(u"on1.bmp"_qs), content);
        rig.start();
        rig.edit([&](SettingsRecord& r) {
            r.panelPictures = perMode ? PanelPictures::PerMode : PanelPictures::BuiltIn;
            r.modePictures[1] = ModePicture::User;
            r.modePictureFiles[1] = rig.path(u"on1.bmp"_qs);
            r.ticketNumberColors[1] = 0x123456;
        });
        rig.console().backlightButtons[2]->click();
        const QImage before = rig.board().picture().toImage();
        rig.messages.shown.clear();
        rig.console().backlightButtons[1]->click();
        const QImage after = rig.board().picture().toImage();
        QCOMPARE(after != before, changes);
        if (changes) QCOMPARE(after.pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(rig.board().ticketNumberColor(7), BgrColor(0x123456));
        if (message.isEmpty()) {
            QVERIFY(rig.messages.shown.isEmpty());
        } else {
            QCOMPARE(rig.messages.shown.size(), 1);
            QCOMPARE(rig.messages.shown[0].text, message);
            QCOMPARE(rig.messages.shown[0].title, u"エラー"_qs);
            QCOMPARE(rig.messages.shown[0].icon, MsgIcon::Critical);
        }
    }

    void fareCellOptions_data() {
        QTest::addColumn<bool>("userSettable");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("zeroMode");
        QTest::newRow("accepted") << true << true << 3;
        QTest::newRow("cancelled") << true << false << 0;
        QTest::newRow("not user-settable") << false << true << 0;
    }

    void fareCellOptions() {
        QFETCH(bool, userSettable);
        QFETCH(bool, accepted);
        QFETCH(int, zeroMode);
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        rig.setRoute(u"3"_qs, u"1"_qs);
        if (accepted) rig.dialogs.digitAnswer = DigitOptions{3, 1, 2};
        rig.board().fareCells[5]->setUserSettable(userSettable);
        bool consoleDisabled = false;
        rig.dialogs.during = [&] { consoleDisabled = !rig.console().isEnabled(); };
        rig.dialogs.calls.clear();
        QTest::mouseDClick(rig.board().fareCells[5], Qt::LeftButton);
        QCOMPARE(consoleDisabled, userSettable);
        QVERIFY(rig.console().isEnabled());
        QCOMPARE(rig.dialogs.calls.size(), userSettable ? 1 : 0);
        for (int i = 1; i <= 24; ++i) {
            QCOMPARE(int(rig.board().fareCells[size_t(i)]->zeroMode()), zeroMode);
            QCOMPARE(rig.cell(i), QString::number(100 + i)); // values kept
        }
    }

    void digitListsShowEveryDigit() {
        // Every digit of every list in sight, to be clicked; a change of the
        // selection by the keys sounds like one by the mouse.
        K40Rig rig;
        writeFile(rig.path(u"key.wav"_qs), "RIFF");
        rig.edit([&](SettingsRecord& r) { r.keySound = rig.path(u"key.wav"_qs); });
        rig.start();
        ConsoleWindow& c = rig.console();
        QList<QListWidget*> lists(c.routeLists.begin(), c.routeLists.end());
        lists += QList<QListWidget*>(c.sectionLists.begin(), c.sectionLists.end());
        for (QListWidget* l : lists)
            for (int d = 0; d <= 9; ++d) {
                const QRect item = l->visualItemRect(l->item(d));
                QVERIFY(l->viewport()->rect().contains(item));
                QCOMPARE_GE(item.height(), 10);
            }
        const auto plays = [&] { return rig.sound.calls.filter(u"play S1 "_qs).size(); };
        QTest::mouseClick(lists[0]->viewport(), Qt::LeftButton, {},
                          lists[0]->visualItemRect(lists[0]->item(7)).center());
        QCOMPARE(lists[0]->currentRow(), 7);
        QCOMPARE(plays(), 1);
        lists[0]->setFocus();
        QTest::keyClick(lists[0], Qt::Key_Down);
        QCOMPARE(lists[0]->currentRow(), 8);
        QCOMPARE(plays(), 2);
    }

    void dragOnlyByTheFreeSurface() {
        // The left button drags the board from its free surface; labels, fare
        // cells and the strip keep their presses, and other buttons drag nothing.
        K40Rig rig;
        rig.start();
        BoardWindow& b = rig.board();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        const auto drag = [&](QWidget* w, Qt::MouseButton button) {
            const QPoint before = b.pos();
            const QPoint at(w->width() / 2, w->height() / 2);
            QTest::mousePress(w, button, {}, at);
            QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(30, 20)),
                             QPointF(w->mapToGlobal(at + QPoint(30, 20))), Qt::NoButton, button,
                             {});
            QApplication::sendEvent(w, &move);
            QTest::mouseRelease(w, button, {}, at + QPoint(30, 20));
            return b.pos() - before;
        };
        QCOMPARE(drag(b.ticketLabels[5], Qt::LeftButton), QPoint());
        QCOMPARE(drag(b.stopNameDisplay, Qt::LeftButton), QPoint());
        QCOMPARE(drag(b.fareCells[5], Qt::LeftButton), QPoint());
        QCOMPARE(drag(&b, Qt::RightButton), QPoint());
        QCOMPARE(drag(&b, Qt::LeftButton), QPoint(30, 20));
    }

    void clockDigits() {
        K40Rig rig;
        rig.start();
        rig.clock.current = QDateTime(QDate(2024, 3, 5), QTime(9, 5, 59));
        rig.board().showTime();
        QCOMPARE(rig.board().clockDigits[0]->value(), DigitValue(9));
        QCOMPARE(rig.board().clockDigits[1]->value(), DigitValue(5));
    }

    void previewSwitchAndCopy() {
        K40Rig rig;
        rig.start();
        ConsoleWindow& c = rig.console();
        QCOMPARE(c.width(), 359);
        QCOMPARE(c.previewToggle->toolTip(), u"整理券プレビューを開きます"_qs);
        c.previewToggle->click();
        QCOMPARE(c.width(), 600);
        QCOMPARE(c.previewToggle->text(), u"<<"_qs);
        QCOMPARE(c.previewToggle->toolTip(), u"整理券プレビューを隠します"_qs);
        c.previewToggle->click();
        QCOMPARE(c.width(), 359);
        QCOMPARE(c.previewToggle->text(), u">>"_qs);
        QCOMPARE(c.copyAction->text(), u"コピー(&C)"_qs);
        c.ticketPreview->image().setPixelColor(3, 4, Qt::blue);
        c.copyAction->trigger(); // the preview closed, the picture is copied all the same
        QCOMPARE(QGuiApplication::clipboard()->image().pixelColor(3, 4), QColor(Qt::blue));
    }

    void versionBox() {
        K40Rig rig;
        rig.start();
        bool boardDisabled = false;
        rig.dialogs.during = [&] { boardDisabled = !rig.board().isEnabled(); };
        rig.console().versionButton->click();
        QVERIFY(boardDisabled);
        QCOMPARE(rig.dialogs.calls.size(), 1);
        QVERIFY(rig.dialogs.calls[0].startsWith(
            u"version:機種：K40\r\nバージョン：4.0.0  ServiceRelease 1\r\n\r\n"_qs));
        QVERIFY(rig.board().isEnabled());
    }

    void optionsButton() {
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        rig.setRoute(u"3"_qs, u"2"_qs);
        bool disabledWhileOpen = false;
        QTimer::singleShot(0, &rig.options(), [&] {
            disabledWhileOpen = !rig.board().isEnabled() && !rig.console().isEnabled();
            rig.options().stopNamePage->prefixMode->setCurrentIndex(2);
            rig.options().okButton->click();
        });
        rig.console().optionsButton->click();
        QVERIFY(disabledWhileOpen);
        QVERIFY(rig.board().isEnabled() && rig.console().isEnabled());
        QVERIFY(rig.options().isHidden());
        QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 2)); // shown again with the new prefix
    }

    // The tape group: open with speech, its buttons with the route's
    // announcements; without speech it stays closed whatever is loaded.
    void tapeGroup_data() {
        QTest::addColumn<bool>("speech");
        QTest::newRow("speech") << true;
        QTest::newRow("no speech engine") << false;
    }

    void tapeGroup() {
        QFETCH(bool, speech);
        K40Rig rig;
        rig.speech.canCreate = speech;
        rig.writeTape(12, u"次は、停2です。,1,0\r\n案内,0,0\r\n"_qs);
        rig.writeRoute(12, 8);
        rig.start();
        ConsoleWindow& c = rig.console();
        QCOMPARE(c.tapeGroup->title(), speech ? u"音合使用可"_qs : u"音合使用不可"_qs);
        QCOMPARE(c.tapeGroup->isEnabled(), speech);
        QVERIFY(!c.tapeNextButton->isEnabled());
        // Disabled, the green buttons look it: their green is dimmed into the
        // group's grey.
        const auto green = [&] {
            const QColor at = c.tapeNextButton->grab().toImage().pixelColor(5, 5);
            return at.green() - (at.red() + at.blue()) / 2;
        };
        const int disabledGreen = green();
        rig.setRoute(u"12"_qs, u"1"_qs);
        QCOMPARE(c.tapeGroup->isEnabled(), speech);
        if (speech) QCOMPARE_LT(disabledGreen * 2, green());
        for (QPushButton* b :
             {c.tapeNextButton, c.tapeBackButton, c.tapeStopButton, c.voiceSettingsButton})
            QCOMPARE(b->isEnabled(), speech);
        if (!speech) return;

        // "送り" speaks the next row and, with its step flag, steps the board.
        rig.speech.calls.clear();
        c.tapeNextButton->click();
        QCOMPARE(rig.speech.calls, (QStringList{u"stop"_qs, u"speak:次は、停2です。"_qs}));
        QCOMPARE(rig.session().state().currentRow, qint16(2));
        c.tapeStopButton->click();
        QCOMPARE(rig.speech.calls.size(), 3);
        QCOMPARE(rig.speech.calls.last(), u"stop"_qs);
        // "戻し" at row 1 says nothing, but the row's flag steps the board back.
        c.tapeBackButton->click();
        QCOMPARE(rig.speech.calls.size(), 3);
        QCOMPARE(rig.session().state().currentRow, qint16(1));
    }

    void voiceDialog() {
        K40Rig rig;
        rig.speech.voiceNames = QStringList{u"mei_normal"_qs, u"my voice"_qs};
        rig.writeTape(12, u"a,0,0\r\n"_qs);
        rig.writeRoute(12, 8);
        rig.start();
        rig.setRoute(u"12"_qs, u"1"_qs);
        const VoiceSettings chosen{u"my voice"_qs, 1.5, -2, 3};
        const auto edit = [&](bool ok) {
            whenModal([&, ok](QDialog* d) {
                const auto close = qScopeGuard([d, ok] { ok ? d->accept() : d->reject(); });
                auto* v = qobject_cast<VoiceDialog*>(d);
                QVERIFY(v && v->parentWidget() == &rig.console());
                QCOMPARE(v->windowTitle(), u"音声の調節"_qs);
                QVERIFY(!rig.board().isEnabled());
                QCOMPARE(v->voiceList->count(), 2);
                v->voiceList->setCurrentIndex(1);
                v->speedBox->setValue(1.5);
                v->pitchBox->setValue(-2);
                v->volumeBox->setValue(3);
                v->tryButton->click();
            });
            rig.speech.calls.clear();
            rig.console().voiceSettingsButton->click();
            QVERIFY(rig.board().isEnabled());
        };
        // The try-out speaks the sample as edited; キャンセル gives the engine
        // its voice back and keeps nothing.
        edit(false);
        QCOMPARE(rig.speech.calls,
                 (QStringList{u"stop"_qs, u"voice:my voice"_qs,
                              u"speak:次は、市役所前です。お降りの方はお知らせください。"_qs,
                              u"stop"_qs, u"voice:"_qs}));
        QCOMPARE(rig.speech.current, VoiceSettings{});
        QVERIFY(!QFile::exists(rig.path(u"K40-voice.ini"_qs)));
        // OK keeps the voice, in the voice file at once; the next start speaks
        // with it.
        edit(true);
        QCOMPARE(rig.speech.current, chosen);
        rig.speech.current = {};
        rig.make();
        rig.start();
        QCOMPARE(rig.speech.current, chosen);
    }

    void exitOrder_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("no") << int(MsgAnswer::No);
        QTest::newRow("yes") << int(MsgAnswer::Yes);
    }

    void exitOrder() {
        QFETCH(int, answer);
        K40Rig rig;
        rig.writeRoute(3, 5);
        rig.start();
        rig.setRoute(u"3"_qs, u"2"_qs);
        rig.sound.calls.clear();
        rig.speech.calls.clear();
        rig.messages.answers << MsgAnswer(answer);
        rig.console().close();
        const auto& asked = rig.messages.shown.last();
        QCOMPARE(asked.text, u"カルテラを終了しますか？"_qs);
        QCOMPARE(asked.title, u"カルテラの終了確認"_qs);
        QVERIFY(asked.icon == MsgIcon::Question && asked.buttons == MsgButtons::YesNo);
        const bool yes = MsgAnswer(answer) == MsgAnswer::Yes;
        QCOMPARE(rig.app->ended(), yes);
        QCOMPARE(QFile::exists(rig.path(u"K40.in4"_qs)), yes);
        if (!yes) {
            QVERIFY(rig.console().isVisible());
            QCOMPARE(rig.cell(2), u"202"_qs);
            QVERIFY(rig.sound.calls.isEmpty());
            return;
        }
        QCOMPARE(rig.sound.calls, (QStringList{u"close S1"_qs, u"close S2"_qs, u"close S3"_qs,
                                               u"close S4"_qs}));
        QCOMPARE(rig.speech.calls, QStringList{u"release"_qs});
        QCOMPARE(rig.strip(), rig.stripFor(QString(), 0));
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
