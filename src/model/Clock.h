#pragma once
// The clock of the system: the date and time of day, a monotonic count for
// pacing animations, and every wait. Tests replace it with a clock that only
// moves when the test says so.

#include <QDateTime>

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time.
    virtual QDateTime now() const = 0;
    // A monotonic count of milliseconds, for pacing animations.
    virtual qint64 monotonicMs() const = 0;
    // Blocks for ms milliseconds; windows stay painted but user input is held
    // back until the wait ends.
    virtual void wait(int ms) = 0;
};
