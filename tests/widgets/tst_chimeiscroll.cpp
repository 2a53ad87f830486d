// Scrolling of a long stop name: the step arithmetic, the pause between
// passes and the pacing by the clock, on their own and in the widget.
#include "Fakes.h"
#include "widgets/QColorOf.h"
#include "widgets/StopNameDisplay.h"
#include "model/StopNameScroll.h"
#include "widgets/Typefaces.h"

#include <QSignalSpy>
#include <QtTest>
#include <cmath>

class TestChimeiScroll : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    // The stepping on its own.
    void stepDistance_data();
    void stepDistance();
    void nearestPixel_data();
    void nearestPixel();
    void restartAfterWholeStrip_data();
    void restartAfterWholeStrip();
    void negativePauseIsNone();
    void catchUpIsBounded();

    // In the widget.
    void longNameStartsBeyondRightEdge();
    void speedZeroBecomesOne();
    void widgetStepsWithClock_data();
    void widgetStepsWithClock();
    void nineCharactersRestartAtMinus486();
    void scrollStartWaitZero();
    void newNameDuringScroll();
    void emptyNameDuringScroll();
    void speedChangeAppliesAtOnce();
};

namespace {

constexpr int Frame = 432;
const QString nine = u"停留所前通り町一丁"_qs;

StopNameScroll::Params params(qint16 speed, qint32 wait = 1500, int width = 486) {
    return {speed, wait, width};
}

} // namespace

void TestChimeiScroll::initTestCase() {
    Typefaces::registerSubstitutions();
}

void TestChimeiScroll::stepDistance_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("left"); // where the last step placed the strip
    QTest::addColumn<double>("pos");
    // Between two placements the position moves (speed div 200) + speed / 200.
    QTest::newRow("5, 1 step") << 5 << 1 << 432 << 431.975;
    QTest::newRow("199, 1 step") << 199 << 1 << 432 << 431.005;
    QTest::newRow("200, 1 step") << 200 << 1 << 431 << 430.0;
    QTest::newRow("2000, 3 steps") << 2000 << 3 << 382 << 372.0;
    QTest::newRow("0 stands still") << 0 << 50 << 432 << 432.0;
    QTest::newRow("-400 moves right") << -400 << 2 << 438 << 440.0;
}

void TestChimeiScroll::stepDistance() {
    QFETCH(int, speed);
    QFETCH(int, steps);
    QFETCH(int, left);
    QFETCH(double, pos);
    StopNameScroll s(Frame);
    s.start(0);
    for (int k = 0; k < steps; ++k)
        QCOMPARE(s.step(params(static_cast<qint16>(speed))), qint64{1});
    QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
    QCOMPARE(s.left(), left);
    QVERIFY2(std::abs(s.pos() - pos) < 1e-6, qPrintable(QString::number(s.pos(), 'g', 12)));
}

void TestChimeiScroll::nearestPixel_data() {
    QTest::addColumn<double>("pos");
    QTest::addColumn<int>("px");
    QTest::newRow("431.5") << 431.5 << 432;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-0.6") << -0.6 << -1;
    QTest::newRow("-485.5") << -485.5 << -485;
    QTest::newRow("huge") << 1e300 << std::numeric_limits<int>::max();
}

void TestChimeiScroll::nearestPixel() {
    QFETCH(double, pos);
    QFETCH(int, px);
    QCOMPARE(StopNameScroll::toPixel(pos), px);
}

void TestChimeiScroll::restartAfterWholeStrip_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lastVisibleStep");
    QTest::addColumn<int>("lastVisibleLeft");
    QTest::addColumn<int>("firstLeftOfNextPass");
    // Half a pixel per step: -485.5 still shows at -485, -486 restarts.
    QTest::newRow("100, nine places") << 100 << 486 << 1836 << -485 << 432;
    QTest::newRow("2000, ten places") << 2000 << 540 << 49 << -538 << 412;
}

