#pragma once
// A decoded sound, ready for the mixer: 32-bit float samples, two channels
// interleaved (left, right), at the output's sample rate.

#include <QtGlobal>
#include <vector>

struct PcmSound {
    int rate = 0;
    std::vector<float> samples;

    qint64 frames() const { return static_cast<qint64>(samples.size() / 2); }
    // The length in milliseconds, rounded up.
    qint64 lengthMs() const { return rate > 0 ? (frames() * 1000 + rate - 1) / rate : 0; }
};
