// The route session without windows: keypad, route setting, steps, display clear, tape, preview.
#include "Fakes.h"
#include "TestFiles.h"
#include "TestRoute.h"
#include "model/AnnouncementTape.h"
#include "model/Gtfs.h"
#include "model/StarterSettings.h"
#include "model/RouteSession.h"
#include "model/Settings.h"
#include "model/SoundChannels.h"
#include <QTemporaryDir>
#include <QtTest>

constexpr auto Next = RouteSession::Direction::Forward, Back = RouteSession::Direction::Back;

// A board that keeps what it was given; the strip holds its prefix mode to 0..2.
class FakeBoard : public RouteSession::Board {
public:
    void setCellValue(int cell, const DigitValue& v) override { cells[size_t(cell)] = v.toText(); }
    void resetCells(bool allLit) override { cells.fill(allLit ? u"888"_qs : QString()); }
    void setClockRunning(bool running) override { clock << running; }
    void showTicketPage(int first) override { pages << first; }
    qint16 prefixMode() const override { return prefix; }
    void setPrefixMode(qint16 m) override { prefix = m < 0 || m > 2 ? qint16{0} : m; }
    // The name with the prefix mode it is shown with and the fare of cell 24 then.
    void showStopName(const QString& name) override {
        shown << QStringLiteral("%1@%2:%3").arg(name).arg(prefix).arg(cells[24]);
    }
    std::array<QString, 61> cells{};
    QList<int> pages; // the first ticket of each page numbered
    qint16 prefix = 0;
    QStringList shown; // see showStopName()
    QList<bool> clock; // running or not, each time it is set
};

class FakePreview : public RouteSession::TicketPreview {
public:
    void clear() override { ++clears; }
    void draw(FareRow::TicketDrawing& t) override {
        drawn << QStringLiteral("%1|%2|%3").arg(t.stopName, t.dateText).arg(t.section);
        if (!rename.isEmpty()) t.stopName = rename;
    }
    int clears = 0;
    QStringList drawn; // stop name|date|section of each drawing
    QString rename; // the drawing rewrites the stop name to this
};