void TestChimeiScroll::restartAfterWholeStrip() {
    QFETCH(int, speed);
    QFETCH(int, width);
    QFETCH(int, lastVisibleStep);
    QFETCH(int, lastVisibleLeft);
    QFETCH(int, firstLeftOfNextPass);
    const auto p = params(static_cast<qint16>(speed), 1500, width);
    StopNameScroll s(Frame);
    s.start(0);
    for (int k = 1; k <= lastVisibleStep; ++k)
        QCOMPARE(s.step(p), qint64{1});
    QCOMPARE(s.left(), lastVisibleLeft);
    QVERIFY(s.left() > -width);
    QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
    // The step that finds the strip gone puts it back beyond the right edge
    // and lasts the pause.
    QCOMPARE(s.step(p), qint64{1500});
    QCOMPARE(s.phase(), StopNameScroll::Phase::Pausing);
    QCOMPARE(s.left(), Frame);
    QCOMPARE(s.step(p), qint64{1});
    QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
    QCOMPARE(s.left(), firstLeftOfNextPass);
}

void TestChimeiScroll::negativePauseIsNone() {
    StopNameScroll s(Frame);
    s.start(0);
    QCOMPARE(s.advance(230, [] { return params(400, -1); }), 231);
    QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
    QCOMPARE(s.left(), 428);
}

void TestChimeiScroll::catchUpIsBounded() {
    StopNameScroll s(Frame);
    s.start(0);
    const auto read = [] { return params(5); };
    QCOMPARE(s.advance(10 * 60 * 1000, read), StopNameScroll::MaxStepsPerFrame);
    // The scroll goes on from where it was, not from a backlog.
    QCOMPARE(s.advance(10 * 60 * 1000 + 16, read), 16);
    // Even with a pause of none and the fastest speed a frame ends.
    StopNameScroll fast(Frame);
    fast.start(0);
    QCOMPARE(fast.advance(1'000'000, [] { return params(32767, 0, 486); }),
             StopNameScroll::MaxStepsPerFrame);
    QCOMPARE(fast.advance(1'000'001, [] { return params(32767, 0, 486); }), 1);
}

// ---------------------------------------------------------------- widget

namespace {
struct Board {
    FakeClock clock;
    StopNameDisplay ctl{nullptr, nullptr, &clock};
    Board() { clock.monotonic = 50000; }
    // Moves the clock to ms after the scroll's start and lets a frame run.
    void at(qint64 ms) {
        clock.monotonic = 50000 + ms;
        ctl.advanceScroll();
    }
};

bool stripIsBlank(const StopNameDisplay& c) {
    const QImage& img = c.stripImage();
    const QRgb bg = toQColor(c.backColor()).rgb();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != bg) return false;
    return true;
}
} // namespace

void TestChimeiScroll::longNameStartsBeyondRightEdge() {
    Board b;
    b.ctl.setStopName(nine);
    QVERIFY(b.ctl.isScrolling());
    QVERIFY(b.ctl.frameTimerActive());
    QCOMPARE(b.ctl.stripLeft(), Frame);
    QCOMPARE(b.ctl.stripWidth(), 486);
    QVERIFY(!stripIsBlank(b.ctl));
    // Nothing moves until time passes.
    b.ctl.advanceScroll();
    QCOMPARE(b.ctl.stripLeft(), Frame);
}

void TestChimeiScroll::speedZeroBecomesOne() {
    Board b;
    b.ctl.setSpeed(0);
    QSignalSpy spy(&b.ctl, &StopNameDisplay::propertyChanged);
    b.ctl.setStopName(nine);
    QCOMPARE(b.ctl.speed(), qint16{1});
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), u"Speed"_qs);
    // 0.005 pixels per step: 432 until the position passes 431.5.
    b.at(99);
    QCOMPARE(b.ctl.stripLeft(), 432);
    b.at(102);
    QCOMPARE(b.ctl.stripLeft(), 431);
    QCOMPARE(b.ctl.speed(), qint16{1});
    // Set to 0 while scrolling, the strip stands.
    b.ctl.setSpeed(0);
    b.at(5000);
    QCOMPARE(b.ctl.stripLeft(), 431);
    QVERIFY(b.ctl.isScrolling());
}

void TestChimeiScroll::widgetStepsWithClock_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QList<int>>("lefts");
    QTest::newRow("5") << 5 << QList<int>{1, 20, 22, 40, 70} << QList<int>{432, 432, 431, 431, 430};
    QTest::newRow("199") << 199 << QList<int>{1, 2, 100} << QList<int>{432, 431, 333};
    QTest::newRow("200") << 200 << QList<int>{1, 16, 32, 100} << QList<int>{431, 401, 369, 233};
}

