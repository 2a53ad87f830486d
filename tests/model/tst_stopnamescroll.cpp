// The scroll of a long stop name on its own: steps, pixels, restarts, pacing.
#include "model/StopNameScroll.h"
#include <QtTest>
#include <cmath>
#include <limits>

namespace { constexpr int Frame = 432; }

class TestStopNameScroll : public QObject {
    Q_OBJECT
private slots:
    // A step moves the position by speed div 200, places the strip and moves it
    // by speed / 200 more: after k steps from 432 the strip was placed at 432 -
    // (k - 1) × speed / 200 - k × (speed div 200). The step that finds the strip
    // gone puts it back beyond the right edge and lasts the pause; others 1 ms.
    void steps_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("wait");
        QTest::addColumn<QString>("trace"); // "step: its ms, left, phase; ..."
        QTest::addColumn<double>("pos");    // after the last of them
        const auto row = [](const char* tag, int speed, const char* trace, double pos = qQNaN(),
                            int width = 486, int wait = 1500) {
            QTest::newRow(tag) << speed << width << wait << QString::fromLatin1(trace) << pos;
        };
        row("5, 1 step", 5, "1: 1 432 M", 431.975);
        row("199, 1 step", 199, "1: 1 432 M", 431.005);
        row("200, 1 step", 200, "1: 1 431 M", 430.0);
        row("2000, 3 steps", 2000, "3: 1 382 M", 372.0);
        row("0 stands still", 0, "50: 1 432 M", 432.0);
        row("-400 moves right", -400, "2: 1 438 M", 440.0);
        // Half a pixel per step: -485.5 still shows at -485, -486 restarts.
        row("100, nine places", 100, "1836: 1 -485 M; 1837: 1500 432 P; 1838: 1 432 M");
        // Ten pixels per step and ten more after the placing.
        row("2000, ten places", 2000, "49: 1 -538 M; 50: 1500 432 P; 51: 1 412 M", qQNaN(), 540);
        // A negative pause is none: 434 - 4k after step k, gone at step 230.
        row("400, no pause", 400, "229: 1 -482 M; 230: 0 432 P; 231: 1 428 M", qQNaN(), 486, -1);
    }
    void steps() {
        QFETCH(int, speed); QFETCH(int, width); QFETCH(int, wait); QFETCH(QString, trace);
        QFETCH(double, pos);
        const StopNameScroll::Params p{static_cast<qint16>(speed), wait, width};
        StopNameScroll s(Frame); s.start(0);
        QCOMPARE(s.left(), Frame); // a scroll starts beyond the right edge
        QMap<int, QString> want;
        for (const QString& w : trace.split(u"; "_qs)) want[w.section(u':', 0, 0).toInt()] = w;
        for (int k = 1; k <= want.lastKey(); ++k) {
            const qint64 ms = s.step(p);
            const QString now = QStringLiteral("%1: %2 %3 %4").arg(k).arg(ms).arg(s.left())
                                    .arg(QChar(u"SMP"[int(s.phase())]));
            if (want.contains(k)) QCOMPARE(now, want[k]);
            else QVERIFY2(ms == 1 && s.phase() == StopNameScroll::Phase::Moving, qPrintable(now));
        }
        QVERIFY2(std::isnan(pos) || std::abs(s.pos() - pos) < 1e-6,
                 qPrintable(QString::number(s.pos(), 'g', 12)));
    }
    void nearestPixel() { // a half pixel goes to the right on both sides of 0
        using S = StopNameScroll;
        QCOMPARE(
            QList<int>({S::toPixel(-0.5), S::toPixel(-0.6), S::toPixel(0.5), S::toPixel(1e300)}),
            QList<int>({0, -1, 1, std::numeric_limits<int>::max()}));
    }
    // A frame applies a bounded number of steps, even with no pause and the fastest speed;
    // the scroll goes on from where it was, not from a backlog.
    void catchUpIsBounded() {
        for (const qint16 speed : {qint16{5}, qint16{32767}}) {
            StopNameScroll s(Frame); s.start(0);
            const auto read = [&] { return StopNameScroll::Params{speed, 0, 486}; };
            QCOMPARE(s.advance(10 * 60 * 1000, read), StopNameScroll::MaxStepsPerFrame);
            QCOMPARE(s.advance(10 * 60 * 1000 + 1, read), 1);
        }
    }
};
QTEST_APPLESS_MAIN(TestStopNameScroll)
#include "tst_stopnamescroll.moc"
