// The scroll of a long stop name on its own: steps, pixels, restarts, pacing.
#include "model/StopNameScroll.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr int Frame = 432;

StopNameScroll::Params params(qint16 speed, qint32 wait = 1500, int width = 486) {
    return {speed, wait, width};
}

} // namespace

class TestStopNameScroll : public QObject {
    Q_OBJECT
private slots:
    void stepDistance_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("left"); // where the last step placed the strip
        QTest::addColumn<double>("pos");
        // A step moves the position by speed div 200, places the strip and moves
        // it by speed / 200 more: from 432, after k steps the strip was placed at
        // 432 - (k - 1) × speed / 200 - k × (speed div 200).
        QTest::newRow("5, 1 step") << 5 << 1 << 432 << 431.975;
        QTest::newRow("199, 1 step") << 199 << 1 << 432 << 431.005;
        QTest::newRow("200, 1 step") << 200 << 1 << 431 << 430.0;
        QTest::newRow("2000, 3 steps") << 2000 << 3 << 382 << 372.0;
        QTest::newRow("0 stands still") << 0 << 50 << 432 << 432.0;
        QTest::newRow("-400 moves right") << -400 << 2 << 438 << 440.0;
    }
    void stepDistance() {
        QFETCH(int, speed);
        QFETCH(int, steps);
        QFETCH(double, pos);
        StopNameScroll s(Frame);
        s.start(0);
        QCOMPARE(s.left(), Frame); // a scroll starts beyond the right edge
        for (int k = 0; k < steps; ++k)
            QCOMPARE(s.step(params(static_cast<qint16>(speed))), qint64{1});
        QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
        QTEST(s.left(), "left");
        QVERIFY2(std::abs(s.pos() - pos) < 1e-6, qPrintable(QString::number(s.pos(), 'g', 12)));
    }

    void nearestPixel_data() {
        QTest::addColumn<double>("pos");
        QTest::addColumn<int>("px");
        // A half pixel goes to the right on both sides of 0.
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-0.6") << -0.6 << -1;
        QTest::newRow("huge") << 1e300 << std::numeric_limits<int>::max();
    }
    void nearestPixel() {
        QFETCH(double, pos);
        QTEST(StopNameScroll::toPixel(pos), "px");
    }

    void restartAfterWholeStrip_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("wait");
        QTest::addColumn<int>("lastVisibleStep");
        QTest::addColumn<int>("lastVisibleLeft");
        QTest::addColumn<int>("pause"); // how long the restarting step lasts
        QTest::addColumn<int>("firstLeftOfNextPass");
        // Half a pixel per step: -485.5 still shows at -485, -486 restarts.
        QTest::newRow("100, nine places") << 100 << 486 << 1500 << 1836 << -485 << 1500 << 432;
        // Ten pixels per step and ten more after the placing.
        QTest::newRow("2000, ten places") << 2000 << 540 << 1500 << 49 << -538 << 1500 << 412;
        // A negative pause is none: 434 - 4k after step k, gone at step 230.
        QTest::newRow("400, no pause") << 400 << 486 << -1 << 229 << -482 << 0 << 428;
    }
    void restartAfterWholeStrip() {
        QFETCH(int, speed);
        QFETCH(int, width);
        QFETCH(int, wait);
        QFETCH(int, lastVisibleStep);
        const StopNameScroll::Params p{static_cast<qint16>(speed), wait, width};
        StopNameScroll s(Frame);
        s.start(0);
        for (int k = 1; k <= lastVisibleStep; ++k)
            QCOMPARE(s.step(p), qint64{1});
        QTEST(s.left(), "lastVisibleLeft");
        QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
        // The step that finds the strip gone puts it back beyond the right edge.
        QTEST(int(s.step(p)), "pause");
        QCOMPARE(s.phase(), StopNameScroll::Phase::Pausing);
        QCOMPARE(s.left(), Frame);
        QCOMPARE(s.step(p), qint64{1});
        QCOMPARE(s.phase(), StopNameScroll::Phase::Moving);
        QTEST(s.left(), "firstLeftOfNextPass");
    }

    void catchUpIsBounded() {
        StopNameScroll s(Frame);
        s.start(0);
        const auto read = [] { return params(5); };
        QCOMPARE(s.advance(10 * 60 * 1000, read), StopNameScroll::MaxStepsPerFrame);
        // The scroll goes on from where it was, not from a backlog.
        QCOMPARE(s.advance(10 * 60 * 1000 + 16, read), 16);
        // Even with a pause of none and the fastest speed a frame ends.
        StopNameScroll fast(Frame);
        fast.start(0);
        const auto fastest = [] { return params(32767, 0); };
        QCOMPARE(fast.advance(1'000'000, fastest), StopNameScroll::MaxStepsPerFrame);
        QCOMPARE(fast.advance(1'000'001, fastest), 1);
    }
};

QTEST_APPLESS_MAIN(TestStopNameScroll)
#include "tst_stopnamescroll.moc"
