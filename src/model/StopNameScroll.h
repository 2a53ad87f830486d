#pragma once
// The scroll of a long stop name: where the strip stands in the frame, step by
// step. A step moves the position by (speed div 200), places the strip, and
// then moves the position by speed / 200 more; a step lasts 1 ms while the
// strip can still be seen (or is still to come), and a step that finds the
// whole strip past the frame's left edge puts it back beyond the right edge
// and lasts the pause between passes. The steps are paced by a millisecond
// clock: each call of advance() applies the steps whose time has come.
//
// The strip is placed at the whole pixel nearest to the position, a half
// pixel going to the right (floor(pos + 0.5)), so that it moves evenly on
// both sides of x = 0.

#include <QtGlobal>
#include <functional>

class StopNameScroll {
public:
    enum class Phase { Stopped, Moving, Pausing };

    // What a step reads afresh: the speed, the pause between passes in ms and
    // the strip's width.
    struct Params {
        qint16 speed = 5;
        qint32 startWait = 1500;
        int stripWidth = 0;
    };

    // A frame applies at most this many steps, one second of moving; time
    // beyond them is dropped, so that a process held up for minutes goes on
    // where it was instead of racing through the steps it missed.
    static constexpr int MaxStepsPerFrame = 1000;

    explicit StopNameScroll(int frameWidth) : frameWidth_(frameWidth) {}

    // Begins a scroll at time nowMs: the strip beyond the right edge, the
    // first step due after 1 ms.
    void start(qint64 nowMs);
    // Ends the scroll; the strip stands at x = 0.
    void stop();
    // Counts the time of the next steps from nowMs (a new time base).
    void resync(qint64 nowMs) { lastMs_ = nowMs; }

    // One step; returns how many milliseconds it lasts.
    qint64 step(const Params& p);

    // Applies the steps due at nowMs, reading the parameters before each step.
    // Returns the number of steps applied.
    int advance(qint64 nowMs, const std::function<Params()>& read);

    Phase phase() const { return phase_; }
    bool running() const { return phase_ != Phase::Stopped; }
    double pos() const { return pos_; }
    int left() const { return left_; }

    // The whole pixel at which a strip at position pos stands.
    static int toPixel(double pos);

private:
    int frameWidth_;
    Phase phase_ = Phase::Stopped;
    double pos_ = 0;
    int left_ = 0;
    qint64 lastMs_ = 0;
    qint64 credit_ = 0; // ms available for steps; negative while a step's time runs
};