void TestChimeiScroll::widgetStepsWithClock() {
    QFETCH(int, speed);
    QFETCH(QList<int>, times);
    QFETCH(QList<int>, lefts);
    Board b;
    b.ctl.setSpeed(static_cast<qint16>(speed));
    b.ctl.setStopName(nine);
    for (int i = 0; i < times.size(); ++i) {
        b.at(times[i]);
        QCOMPARE(b.ctl.stripLeft(), lefts[i]);
    }
}

void TestChimeiScroll::nineCharactersRestartAtMinus486() {
    Board b;
    b.ctl.setSpeed(400);
    b.ctl.setStopName(nine);
    b.at(229);
    QCOMPARE(b.ctl.stripLeft(), -482);
    QVERIFY(!b.ctl.isScrollPausing());
    b.at(230);
    QCOMPARE(b.ctl.stripLeft(), Frame);
    QVERIFY(b.ctl.isScrollPausing());
    b.at(230 + 1499);
    QCOMPARE(b.ctl.stripLeft(), Frame);
    QVERIFY(b.ctl.isScrollPausing());
    b.at(230 + 1500);
    QVERIFY(!b.ctl.isScrollPausing());
    QCOMPARE(b.ctl.stripLeft(), 428);
}

void TestChimeiScroll::scrollStartWaitZero() {
    Board b;
    b.ctl.setSpeed(400);
    b.ctl.setScrollStartWait(0);
    b.ctl.setStopName(nine);
    b.at(230);
    QVERIFY(!b.ctl.isScrollPausing());
    QCOMPARE(b.ctl.stripLeft(), 428);
}

void TestChimeiScroll::newNameDuringScroll() {
    Board b;
    b.ctl.setSpeed(400);
    b.ctl.setStopName(nine);
    b.at(100);
    QCOMPARE(b.ctl.stripLeft(), 34);
    // A new long name starts over beyond the right edge; its steps count
    // from the new start.
    b.ctl.setStopName(nine + u"前"_qs);
    QVERIFY(b.ctl.isScrolling());
    QCOMPARE(b.ctl.stripWidth(), 540);
    QCOMPARE(b.ctl.stripLeft(), Frame);
    b.at(101);
    QCOMPARE(b.ctl.stripLeft(), 430);
    // A standing name ends the scroll.
    b.ctl.setStopName(u"系統選別中"_qs);
    QVERIFY(!b.ctl.isScrolling());
    QVERIFY(!b.ctl.frameTimerActive());
    QCOMPARE(b.ctl.stripLeft(), 0);
    QCOMPARE(b.ctl.stripWidth(), Frame);
    b.at(5000);
    QCOMPARE(b.ctl.stripLeft(), 0);
}

void TestChimeiScroll::emptyNameDuringScroll() {
    Board b;
    b.ctl.setSpeed(400);
    b.ctl.setStopName(nine);
    b.at(50);
    QCOMPARE(b.ctl.stripLeft(), 234);
    b.ctl.setStopName(QString());
    // Blank at once; the blank strip goes on moving.
    QVERIFY(stripIsBlank(b.ctl));
    QVERIFY(b.ctl.isScrolling());
    QCOMPARE(b.ctl.stripWidth(), 486);
    QCOMPARE(b.ctl.stripLeft(), 234);
    b.at(60);
    QCOMPARE(b.ctl.stripLeft(), 194);
    // The next name ends it.
    b.ctl.setStopName(u"次の停留所"_qs);
    QVERIFY(!b.ctl.isScrolling());
    QCOMPARE(b.ctl.stripLeft(), 0);
    QVERIFY(!stripIsBlank(b.ctl));
}

void TestChimeiScroll::speedChangeAppliesAtOnce() {
    Board b;
    b.ctl.setSpeed(200);
    b.ctl.setStopName(nine);
    b.at(10);
    QCOMPARE(b.ctl.stripLeft(), 433 - 20);
    b.ctl.setSpeed(400);
    b.at(11);
    QCOMPARE(b.ctl.stripLeft(), 412 - 2);
    // From 410 at 4 pixels a step the strip is gone at step 235.
    b.ctl.setScrollStartWait(100);
    b.at(234);
    QCOMPARE(b.ctl.stripLeft(), -482);
    b.at(235);
    QVERIFY(b.ctl.isScrollPausing());
    b.at(235 + 99);
    QVERIFY(b.ctl.isScrollPausing());
    b.at(235 + 100);
    QVERIFY(!b.ctl.isScrollPausing());
}

QTEST_MAIN(TestChimeiScroll)
#include "tst_chimeiscroll.moc"
