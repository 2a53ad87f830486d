#pragma once
// The clock of the system: the date and time of day, a monotonic count for
// pacing animations, and the one timed pause, which runs as a continuation
// (the lamp test's 3000 ms). Tests replace it with a clock that only moves
// when the test says so.

#include <QDateTime>
#include <functional>

class QObject;

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time.
    virtual QDateTime now() const = 0;
    // A monotonic count of milliseconds, for pacing animations.
    virtual qint64 monotonicMs() const = 0;
    // Runs done once, ms milliseconds from now, from the event loop (never
    // inside the caller). Nothing runs when context is destroyed before.
    virtual void after(int ms, QObject* context, std::function<void()> done) = 0;
};
