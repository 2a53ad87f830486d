// The settings file as the running system writes and reads it: a first start,
// every field through a start and an exit, files that cannot be taken whole,
// failed and killed saves, a signal to end, and the window positions.
#include "K40Rig.h"
#include "model/K40Error.h"

#include <csignal>

static SettingsRecord savedAt(const QString& path) {
    return SettingsCodec::decode(readFile(path)).record;
}

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void aFirstStartEndedWithoutAskingWrites402Bytes() {
        // The desktop session ends: everything the exit does, but nothing asked.
        K40Rig rig; // on the fake clock's 5 March 2024
        rig.start();
        rig.console().lateNightCheck->click();
        rig.app->end();
        QVERIFY(rig.app->ended() && rig.messages.shown.isEmpty());
        QCOMPARE(rig.speech.calls.last(), u"release"_qs);
        const QByteArray bytes = readFile(rig.path(u"K40.in4"_qs));
        QCOMPARE(bytes.size(), 402);
        QVERIFY(bytes.contains(QByteArray("\x0A\x00" "2024/03/05", 12)));
        const SettingsRecord r = savedAt(rig.path(u"K40.in4"_qs));
        QCOMPARE(QList<int>({r.scrollSpeed, r.scrollWait, r.lateNight}), QList<int>({30, 1500, 1}));
        QFile::remove(rig.path(u"K40.in4"_qs)); // once ended, nothing more happens
        rig.app->end();
        QVERIFY(!QFile::exists(rig.path(u"K40.in4"_qs)));
    }

    void everyFieldReachesTheWindowsAndComesBack() {
        K40Rig rig;
        const QByteArray written = SettingsCodec::encode(unusualSettings(rig.dir.path()));
        writeFile(rig.path(u"K40.in4"_qs), written);
        rig.start();
        QVERIFY2(rig.messages.shown.isEmpty(), qPrintable(rig.messages.shown.value(0).text));
        ConsoleWindow& c = rig.console();
        QCOMPARE(QList<QPoint>({rig.board().pos(), c.pos()}), QList<QPoint>({{10, 20}, {100, 200}}));
        QCOMPARE(QList<int>({c.width() /* preview open */, c.lateNightCheck->isChecked(),
                             c.scrollSpeedBar->value()}),
                 QList<int>({600, 1, 2000}));
        // The lists are in front: what lies at their "リセット" is that button.
        QCOMPARE(c.childAt(c.listResetButton->mapTo(&c, QPoint(5, 5))),
                 static_cast<QWidget*>(c.listResetButton));
        const StopNameDisplay& strip = *rig.board().stopNameDisplay;
        QCOMPARE(QList<int>({strip.speed(), strip.scrollStartWait(), strip.prefixMode(), strip.fontMode()}),
                 QList<int>({2000, 3000, 2, 4}));
        const QLabel* label = rig.board().ticketLabels[1];
        QVERIFY(label->text() == u"券なし"_qs && !label->isVisibleTo(&rig.board())); // numbers off
        for (int i = 1; i <= 24; ++i) {
            const SegmentDisplay* d = rig.board().fareCells[size_t(i)];
            QCOMPARE(QList<int>({d->shift(), d->zeroMode(), d->fillZero(), int(d->backColor())}),
                     QList<int>({(i - 1) % 3, (i - 1) % 4, 1 - i, 0x112233}));
            QCOMPARE(rig.cell(i), u" "_qs);
        }
        QCOMPARE(rig.board().clockDigits[1]->litColor(), BgrColor(0x778899));
        // The plug-in is asked at start-up; this one is none any more: silently.
        QVERIFY(rig.tickets.calls.contains(u"info:みなと.4SP"_qs));
        rig.app->saveSettings();
        const QByteArray saved = readFile(rig.path(u"K40.in4"_qs));
        // Compared from the first byte that differs, to show where.
        const auto at = std::mismatch(saved.begin(), saved.end(), written.begin(), written.end());
        QCOMPARE(saved.mid(at.first - saved.begin(), 16).toHex(' '),
                 written.mid(at.second - written.begin(), 16).toHex(' '));
    }

    void failedSaveKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("box");
        QTest::newRow("a text too long for its length field") << u"text"_qs << u"エラー Code:6\r\n"_qs;
        QTest::newRow("a full disk") << u"disk"_qs << u"エラー Code:57\r\n内容:「"_qs;
    }

    void failedSaveKeepsThePreviousFile() {
        QFETCH(QString, cause);
        QFETCH(QString, box);
        K40Rig rig;
        rig.start();
        rig.app->saveSettings();
        const QByteArray before = readFile(rig.path(u"K40.in4"_qs));
        QVERIFY(!before.isEmpty());
        rig.edit([&](SettingsRecord& r) { r.announcementFolder = QString(cause == u"text" ? 70000 : 100, u'x'); });
        std::optional<FileSizeLimit> full;
        if (cause == u"disk") full.emplace(before.size()); // the longer record does not fit
        rig.app->saveSettings();
        full.reset(); // before anything else is written, the test's output too
        QCOMPARE(rig.messages.shown.size(), 1);
        QVERIFY2(rig.messages.shown[0].text.startsWith(box), qPrintable(rig.messages.shown[0].text));
        QCOMPARE(readFile(rig.path(u"K40.in4"_qs)), before);
        QCOMPARE(QDir(rig.dir.path()).entryList({u"K40.in4*"_qs}, QDir::Files), QStringList{u"K40.in4"_qs});
    }

    // A file not taken whole gives its box and what came before the bad field, applies
    // no options, and is kept under another name before the first save, told once.
    void unreadFileIsKeptBeforeTheSave_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("bakTaken"); // K40.in4.bak is there already
        QTest::addColumn<QString>("box");
        const QByteArray outOfRange = storedWith(unusualSettings(u"/data"_qs), "SeiriNumStyle", 12);
        const QString e62 = u"エラー Code:62\r\n内容:ファイルにこれ以上データがありません。"_qs;
        const QString e380 = u"エラー Code:380\r\n内容:プロパティの値が不正です。（設定ファイルの SeiriNumStyle が 12）"_qs;
        QTest::newRow("an older, shorter layout (62)") << outOfRange.left(100) << false << e62;
        QTest::newRow("a value out of range (380)") << outOfRange << false << e380;
        QTest::newRow("K40.in4.bak taken") << outOfRange << true << e380;
    }

    void unreadFileIsKeptBeforeTheSave() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, bakTaken);
        K40Rig rig;
        rig.clock.current = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 5));
        writeFile(rig.path(u"K40.in4"_qs), stored);
        if (bakTaken) writeFile(rig.path(u"K40.in4.bak"_qs), "older");
        rig.start();
        QCOMPARE(rig.messages.shown.size(), 1);
        QTEST(rig.messages.shown[0].text, "box");
        QVERIFY(rig.messages.shown[0].title == u"カルテラVer4"_qs &&
                rig.messages.shown[0].icon == MsgIcon::None);
        // A file cut short gives nothing; one with a bad value what came before it.
        const bool taken = stored.size() >= 392;
        QCOMPARE(rig.settings().record().fareFolder, taken ? u"/data"_qs : QString());
        QCOMPARE(QList<int>({rig.board().fareCells[4]->zeroMode(),
                             rig.board().stopNameDisplay->prefixMode()}),
                 QList<int>({taken ? 3 : 0, taken ? 2 : 0}));
        QVERIFY(!rig.settings().record().keypadBehind && rig.board().pos() == QPoint(0, 0) &&
                rig.board().ticketLabels[1]->isVisibleTo(&rig.board()));
        for (int exit = 0; exit < 2; ++exit) QVERIFY(rig.app->requestExit());
        const QString kept = bakTaken ? u"K40.in4.20261207-093005.bak"_qs : u"K40.in4.bak"_qs;
        QCOMPARE(readFile(rig.path(kept)), stored);
        if (bakTaken) QCOMPARE(readFile(rig.path(u"K40.in4.bak"_qs)), QByteArray("older"));
        QCOMPARE(rig.messages.shown.size(), 1 + 2 + 1); // the start's box, two questions, this
        QCOMPARE(said(rig.messages).filter(rig.path(kept)).size(), 1);
        const SettingsCodec::Decoded saved = SettingsCodec::decode(readFile(rig.path(u"K40.in4"_qs)));
        QCOMPARE(saved.fieldsTaken, SettingsCodec::fieldCount()); // the new file whole
        QCOMPARE(saved.record.fareFolder, rig.settings().record().fareFolder);
    }

    // The real program on a command line it does not take: the reason and
    // the usage on standard error, exit status 2, no window opened.
    void commandLine() {
        for (const QString& wrong : {u"--bogus"_qs, u"--scale=20"_qs}) {
            QProcess k40;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
            k40.setProcessEnvironment(env);
            k40.start(QStringLiteral(K40_EXE), {wrong});
            QVERIFY(k40.waitForFinished(-1));
            QCOMPARE(k40.exitCode(), 2);
            const QString said = QString::fromUtf8(k40.readAllStandardError());
            QVERIFY2(said.contains(u"usage: K40 [--fullscreen]"_qs) && said.contains(wrong.mid(2, 3)),
                     qPrintable(said));
        }
    }

    void aSignalToEndSaves_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void aSignalToEndSaves() {
        // The real program, told to end by a signal sent at once (blocked until it is
        // ready to take it), writes its settings file as its exit does and ends normally.
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString exe = dir.filePath(u"K40"_qs);
        QVERIFY(QFile::copy(QStringLiteral(K40_EXE), exe));
        QProcess k40;
        k40.setChildProcessModifier([] {
            sigset_t set;
            sigemptyset(&set), sigaddset(&set, SIGTERM), sigaddset(&set, SIGHUP);
            sigprocmask(SIG_BLOCK, &set, nullptr);
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs),
            env.insert(u"SDL_AUDIODRIVER"_qs, u"dummy"_qs);
        k40.setProcessEnvironment(env), k40.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        k40.start(exe, {});
        QVERIFY(k40.waitForStarted());
        ::kill(pid_t(k40.processId()), signal);
        QVERIFY(k40.waitForFinished(-1));
        QVERIFY(k40.exitStatus() == QProcess::NormalExit && k40.exitCode() == 0);
        const SettingsRecord after = savedAt(dir.filePath(u"K40.in4"_qs)); // a first start's
        QCOMPARE(QList<int>({after.scrollSpeed, after.scrollWait}), QList<int>({30, 1500}));
    }

    void killedMidSaveLeavesAWholeFile() {
        // The file is always the previous record or the new one, whole, never a mix or a
        // stump; helpers/settingswriter.cpp saves all "A"s and all "B"s in turn.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"K40.in4"_qs);
        QRandomGenerator random(4040);
        for (int round = 0; round < 60; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(SETTINGS_WRITER), {path});
            QVERIFY(writer.waitForReadyRead(-1));
            QCOMPARE(writer.readLine().trimmed(), QByteArray("ready"));
            QThread::usleep(random.bounded(20000)); // somewhere in the saves
            writer.kill();                          // SIGKILL: no clean-up at all
            QVERIFY(writer.waitForFinished(-1));
            SettingsRecord r;
            try { r = SettingsFile::read(path).record; } catch (const K40Error& e) {
                QFAIL(qPrintable(QStringLiteral("round %1: ").arg(round) + e.description()));
            }
            const QChar c = r.fareFolder.isEmpty() ? QChar() : r.fareFolder[0];
            const QString text(20000, c);
            QVERIFY2((c == u'A' || c == u'B') && r.fareFolder == text && r.announcementFolder == text &&
                         r.modePictureFiles[0] == text && r.stepSound == text && r.fixedDate == QString(10, c),
                     qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void windowsComeBackWhereTheyWereOrOntoTheScreen() {
        K40Rig rig;
        FakeWindows windows{{{0, 0, 1280, 1024}}, {3, 24}, {6, 27}}; // a title bar and borders
        rig.services.windows = &windows;
        QList<QPoint> frames;
        QList<qint32> storedTops;
        for (int run = 0; run < 3; ++run) {
            rig.make();
            rig.start();
            if (run == 0) {
                // The console starts at the bottom right, frame and all.
                const QRect frame(windows.framePosition(rig.console()),
                                  windows.frameSize(rig.console()));
                QCOMPARE(frame.bottomRight(), QPoint(1279, 1023));
                windows.moveFrameTo(rig.console(), QPoint(40, 300));
                windows.moveFrameTo(rig.board(), QPoint(7, 9));
            }
            frames << windows.framePosition(rig.console()) << windows.framePosition(rig.board());
            QVERIFY(rig.app->requestExit());
            storedTops << savedAt(rig.path(u"K40.in4"_qs)).consoleTop;
        }
        QCOMPARE(frames, (QList<QPoint>{{40, 300}, {7, 9}, {40, 300}, {7, 9}, {40, 300}, {7, 9}}));
        QCOMPARE(storedTops, (QList<qint32>{4500, 4500, 4500})); // the frame's top, in twips
        // Stored on a screen of 1920 x 1080, both windows come whole onto a smaller one.
        SettingsRecord stored;
        stored.consoleLeft = 1400 * 15, stored.consoleTop = 700 * 15;
        stored.boardLeft = 1300 * 15, stored.boardTop = 760 * 15;
        FakeWindows small{{}};
        rig.services.windows = &small;
        for (QRect screen : {QRect(0, 0, 640, 480), QRect(0, 32, 800, 568) /* below a panel */}) {
            writeFile(rig.path(u"K40.in4"_qs), SettingsCodec::encode(stored));
            small.areas = {screen};
            rig.make();
            rig.start();
            for (QWidget* w :
                 {static_cast<QWidget*>(&rig.console()), static_cast<QWidget*>(&rig.board())}) {
                const QRect frame(small.framePosition(*w), small.frameSize(*w));
                QVERIFY2(screen.contains(frame), qPrintable(QDebug::toString(frame)));
            }
        }
    }
};

QTEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
