// The console and the board together, driven through their controls: start-up,
// buttons, input during the route setting or a step, user pictures, the fare
// cells' options, the preview, the version box, the tape, voices and the exit.
#include "K40Rig.h"
#include "Modal.h"
#include "Pixels.h"
#include "app/InputHold.h"
#include "console/EntryPanel.h"
#include "console/TicketPreviewBox.h"
#include "console/VoiceDialog.h"

class TestConsole : public QObject {
    Q_OBJECT
private slots:
    void startUpAndTheMouse() {
        K40Rig rig;
        writeFile(rig.path(u"key.wav"_qs), "RIFF");
        rig.edit([&](SettingsRecord& r) { r.keySound = rig.path(u"key.wav"_qs); });
        rig.start();
        BoardWindow& b = rig.board();
        QCOMPARE(QStringList({b.windowTitle(), rig.console().windowTitle()}),
                 QStringList({u"カルテラ - 型番:K40"_qs, u"集中操作盤"_qs}));
        QVERIFY(rig.console().isVisible() && b.isVisible() && rig.options().isHidden());
        QCOMPARE(b.geometry(), QRect(0, 0, 582, 292));
        QVERIFY(!b.mask().contains(QPoint(0, 0)) && b.mask().contains(QPoint(1, 0)));
        for (int i = 1; i <= 24; ++i) {
            QCOMPARE(rig.cell(i), u"0"_qs);
            QVERIFY(b.ticketLabels[size_t(i)]->isVisibleTo(&b));
            QCOMPARE(b.ticketNumberColor(i), BgrColor(0xC0FFC0)); // ON2
        }
        QCOMPARE(b.ticketLabels[24]->text(), u"２４"_qs);
        ConsoleWindow& c = rig.console();
        QVERIFY(!c.stepForwardButton->isEnabled() && !c.clearDisplayCheck->isEnabled() &&
                c.backlightButtons[2]->isChecked());
        QVERIFY(rig.messages.shown.isEmpty()); // no settings file: nothing said
        QVERIFY(!b.clockTimer->isActive() && b.clockDigits[0]->isHidden());
        rig.clock.current = QDateTime(QDate(2024, 3, 5), QTime(9, 5, 59));
        b.showTime();
        QCOMPARE(QList<DigitValue>({b.clockDigits[0]->value(), b.clockDigits[1]->value()}),
                 QList<DigitValue>({DigitValue(9), DigitValue(5)}));
        b.close(); // the board is not closed by itself
        QVERIFY(b.isVisible());
        // The preview opens and closes; its picture is copied, open or not.
        QStringList seen;
        for (int click = 0; click < 3; ++click, c.previewToggle->click())
            seen << QString::number(c.width()) + c.previewToggle->text() + c.previewToggle->toolTip();
        QCOMPARE(seen, (QStringList{u"359>>整理券プレビューを開きます"_qs, u"600<<整理券プレビューを隠します"_qs,
                                    u"359>>整理券プレビューを開きます"_qs}));
        c.previewToggle->click();
        QCOMPARE(c.copyAction->text(), u"コピー(&C)"_qs);
        c.ticketPreview->image().setPixelColor(3, 4, Qt::blue);
        c.copyAction->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().pixelColor(3, 4), QColor(Qt::blue));
        // The version box, modal over the board.
        bool boardDisabled = false;
        rig.dialogs.during = [&] { boardDisabled = !b.isEnabled(); };
        c.versionButton->click();
        QVERIFY(boardDisabled && b.isEnabled());
        QVERIFY(rig.dialogs.calls.size() == 1 && rig.dialogs.calls[0].startsWith(
            u"version:機種：K40\r\nバージョン：4.0.0  ServiceRelease 1\r\n\r\n"_qs));
        // Every digit of every list in sight; a choice by the keys sounds like one by the mouse.
        rig.sound.calls.clear();
        QList<QListWidget*> lists(c.routeLists.begin(), c.routeLists.end());
        lists += QList<QListWidget*>(c.sectionLists.begin(), c.sectionLists.end());
        for (QListWidget* l : lists)
            for (int d = 0; d <= 9; ++d) {
                const QRect item = l->visualItemRect(l->item(d));
                QVERIFY(l->viewport()->rect().contains(item) && item.height() >= 10);
            }
        const auto state = [&] {
            return QList<qsizetype>{lists[0]->currentRow(), rig.sound.calls.filter(u"play S1 "_qs).size()};
        };
        QTest::mouseClick(lists[0]->viewport(), Qt::LeftButton, {},
                          lists[0]->visualItemRect(lists[0]->item(7)).center());
        QCOMPARE(state(), (QList<qsizetype>{7, 1}));
        lists[0]->setFocus();
        QTest::keyClick(lists[0], Qt::Key_Down);
        QCOMPARE(state(), (QList<qsizetype>{8, 2}));
        // The left button drags the board from its free surface; labels, fare
        // cells and the strip keep their presses, and other buttons drag nothing.
        QVERIFY(QTest::qWaitForWindowExposed(&b, NoTimeLimit));
        QList<QPoint> moves;
        for (auto [w, button] : {std::pair<QWidget*, Qt::MouseButton>{b.ticketLabels[5], Qt::LeftButton},
                                 {b.stopNameDisplay, Qt::LeftButton}, {b.fareCells[5], Qt::LeftButton},
                                 {&b, Qt::RightButton}, {&b, Qt::LeftButton}}) {
            const QPoint before = b.pos(), at(w->width() / 2, w->height() / 2), to = at + QPoint(30, 20);
            QTest::mousePress(w, button, {}, at);
            QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(w->mapToGlobal(to)),
                             Qt::NoButton, button, {});
            QApplication::sendEvent(w, &move);
            QTest::mouseRelease(w, button, {}, to);
            moves << b.pos() - before;
        }
        QCOMPARE(moves, (QList<QPoint>{{}, {}, {}, {}, {30, 20}}));
    }

    void controlsReachTheSessionAndTheBoard() {
        K40Rig rig;
        rig.writeRoute(12, 8);
        rig.start();
        ConsoleWindow& c = rig.console();
        // The digit lists and their "リセット".
        const int route[5] = {0, 0, 0, 1, 2}, section[3] = {0, 0, 5};
        for (int i = 0; i < 5; ++i) c.routeLists[size_t(i)]->setCurrentRow(route[i]);
        for (int i = 0; i < 3; ++i) c.sectionLists[size_t(i)]->setCurrentRow(section[i]);
        c.listResetButton->click();
        rig.clock.advance(RouteSession::LampTestMs);
        QCOMPARE(rig.session().state().routeText, u"00012"_qs);
        QVERIFY(rig.session().state().currentRow == 5 && c.stepForwardButton->isEnabled());
        // The keypad and its readouts.
        for (QPushButton* b : {c.routeKey, c.digitKeys[1], c.digitKeys[2], c.sectionKey, c.digitKeys[3]})
            b->click();
        QCOMPARE(QStringList({c.routeReadout->text(), c.sectionReadout->text()}),
                 QStringList({u"12"_qs, u"3"_qs}));
        c.keypadResetButton->click();
        rig.clock.advance(RouteSession::LampTestMs);
        c.stepForwardButton->click();
        QCOMPARE(rig.cell(24), u"424"_qs);
        c.stepBackButton->click();
        QCOMPARE(rig.cell(24), u"324"_qs);
        // Late night and the display clear.
        c.lateNightCheck->click();
        c.clearDisplayCheck->click();
        QCOMPARE(rig.cell(24), QString());
        QVERIFY(!c.keypadPanel->isEnabled() && !c.scrollGroup->isEnabled() &&
                !c.stepForwardButton->isEnabled() && !c.tapeGroup->isEnabled());
        QVERIFY(c.backlightGroup->isEnabled() && c.optionsButton->isEnabled());
        c.clearDisplayCheck->click();
        QCOMPARE(rig.cell(24), u"648"_qs);
        // The scroll bars reach the strip and their value labels.
        c.scrollSpeedBar->setValue(250), c.scrollIntervalBar->setValue(0);
        const StopNameDisplay& s = *rig.board().stopNameDisplay;
        QCOMPARE(QList<int>({s.speed(), s.scrollStartWait()}), QList<int>({250, 0}));
        QCOMPARE(QStringList({c.scrollSpeedValue->text(), c.scrollIntervalValue->text()}),
                 QStringList({u"250"_qs, u"0"_qs}));
        // A double-click on the keypad brings the lists in front.
        QTest::mouseDClick(c.keypadPanel, Qt::LeftButton);
        QVERIFY(rig.settings().record().keypadBehind);
        QCOMPARE(c.childAt(c.listResetButton->mapTo(&c, QPoint(5, 5))),
                 static_cast<QWidget*>(c.listResetButton));
    }

    void inputDuringAnOperationIsTakenAfterIt() {
        K40Rig rig;
        const QString step = rig.path(u"step.wav"_qs);
        writeFile(step, "RIFF");
        rig.startOn(3, 6, u"1"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.console(), NoTimeLimit));
        rig.console().keypadResetButton->click(); // the same route again
        QVERIFY(rig.session().isWaiting());
        QTest::mouseClick(rig.console().stepForwardButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(rig.cell(1), u"888"_qs); // still the lamp test
        QVERIFY(rig.app->inputHold().heldCount() > 0);
        // A message box shown meanwhile still takes its answer.
        QMessageBox box(QMessageBox::Warning, u"K40"_qs, u"?"_qs, QMessageBox::Ok, &rig.console());
        box.open();
        QVERIFY(QTest::qWaitForWindowExposed(&box, NoTimeLimit));
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!box.isVisible(), NoTimeLimit);
        rig.clock.advance(RouteSession::LampTestMs);
        QCOMPARE(rig.session().state().currentRow, qint16(1));
        QTRY_COMPARE_WITH_TIMEOUT(rig.session().state().currentRow, qint16(2), NoTimeLimit);
        QCOMPARE(rig.cell(1), u"201"_qs);
        QCOMPARE(rig.strip(), rig.stripFor(u"停2"_qs, 0));
        // Two clicks posted, as the window system queues them, and a key pressed while a
        // step's chime plays.
        rig.console().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.console(), NoTimeLimit));
        rig.edit(
            [&](SettingsRecord& r) { r.stepSound = step, r.stepSoundTiming = SoundTiming::Sync; });
        QPushButton* forward = rig.console().stepForwardButton;
        const QPointF at(forward->width() / 2.0, forward->height() / 2.0);
        bool posted = false;
        rig.sound.hook = [&](const QString& c) {
            if (posted || !c.startsWith(u"play S2 ") || !c.endsWith(u" wait")) return;
            posted = true;
            for (int i = 0; i < 4; ++i)
                QCoreApplication::postEvent(
                    forward,
                    new QMouseEvent(i % 2 ? QEvent::MouseButtonRelease : QEvent::MouseButtonPress,
                                    at, forward->mapToGlobal(at), Qt::LeftButton,
                                    i % 2 ? Qt::NoButton : Qt::LeftButton, {}));
            QTest::keyClick(&rig.console(), Qt::Key_PageDown);
        };
        forward->click();
        QCOMPARE(rig.session().state().currentRow, qint16(3));
        QTRY_COMPARE_WITH_TIMEOUT(rig.session().state().currentRow, qint16(6), NoTimeLimit);
        QCOMPARE(rig.cell(24), u"624"_qs);
        QCOMPARE(rig.strip(), rig.stripFor(u"停6"_qs, 0));
    }

    // The keys press the console's buttons, on the board (stepping and tape)
    // and on the console (the keypad's too), whatever has the focus; nothing
    // while the button is disabled.
    void keys_data() {
        QTest::addColumn<bool>("onBoard"); QTest::addColumn<bool>("cleared");
        QTest::addColumn<int>("key"); QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("pressed");
        const int none = Qt::NoModifier, pad = Qt::KeypadModifier;
        QTest::newRow("board →") << true << false << int(Qt::Key_Right) << none << "データ送り";
        QTest::newRow("board Page Down") << true << false << int(Qt::Key_PageDown) << none << "データ送り";
        QTest::newRow("board ←") << true << false << int(Qt::Key_Left) << none << "データ戻し";
        QTest::newRow("board Page Up") << true << false << int(Qt::Key_PageUp) << none << "データ戻し";
        QTest::newRow("board Space") << true << false << int(Qt::Key_Space) << none << "送り";
        QTest::newRow("board Backspace") << true << false << int(Qt::Key_Backspace) << none << "戻し";
        QTest::newRow("board .") << true << false << int(Qt::Key_Period) << none << "■";
        QTest::newRow("board 5") << true << false << int(Qt::Key_5) << none << "";
        QTest::newRow("board, cleared →") << true << true << int(Qt::Key_Right) << none << "";
        QTest::newRow("console Page Down") << false << false << int(Qt::Key_PageDown) << none << "データ送り";
        QTest::newRow("console ←") << false << false << int(Qt::Key_Left) << none << "データ戻し";
        QTest::newRow("console Space") << false << false << int(Qt::Key_Space) << none << "送り";
        QTest::newRow("console .") << false << false << int(Qt::Key_Period) << none << "■";
        QTest::newRow("console 7") << false << false << int(Qt::Key_7) << none << "7";
        QTest::newRow("console keypad 0") << false << false << int(Qt::Key_0) << pad << "0";
        QTest::newRow("console R") << false << false << int(Qt::Key_R) << none << "系統";
        QTest::newRow("console S") << false << false << int(Qt::Key_S) << none << "区間";
        QTest::newRow("console Enter") << false << false << int(Qt::Key_Return) << none << "リセット";
        QTest::newRow("console keypad Enter") << false << false << int(Qt::Key_Enter) << pad << "リセット";
        QTest::newRow("console, cleared 3") << false << true << int(Qt::Key_3) << none << "";
        QTest::newRow("console, cleared .") << false << true << int(Qt::Key_Period) << none << "";
    }
    void keys() {
        QFETCH(bool, onBoard); QFETCH(bool, cleared); QFETCH(int, key); QFETCH(int, modifiers);
        QFETCH(QString, pressed);
        K40Rig rig;
        rig.writeTape(3, u"次は、停2です。,1,0\r\n"_qs);
        rig.startOn(3, 6, u"1"_qs);
        ConsoleWindow& c = rig.console();
        if (cleared) c.clearDisplayCheck->click();
        QStringList clicked;
        for (QAbstractButton* b : c.findChildren<QAbstractButton*>())
            connect(b, &QAbstractButton::clicked, b, [&clicked, b] { clicked << b->text(); });
        QWidget& target = onBoard ? static_cast<QWidget&>(rig.board()) : c;
        target.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&target, NoTimeLimit));
        QWidget* focus = onBoard ? &target : c.routeLists[0]; // a list has keys of its own
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(clicked, pressed.isEmpty() ? QStringList() : QStringList{pressed});
    }

    // The board's size, from its menu and by Ctrl with plus, minus and 0:
    // everything stands that many times as large, the digits drawn at that
    // size; the size is kept for the next start.
    void boardSizes() {
        K40Rig rig;
        rig.startOn(3, 6, u"1"_qs);
        BoardWindow& b = rig.board();
        const QImage digits = b.fareCells[1]->image().copy();
        const QString fare = rig.cell(1);
        const QRect cell = b.fareCells[24]->geometry(), strip = b.stopNameDisplay->geometry();
        const auto sizeAction = [&](const QString& text) {
            for (QAction* a : b.menu->findChildren<QAction*>())
                if (a->text() == text) return a;
            return static_cast<QAction*>(nullptr);
        };
        sizeAction(u"200 %"_qs)->trigger();
        QVERIFY(sizeAction(u"200 %"_qs)->isChecked() && !sizeAction(u"100 %"_qs)->isChecked());
        QCOMPARE(b.size(), QSize(1164, 584));
        QCOMPARE(b.fareCells[24]->geometry(), QRect(cell.topLeft() * 2, cell.size() * 2));
        QCOMPARE(b.stopNameDisplay->size(), strip.size() * 2); // where the picture has it, ±1
        QCOMPARE_LE((b.stopNameDisplay->pos() - strip.topLeft() * 2).manhattanLength(), 1);
        QCOMPARE(b.ticketLabels[24]->font().pixelSize(), 38);
        const QImage drawn = b.fareCells[1]->image();
        QCOMPARE(drawn.size(), digits.size() * 2);
        QVERIFY(drawn != digits.scaled(digits.size() * 2)); // drawn anew, not enlarged
        const int lit = countColour(digits, rgb(b.fareCells[1]->litColor()));
        QCOMPARE_GT(countColour(drawn, rgb(b.fareCells[1]->litColor())), lit * 3);
        QCOMPARE(rig.cell(1), fare); // the values kept
        // The keys: smaller, 100 %, larger twice.
        b.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b, NoTimeLimit));
        QStringList sizes;
        for (auto [key, mod] : {std::pair{Qt::Key_Minus, Qt::ControlModifier}, {Qt::Key_0, Qt::ControlModifier},
                                {Qt::Key_Plus, Qt::ControlModifier}, {Qt::Key_Equal, Qt::ControlModifier}}) {
            QTest::keyClick(&b, key, mod);
            sizes << QStringLiteral("%1x%2").arg(b.width()).arg(b.height());
        }
        QCOMPARE(sizes, (QStringList{u"873x438"_qs, u"582x292"_qs, u"873x438"_qs, u"1164x584"_qs}));
        QCOMPARE(BoardChoiceFile::read(BoardChoiceFile::path()).scalePercent, 200);
        rig.make(), rig.start();
        QCOMPARE(rig.board().size(), QSize(1164, 584));
    }

    // Full screen by F11, from the menu or the command line: the largest board that fits,
    // centred; the pointer hides when still; Esc puts the board back where it stood.
    void fullScreen_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("F11, Esc") << "keys";
        QTest::newRow("menu, on a screen that is gone") << "menu";
        QTest::newRow("--fullscreen") << "start";
    }
    void fullScreen() {
        QFETCH(QString, how);
        K40Rig rig;
        rig.writeRoute(3, 6);
        StartOptions options;
        options.fullScreen = how == u"start";
        rig.app->start(options);
        rig.setRoute(u"3"_qs, u"1"_qs);
        BoardWindow& b = rig.board();
        const QRect cell(48, 129, 57, 29); // cell 1 at 100 %
        const QPoint at = b.windowedPosition();
        b.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&b, NoTimeLimit));
        if (how == u"keys") QTest::keyClick(&b, Qt::Key_F11);
        if (how == u"menu") {
            rig.settings().setBoardScreen(7);
            for (QAction* a : b.menu->actions())
                if (a->text() == u"全画面表示") a->trigger();
        }
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(b.isShownFullScreen() && b.isFullScreen());
        QCOMPARE(b.geometry(), screen);
        const qreal scale = std::min(screen.width() / 582.0, screen.height() / 292.0);
        QCOMPARE(b.scale(), scale);
        QCOMPARE(b.origin(), QPoint((screen.width() - qRound(582 * scale)) / 2,
                                    (screen.height() - qRound(292 * scale)) / 2));
        QCOMPARE_LE((b.fareCells[1]->pos() - b.origin() - cell.topLeft() * scale).manhattanLength(), 1);
        QCOMPARE(b.grab().toImage().pixelColor(screen.width() / 2, 0), QColor(Qt::black));
        rig.clock.advance(BoardWindow::PointerHideMs);
        QCOMPARE(b.cursor().shape(), Qt::BlankCursor);
        for (QPoint to : {QPoint(5, 5), QPoint(6, 6)}) QTest::mouseMove(b.fareCells[2], to); // over a cell
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(BoardChoiceFile::read(BoardChoiceFile::path()).fullScreen, how != u"start");
        QTest::keyClick(&b, Qt::Key_Escape);
        QVERIFY(!b.isShownFullScreen() && !b.isFullScreen());
        QCOMPARE(b.geometry(), QRect(at, QSize(582, 292)));
        QCOMPARE(b.fareCells[1]->geometry(), cell);
    }

    void userPictures_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::addColumn<bool>("perMode");
        QTest::addColumn<QStringList>("expected");   // none: the picture is shown
        const QStringList silent{u"unchanged"_qs};
        QTest::newRow("a picture") << QByteArray("bmp") << true << QStringList();
        QTest::newRow("built in: ignored") << QByteArray("bmp") << false << silent;
        QTest::newRow("missing file: silent") << QByteArray() << true << silent;
        QTest::newRow("a FIFO: silent") << QByteArray("fifo") << true << silent;
        QTest::newRow("a link to /dev/zero: silent") << QByteArray("zero") << true << silent;
        QTest::newRow("not a picture") << QByteArray("not a picture at all") << true
            << QStringList{silent[0], u"エラーです。\r\n\r\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"_qs};
    }

    void userPictures() {
        QFETCH(QByteArray, content);
        QFETCH(bool, perMode);
        K40Rig rig;
        const QString file = rig.path(u"on1.bmp"_qs);
        QImage red(100, 50, QImage::Format_RGB32);
        red.fill(Qt::red);
        if (content == "bmp") QVERIFY(red.save(file, "BMP"));
        else if (content == "fifo") QVERIFY(makeFifo(file));
        else if (content == "zero") QVERIFY(makeEndlessFile(file));
        else if (!content.isEmpty()) writeFile(file, content);
        rig.start();
        rig.edit([&](SettingsRecord& r) {
            r.panelPictures = perMode ? PanelPictures::PerMode : PanelPictures::BuiltIn;
            r.modePictures[1] = ModePicture::User, r.modePictureFiles[1] = file;
            r.ticketNumberColors[1] = 0x123456;
        });
        rig.console().backlightButtons[2]->click();
        const QImage before = rig.board().picture().toImage();
        rig.messages.shown.clear();
        rig.console().backlightButtons[1]->click();
        const QImage after = rig.board().picture().toImage();
        QStringList got = said(rig.messages);
        if (after == before) got.prepend(u"unchanged"_qs);
        else QCOMPARE(after.pixelColor(10, 10), QColor(Qt::red));
        QTEST(got, "expected");
        QCOMPARE(rig.board().ticketNumberColor(7), BgrColor(0x123456));
        for (const ShownMessage& m : rig.messages.shown)
            QVERIFY(m.title == u"エラー"_qs && m.icon == MsgIcon::Critical);
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
        K40Rig rig;
        rig.startOn(3, 5, u"1"_qs);
        if (accepted) rig.dialogs.digitAnswer = DigitOptions{3, 1, 2};
        rig.board().fareCells[5]->setUserSettable(userSettable);
        bool consoleDisabled = false;
        rig.dialogs.during = [&] { consoleDisabled = !rig.console().isEnabled(); };
        QTest::mouseDClick(rig.board().fareCells[5], Qt::LeftButton);
        QCOMPARE(
            QList<int>({consoleDisabled, rig.console().isEnabled(), int(rig.dialogs.calls.size())}),
            QList<int>({userSettable, 1, userSettable}));
        for (int i = 1; i <= 24; ++i) {
            QTEST(int(rig.board().fareCells[size_t(i)]->zeroMode()), "zeroMode");
            QCOMPARE(rig.cell(i), QString::number(100 + i)); // values kept
        }
    }

    // The tape group: open with speech, its buttons with the route's announcements, its
    // voice dialog; without speech it stays closed whatever is loaded.
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
        // Disabled, the green buttons look it: their green is dimmed into the group's grey.
        const auto green = [&] {
            const QColor at = c.tapeNextButton->grab().toImage().pixelColor(5, 5);
            return at.green() - (at.red() + at.blue()) / 2;
        };
        const int disabledGreen = green();
        rig.setRoute(u"12"_qs, u"1"_qs);
        QCOMPARE(c.tapeGroup->isEnabled(), speech);
        if (speech) QCOMPARE_LT(disabledGreen * 2, green());
        for (QPushButton* b : {c.tapeNextButton, c.tapeBackButton, c.tapeStopButton, c.voiceSettingsButton})
            QCOMPARE(b->isEnabled(), speech);
        if (!speech) return;
        // "送り" speaks the next row and, with its step flag, steps the board;
        // "戻し" at row 1 says nothing, but the row's flag steps the board back.
        QList<qint16> rows;
        rig.speech.calls.clear();
        for (QPushButton* b : {c.tapeNextButton, c.tapeStopButton, c.tapeBackButton}) {
            b->click();
            rows << rig.session().state().currentRow;
        }
        QCOMPARE(rig.speech.calls, (QStringList{u"stop"_qs, u"speak:次は、停2です。"_qs, u"stop"_qs}));
        QCOMPARE(rows, (QList<qint16>{2, 2, 1}));
        // The voice dialog.
        rig.speech.voiceNames = QStringList{u"mei_normal"_qs, u"my voice"_qs};
        const VoiceSettings chosen{u"my voice"_qs, 1.5, -2, 3};
        const auto edit = [&](bool ok) {
            whenModal([&, ok](QDialog* d) {
                const auto close = qScopeGuard([d, ok] { ok ? d->accept() : d->reject(); });
                auto* v = qobject_cast<VoiceDialog*>(d);
                QVERIFY(v && v->parentWidget() == &rig.console() && !rig.board().isEnabled());
                QCOMPARE(v->windowTitle(), u"音声の調節"_qs);
                QCOMPARE(v->voiceList->count(), 2);
                v->voiceList->setCurrentIndex(1), v->speedBox->setValue(1.5);
                v->pitchBox->setValue(-2), v->volumeBox->setValue(3);
                v->tryButton->click();
            });
            rig.speech.calls.clear(), rig.console().voiceSettingsButton->click();
            QVERIFY(rig.board().isEnabled());
        };
        // The try-out speaks the sample as edited; キャンセル gives the voice back, keeps nothing.
        edit(false);
        QCOMPARE(rig.speech.calls, (QStringList{u"stop"_qs, u"voice:my voice"_qs,
                                                u"speak:次は、市役所前です。お降りの方はお知らせください。"_qs,
                                                u"stop"_qs, u"voice:"_qs}));
        QCOMPARE(rig.speech.current, VoiceSettings{});
        QVERIFY(!QFile::exists(rig.path(u"K40-voice.ini"_qs)));
        // OK keeps the voice, in the voice file at once; the next start speaks with it.
        edit(true);
        QCOMPARE(rig.speech.current, chosen);
        rig.speech.current = {};
        rig.make();
        rig.start();
        QCOMPARE(rig.speech.current, chosen);
    }

    void exitOrder_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }

    void exitOrder() {
        QFETCH(bool, yes);
        K40Rig rig;
        rig.startOn(3, 5, u"2"_qs);
        rig.sound.calls.clear(), rig.speech.calls.clear();
        rig.messages.answers << (yes ? MsgAnswer::Yes : MsgAnswer::No);
        rig.console().close();
        const ShownMessage& asked = rig.messages.shown.last();
        QCOMPARE(QStringList({asked.text, asked.title}),
                 QStringList({u"カルテラを終了しますか？"_qs, u"カルテラの終了確認"_qs}));
        QVERIFY(asked.icon == MsgIcon::Question && asked.buttons == MsgButtons::YesNo);
        // Ended, saved and closed, or none of them.
        const QList<bool> done{rig.app->ended(), QFile::exists(rig.path(u"K40.in4"_qs)),
                               !rig.console().isVisible()};
        QCOMPARE(done, QList<bool>(3, yes));
        QCOMPARE(rig.sound.calls,
                 (yes ? QStringList{u"close S1"_qs, u"close S2"_qs, u"close S3"_qs, u"close S4"_qs}
                      : QStringList()));
        QCOMPARE(rig.speech.calls, yes ? QStringList{u"release"_qs} : QStringList());
        QCOMPARE(rig.strip(), rig.stripFor(yes ? QString() : u"停2"_qs, 0));
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console.moc"