struct Rig {
    QTemporaryDir dir;
    RecordingMessageBox messages;
    FakeClock clock;
    RecordingSoundOutput sound;
    FakeSpeech speech;
    Settings settings{QDate(2024, 3, 5)};
    SoundChannels sounds{&sound};
    AnnouncementTape tape{&speech};
    RouteSession session{settings, sounds, tape, messages, clock};
    FakeBoard board;
    FakePreview preview;
    // With route `route` of `count` stops in the fare folder.
    explicit Rig(int route = 3, int count = 6) {
        writeRoute(route, count);
        session.setBoard(&board), session.setTicketPreview(&preview);
        edit([this](SettingsRecord& r) { r.fareFolder = r.announcementFolder = dir.path(); });
    }
    void edit(const std::function<void(SettingsRecord&)>& change) {
        SettingsRecord r = settings.record();
        change(r), settings.commitOptions(r);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // A sound file of that name; its path.
    QString soundFile(const QString& name) const {
        writeFile(path(name), "RIFF");
        return path(name);
    }
    void writeRoute(int r, int count) { writeFile(path(u"%1.hy3"_qs.arg(r)), testRoute(count)); }
    void writeTape(const QByteArray& text) { // route 3's announcements (null: none), with speech
        if (!text.isNull()) writeFile(path(u"3tp.csv"_qs), text);
        tape.createSpeech();
    }
    // Sets the route and lets its lamp test pass.
    void setRoute(const QString& route, const QString& section) {
        session.setRoute(route, section); clock.advance(RouteSession::LampTestMs);
    }
    void step(int n = 1, RouteSession::Direction d = Next) { while (n-- > 0) session.step(d); }
    QString cell(int i) const { return board.cells[size_t(i)]; }
    int row() const { return session.state().currentRow; }
    QString look(int i) const { return u"%1:%2"_qs.arg(row()).arg(cell(i)); } // row:cell
    QStringList stepPlays(RouteSession::Direction d = Next) { // what a step plays
        sound.calls.clear(), session.step(d);
        return sound.calls.filter(u"play"_qs);
    }
};

class TestRouteSession : public QObject {
    Q_OBJECT
private slots:
    void keypad_data() {
        QTest::addColumn<QList<int>>("keys"); QTest::addColumn<QString>("typed"); // route|section
        QTest::newRow("digits go to the section first") << QList<int>{1, 2, 3} << "|123";
        QTest::newRow("route of five digits") << QList<int>{10, 0, 0, 0, 1, 2, 7} << "00012|";
        QTest::newRow("section of three digits") << QList<int>{11, 1, 2, 3, 4} << "|123";
        QTest::newRow("route key clears only the route") << QList<int>{10, 4, 11, 5, 10, 6} << "6|5";
    }
    void keypad() {
        QFETCH(QList<int>, keys);
        Rig rig; rig.edit([&](SettingsRecord& r) { r.keySound = rig.soundFile(u"key.wav"_qs); });
        for (int k : keys) rig.session.pressKey(k);
        QTEST(rig.session.typedRoute() + u'|' + rig.session.typedSection(), "typed");
        QCOMPARE(rig.sound.calls.filter(u"play S1 "_qs).size(), keys.size()); // ignored keys too
    }
    void routeSetting() {
        Rig rig(12, 6);
        rig.edit([&](SettingsRecord& r) {
            r.routeSetSound = rig.soundFile(u"route.wav"_qs); r.prefixMode = 1;
        });
        rig.board.prefix = 1; // as the options put it on the strip
        rig.session.setRoute(u"012"_qs, u"1"_qs);
        // The lamp test: every segment lit for 3000 ms under "系統選別中", then the lamps.
        QVERIFY(rig.session.isWaiting() && !rig.session.canStep());
        QCOMPARE(rig.clock.waiting(), QList<qint64>{3000});
        QCOMPARE(rig.cell(1) + rig.cell(24) + rig.board.shown.join(u','), u"888888系統選別中@0:"_qs);
        QCOMPARE(rig.sound.calls.filter(u"play"_qs),
                 QStringList{"play S1 " + rig.path("route.wav")});
        QCOMPARE(rig.session.state().routeText, u"012"_qs);
        // Commands given during the lamp test: taken after it, in order.
        rig.step(); rig.session.pressKey(RouteSession::SectionKey);
        rig.session.pressKey(4); rig.step();
        QCOMPARE(rig.look(1) + u'|' + rig.session.typedSection(), u"1:888|"_qs);
        rig.clock.advance(3000);
        QVERIFY(!rig.session.isWaiting() && rig.session.canStep() && rig.messages.shown.isEmpty());
        QCOMPARE(rig.look(1) + u'|' + rig.session.typedSection(), u"3:301|4"_qs);
        // Row 1's stop name without the prefix, the rows after it with it.
        QCOMPARE(rig.board.shown.mid(1), QStringList({"停1@0:124", "停2@1:224", "停3@1:324"}));
        QCOMPARE(rig.board.prefix, qint16(1));
        for (int i = 1; i <= 24; ++i) QCOMPARE(rig.cell(i), QString::number(300 + i));
        QCOMPARE(rig.session.state().ticketDateText, u"03-05-2024"_qs);
    }
    void routeSettingFailures_data() {
        QTest::addColumn<QStringList>("entered"); // route, section
        QTest::addColumn<QString>("message");
        QTest::newRow("no such route") << QStringList{"99", "1"} << "指定した系統のデータがありません...";
        QTest::newRow("section too large") << QStringList{"12", "6"} << "指定した区間はデータの数よりも多いです...";
        QTest::newRow("count 0") << QStringList{"5", "1"} << "指定した系統はデータの数が0(未登録)の可能性があります...";
    }
    void routeSettingFailures() {
        QFETCH(QStringList, entered); QFETCH(QString, message);
        Rig rig(12, 6); rig.writeRoute(7, 4);
        writeFile(rig.path(u"5.hy3"_qs), QByteArray(2, '\0'));
        for (int r : {7, 12, 5, 99})
            writeFile(rig.path(QStringLiteral("%1tp.csv").arg(r)),
                      QStringLiteral("%1a,0,0\r\n%1b,0,0\r\n").arg(r).toLatin1());
        rig.tape.createSpeech(); rig.setRoute(u"7"_qs, u"2"_qs);
        rig.step(); // row 3 of route 7
        for (int i = 0; i < 2; ++i) rig.session.playTape(Next);
        rig.session.setRoute(entered[0], entered[1]);
        QCOMPARE(rig.messages.shown.size(), 1);
        QVERIFY(rig.messages.shown[0].text.startsWith(message));
        QVERIFY(!rig.session.isWaiting() && rig.clock.waiting().isEmpty()); // no lamp test
        QCOMPARE(rig.look(2), u"3:302"_qs); // the old fares stay
        // Route 7 stays whole: its route, section and announcements.
        const FareData::RouteState& s = rig.session.state();
        QCOMPARE(QStringList({s.routeText, QString::number(s.startSection),
                              QString::number(s.recordCount)}), QStringList({"7", "2", "4"}));
        QVERIFY(rig.tape.buttonsEnabled() && rig.tape.position() == 2);
        rig.speech.calls.clear(); rig.session.playTape(Back);
        QCOMPARE(rig.speech.calls, (QStringList{u"stop"_qs, u"speak:7a"_qs}));
        rig.step(2); // stepping goes on in the old table, within its rows
        QCOMPARE(rig.look(24), u"4:424"_qs);
    }
    void stepping() {
        Rig rig(3, 5);
        rig.edit([&](SettingsRecord& r) { r.stepSound = rig.soundFile(u"step.wav"_qs); });
        rig.setRoute(u"3"_qs, u"4"_qs);
        QCOMPARE(rig.cell(1) + rig.cell(2) + rig.cell(3), u"000"_qs); // below the start section
        QCOMPARE(rig.look(4), u"4:404"_qs);
        QCOMPARE(rig.stepPlays(), QStringList{u"play S2 "_qs + rig.path(u"step.wav"_qs)});
        QCOMPARE(rig.look(4), u"5:504"_qs);
        QVERIFY(rig.stepPlays().isEmpty() && rig.sound.calls.isEmpty() &&
                rig.row() == 5); // the end
        rig.step(4, Back); QCOMPARE(rig.look(4), u"1:104"_qs);
        const QStringList shown = rig.board.shown;
        QVERIFY(rig.stepPlays(Back).isEmpty() && rig.sound.calls.isEmpty() && rig.row() == 1);
        QCOMPARE(rig.board.shown, shown); // row 1: no sound, no redraw
        rig.settings.setLateNight(true);
        QCOMPARE(rig.cell(4), u"104"_qs); // shown at the next redraw
        rig.step(); QCOMPARE(rig.cell(4), u"408"_qs);
        // A column list left without a selection: told, and the row not half shown.
        rig.edit([](SettingsRecord& r) {
            r.infoColumn.on = Check::Checked; r.infoColumnNumber = std::nullopt;
        });
        rig.step(); QCOMPARE(rig.look(4), u"3:408"_qs);
        QCOMPARE(rig.messages.shown.size(), 1);
        QCOMPARE(rig.messages.shown[0].text, u"インデックスが有効範囲にありません。"_qs);
    }
    // By the value of v(30) (row % 5) of the row stepped to: sounds 1..3, or none.
    void stepSoundsByColumn() {
        Rig rig(3, 8);
        rig.edit([&](SettingsRecord& r) {
            r.stepSoundChoice = StepSoundChoice::ByColumn; r.stepSoundColumn = 29;
            r.stepSoundsByValue = {rig.soundFile(u"1.wav"_qs), rig.soundFile(u"2.wav"_qs),
                                   rig.soundFile(u"3.wav"_qs)};
        });
        rig.setRoute(u"3"_qs, u"1"_qs); QStringList played;
        for (int row = 2; row <= 6; ++row) {
            played << rig.stepPlays().join(u',').remove(rig.dir.path() + u'/');
            QCOMPARE(rig.cell(24), QString::number(100 * row + 24)); // the board changes either way
        }
        QCOMPARE(played, QStringList({"play S2 2.wav", "play S2 3.wav", "", "", "play S2 1.wav"}));
    }
    // A route of 60 stops imported from a feed, ridden on the starter
    // settings: a chime at every stop, the terminal's own at the end.
    void importedLongRouteChimes() {
        QByteArray stops = "stop_id,stop_name\n", times = "trip_id,stop_id,stop_sequence\n";
        for (int i = 1; i <= 60; ++i) {
            stops += "S" + QByteArray::number(i) + ",停" + QByteArray::number(i) + "\n";
            times += "T,S" + QByteArray::number(i) + "," + QByteArray::number(i) + "\n";
        }
        const auto feed = Gtfs::Feed::read({{u"routes.txt"_qs, "route_id\nR\n"},
                                            {u"trips.txt"_qs, "route_id,trip_id\nR,T\n"},
                                            {u"stops.txt"_qs, stops},
                                            {u"stop_times.txt"_qs, times}});
        const auto route = Gtfs::importRoute(*feed, {u"R"_qs, {}, {}, {}});
        QVERIFY(route);
        Rig rig;
        QVERIFY(writeFile(rig.path(u"60.hy3"_qs), FareData::serializeHy3(route->rows)));
        for (const char* chime : {"step1.wav", "step2.wav", "step3.wav"})
            rig.soundFile(QString::fromLatin1(chime));
        rig.edit([&](SettingsRecord& r) {
            r = StarterSettings::record(rig.dir.path(), rig.dir.path(), {}, QDate(2024, 3, 5));
        });
        rig.setRoute(u"60"_qs, u"1"_qs);
        QStringList played;
        for (int row = 2; row <= 60; ++row)
            played << rig.stepPlays().join(u',').remove(rig.dir.path() + u'/');
        QCOMPARE(played.count(u"play S2 step1.wav"_qs), 58);
        QCOMPARE(played.last(), u"play S2 step3.wav"_qs);
    }
    // The fares change after the step's synchronous sound; two steps taken while it plays
    // (by its event loop) come after, never inside it: no fares under another row's name.
    // A larger board shows more tickets; paging shows those beyond its cells
    // page by page (only pages with a fare from the section on, up to the
    // route's last ticket), round again.
    void paging_data() {
        QTest::addColumn<int>("grid"); QTest::addColumn<bool>("paging");
        QTest::addColumn<QString>("section"); QTest::addColumn<int>("stops");
        QTest::addColumn<QString>("pages"); // first ticket:cell 1/last cell, each page turn
        QTest::newRow("24 cells, paging") << 0 << true << "1" << 130 << "25:525/548 49:549/572 "
            "73:573/596 97:597/620 121:621/644 1:501/524 25:525/548 49:549/572";
        QTest::newRow("24 cells, 60 stops") << 0 << true << "1" << 60 << "25:525/548 49:549/572 "
            "1:501/524 25:525/548 49:549/572 1:501/524 25:525/548 49:549/572";
        QTest::newRow("50 cells, paging") << 3 << true << "1" << 130 << "51:551/600 101:601/650 "
            "1:501/550 51:551/600 101:601/650 1:501/550 51:551/600 101:601/650";
        QTest::newRow("60 cells, no paging") << 4 << false << "1" << 130 << "1:501/560 1:501/560 "
            "1:501/560 1:501/560 1:501/560 1:501/560 1:501/560 1:501/560";
        QTest::newRow("from section 30") << 0 << true << "30" << 130 << "25:0/3048 49:3049/3072 "
            "73:3073/3096 97:3097/3120 121:3121/3144 1:0/0 25:0/3048 49:3049/3072";
    }
    void paging() {
        QFETCH(int, grid); QFETCH(bool, paging); QFETCH(QString, section); QFETCH(int, stops);
        Rig rig(3, stops);
        rig.edit([&](SettingsRecord& r) { r.board = {BoardChoice::Grid(grid), paging, 3}; });
        const int last = rig.settings.record().board.cells();
        rig.setRoute(u"3"_qs, section);
        rig.step(std::max(5 - rig.row(), 0));
        QStringList pages;
        for (int i = 0; i < 8; ++i) {
            rig.clock.advance(3000);
            pages << u"%1:%2/%3"_qs.arg(rig.session.pageShown()).arg(rig.cell(1), rig.cell(last));
        }
        QTEST(pages.join(u' '), "pages");
        // Another row starts on its first page; a cleared board stops turning.
        rig.step();
        QCOMPARE(rig.session.pageShown(), 1);
        QCOMPARE(rig.board.pages.size(), paging ? 9 : 0);
        rig.session.setDisplayCleared(true);
        rig.clock.advance(30000);
        QCOMPARE(rig.board.pages.size(), paging ? 9 : 0);
    }
    void synchronousStepWaitsForTheSound() {
        Rig rig(3, 6);
        rig.edit([&](SettingsRecord& r) {
            r.stepSound = rig.soundFile(u"step.wav"_qs); r.stepSoundTiming = SoundTiming::Sync;
        });
        rig.setRoute(u"3"_qs, u"1"_qs); QStringList cellsWhilePlaying;
        rig.sound.hook = [&](const QString& c) {
            if (c != u"play S2 "_qs + rig.path(u"step.wav"_qs) + u" wait"_qs) return;
            cellsWhilePlaying << rig.cell(1);
            if (cellsWhilePlaying.size() == 1) rig.step(2);
        };
        rig.step(); QCOMPARE(cellsWhilePlaying, QStringList({"101", "201", "301"}));
        QCOMPARE(rig.row(), 4);
        QCOMPARE(rig.board.shown.mid(1),
                 QStringList({"停1@0:124", "停2@0:224", "停3@0:324", "停4@0:424"}));
    }
    void displayClear() {
        Rig rig(3, 5); rig.writeTape("next,0,1\r\n");
        rig.setRoute(u"3"_qs, u"2"_qs); QVERIFY(rig.tape.controlsEnabled());
        QSignalSpy controls(&rig.session, &RouteSession::controlsChanged);
        rig.session.setDisplayCleared(true);
        QVERIFY(rig.session.isDisplayCleared() && controls.count() == 1);
        for (int i = 1; i <= 24; ++i) QCOMPARE(rig.cell(i), QString());
        QCOMPARE(rig.board.shown.last(), u"@0:224"_qs); // the name first, then the cells
        QCOMPARE(rig.board.clock, QList<bool>{false});
        QVERIFY(!rig.tape.controlsEnabled()); // the tape's controls close too
        rig.session.setDisplayCleared(false);
        QVERIFY(rig.tape.controlsEnabled() && controls.count() == 2);
        QCOMPARE(rig.cell(1) + u'|' + rig.cell(2), u"|202"_qs); // cell 1 below the start section
        QCOMPARE(rig.board.clock, (QList<bool>{false, true}));
    }
    // The buttons on the tape "a,1 / b,0 / c,2 / d,1" (text, step flag), 6 stops from the
    // 3rd: what is said, where the tape and the board end up.
    void tapeButtons_data() {
        QTest::addColumn<QString>("presses"); // n "送り", b "戻し"; "-" first: no announcements
        QTest::addColumn<QString>("outcome"); // spoken, tape position, row
        QTest::newRow("next to the end and past it: a and d step") << "nnnnn" << "abcd 4 6";
        QTest::newRow("back right after loading: row 1 steps back") << "b" << " 1 2";
        QTest::newRow("then next speaks row 2") << "bn" << "b 2 2";
        QTest::newRow("back at row 1 says nothing") << "nb" << "a 1 3";
        QTest::newRow("back steps with the flag") << "nnb" << "aba 1 3";
        QTest::newRow("step flag 2 does not step") << "nnnb" << "abcb 2 4";
        QTest::newRow("no tape steps nothing") << "-nnb" << " 1 3";
    }
    void tapeButtons() {
        QFETCH(QString, presses);
        Rig rig(3, 6);
        rig.writeTape(presses.startsWith(u'-') ? QByteArray() : "a,1,0\nb,0,0\nc,2,0\nd,1,0\n");
        rig.setRoute(u"3"_qs, u"3"_qs); rig.speech.calls.clear();
        for (QChar p : presses) if (p != u'-') rig.session.playTape(p == u'n' ? Next : Back);
        const QString spoken = rig.speech.calls.filter(u"speak:"_qs).join("").remove(u"speak:"_qs);
        // Each row is spoken afresh: what was being said stops first.
        QCOMPARE(rig.speech.calls.count(u"stop"_qs), spoken.size());
        QTEST(QStringLiteral("%1 %2 %3").arg(spoken).arg(rig.tape.position()).arg(rig.row()),
              "outcome");
        rig.session.stopTape(); QCOMPARE(rig.speech.calls.last(), u"stop"_qs);
    }
    // The chime before an announcement: the row's own by its sound flag, or the
    // one chosen for every row (next only); on S3 for next, S2 for back.
    void tapeSounds_data() {
        QTest::addColumn<QString>("setup"); // the row's sound flag, "every" row, "back", "sync"
        QTest::addColumn<QString>("played"); // the chime, or empty
        QTest::newRow("flag 1, next") << "1" << "play S3 1.wav";
        QTest::newRow("flag 2, back") << "2 back" << "play S2 2.wav";
        QTest::newRow("flag 3, next, sync") << "3 sync" << "play S3 3.wav wait";
        QTest::newRow("flag 3, back, sync") << "3 back sync" << "play S2 3.wav wait";
        QTest::newRow("flag 0: none") << "0" << "";
        QTest::newRow("flag 4: none") << "4" << "";
        QTest::newRow("every row, flag 0") << "0 every" << "play S3 all.wav";
        QTest::newRow("every row, flag 2") << "2 every" << "play S3 all.wav";
        QTest::newRow("every row, back: by flag") << "1 every back" << "play S2 1.wav";
        QTest::newRow("every row, back, flag 0: none") << "0 every back" << "";
    }
    void tapeSounds() {
        QFETCH(QString, setup);
        const bool back = setup.contains(u"back");
        Rig rig(3, 6);
        rig.edit([&](SettingsRecord& r) {
            r.tapeSoundChoice =
                setup.contains(u"every") ? TapeSoundChoice::Always : TapeSoundChoice::ByFlag;
            r.tapeSoundTiming = setup.contains(u"sync") ? SoundTiming::Sync : SoundTiming::Async;
            r.tapeSound = rig.soundFile(u"all.wav"_qs);
            r.tapeSoundsByFlag = {rig.soundFile(u"1.wav"_qs), rig.soundFile(u"2.wav"_qs),
                                  rig.soundFile(u"3.wav"_qs)};
        });
        rig.writeTape("t,0," + setup.left(1).toLatin1() + "\r\nu,0,0\r\n");
        rig.setRoute(u"3"_qs, u"1"_qs);
        for (int i = 0; back && i < 2; ++i) rig.session.playTape(Next);
        rig.speech.calls.clear();
        QStringList played; // each with what was said before it: nothing, the chime comes first
        rig.sound.hook = [&](const QString& c) {
            played << c + rig.speech.calls.filter(u"speak"_qs).join("");
        };
        rig.session.playTape(back ? Back : Next);
        QCOMPARE(rig.speech.calls.filter(u"speak"_qs), QStringList{u"speak:t"_qs});
        QTEST(played.join(u',').remove(rig.dir.path() + u'/'), "played");
    }
    // The ticket's date at the route setting, the next day, and set again then.
    void ticketPreview_data() {
        QTest::addColumn<int>("mode"); // 0 each drawing, 1 at route setting, 2 fixed
        QTest::addColumn<QStringList>("dates");
        QTest::newRow("each drawing") << 0 << QStringList{"03-05-2024", "03-06-2024", "03-06-2024"};
        QTest::newRow("at route setting") << 1 << QStringList{"03-05-2024", "03-05-2024", "03-06-2024"};
        QTest::newRow("fixed") << 2 << QStringList{"2024/03/07", "2024/03/07", "2024/03/07"};
    }
    void ticketPreview() {
        QFETCH(int, mode); QFETCH(QStringList, dates);
        Rig rig(3, 5);
        rig.edit([mode](SettingsRecord& r) {
            r.useTicketPreview = Check::Checked; r.ticketDate = TicketDate(mode);
            r.fixedDate = u"2024/03/07"_qs;
        });
        rig.preview.rename = u"新しい名"_qs; // what the drawing leaves as the name is shown
        rig.setRoute(u"3"_qs, u"1"_qs); QStringList drawn{rig.preview.drawn.last()};
        rig.clock.current = rig.clock.current.addDays(1); // past midnight
        rig.step(); drawn << rig.preview.drawn.last();
        rig.setRoute(u"3"_qs, u"1"_qs);
        QCOMPARE(drawn << rig.preview.drawn.last(), QStringList({"停1|" + dates[0] + "|1",
                                  "停2|" + dates[1] + "|2", "停1|" + dates[2] + "|1"}));
        QCOMPARE(rig.board.shown.last(), u"新しい名@0:124"_qs);
        QCOMPARE(rig.session.table().row(1).name, u"新しい名"_qs);
        // Without the preview the picture is only cleared.
        rig.edit([](SettingsRecord& r) { r.useTicketPreview = Check::Unchecked; });
        const int drawnBefore = rig.preview.drawn.size(), clears = rig.preview.clears; rig.step();
        QVERIFY(rig.preview.drawn.size() == drawnBefore && rig.preview.clears == clears + 1);
    }
};
QTEST_GUILESS_MAIN(TestRouteSession)
#include "tst_routesession.moc"
