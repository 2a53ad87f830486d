#include "model/StopNameScroll.h"

#include <algorithm>
#include <cmath>
#include <limits>

int StopNameScroll::toPixel(double pos) {
    const double px = std::floor(pos + 0.5);
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (!(px >= lo)) return std::numeric_limits<int>::min(); // also NaN
    if (px > hi) return std::numeric_limits<int>::max();
    return static_cast<int>(px);
}

void StopNameScroll::start(qint64 nowMs) {
    phase_ = Phase::Moving;
    pos_ = frameWidth_;
    left_ = frameWidth_;
    lastMs_ = nowMs;
    credit_ = 0;
}

void StopNameScroll::stop() {
    phase_ = Phase::Stopped;
    left_ = 0;
    credit_ = 0;
}

qint64 StopNameScroll::step(const Params& p) {
    qint64 lasts = 1;
    pos_ -= p.speed / 200; // whole pixels, truncated towards zero
    left_ = toPixel(pos_);
    if (left_ > -p.stripWidth) {
        phase_ = Phase::Moving;
    } else {
        // The whole strip has passed: back beyond the right edge, out of
        // sight, for the pause before the next pass.
        left_ = frameWidth_;
        pos_ = frameWidth_;
        phase_ = Phase::Pausing;
        lasts = std::max<qint32>(p.startWait, 0);
    }
    pos_ -= p.speed / 200.0;
    return lasts;
}

int StopNameScroll::advance(qint64 nowMs, const std::function<Params()>& read) {
    if (phase_ == Phase::Stopped) return 0;
    credit_ += std::max<qint64>(nowMs - lastMs_, 0);
    lastMs_ = nowMs;
    int steps = 0;
    while (credit_ > 0 && steps < MaxStepsPerFrame) {
        credit_ -= step(read());
        ++steps;
    }
    credit_ = std::min<qint64>(credit_, 0);
    return steps;
}
