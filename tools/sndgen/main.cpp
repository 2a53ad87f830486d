// sndgen: makes the sample sounds of the board: the key beep, the
// route-setting chime, the step chimes for data values 1 to 3, the
// pre-announcement chime (wave files, 22050 Hz 16-bit mono) and a short melody
// (Standard MIDI File). The tones are struck-bar chimes: a soft attack, then
// partials that each die away at their own rate, the higher ones sooner.
//
//   sndgen <folder>
//
// Writes key.wav, route.wav, step1.wav, step2.wav, step3.wav, announce.wav and
// melody.mid into the folder and prints, per wave file, its length, peak,
// mean (DC offset), attack time and end level.

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;

struct Partial {
    double ratio; // frequency as a multiple of the note's
    double amp;   // starting amplitude
    double decay; // time constant of the decay, as a fraction of the ring time
};

// A struck metal bar, warm: a strong fundamental with a slowly beating twin,
// the octave, and the bar's inharmonic modes, which fade sooner. Decay time
// constants are fractions of the note's ring time.
const std::vector<Partial> Chime = {
    {1.0, 1.0, 1.0}, {1.0025, 0.18, 1.0}, {2.0, 0.22, 0.43}, {2.76, 0.10, 0.21}, {5.40, 0.04, 0.08},
};
// The key beep: an almost pure tone with a little edge.
const std::vector<Partial> Beep = {{1.0, 1.0, 1.0}, {2.0, 0.12, 0.6}, {3.0, 0.05, 0.4}};

using Buffer = std::vector<double>;

double noteHz(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Adds one struck note at time t0 (seconds) that rings for about ring seconds.
void strike(Buffer& buf, double t0, int note, double gain, const std::vector<Partial>& partials,
            double ring, double attack = 0.006) {
    const double f = noteHz(note);
    const auto start = static_cast<size_t>(t0 * Rate);
    for (size_t i = start; i < buf.size(); ++i) {
        const double t = static_cast<double>(i - start) / Rate;
        const double rise = t < attack ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack) : 1.0;
        double x = 0;
        for (const Partial& p : partials) {
            if (f * p.ratio > 0.45 * Rate) continue; // keep clear of the Nyquist frequency
            x += p.amp * std::exp(-t / (p.decay * ring)) *
                 std::sin(2 * std::numbers::pi * f * p.ratio * t);
        }
        buf[i] += gain * rise * x;
    }
}

// Scales to the peak level and fades the last fadeSeconds to zero.
void finish(Buffer& buf, double peakLevel, double fadeSeconds = 0.03) {
    double peak = 0;
    for (double x : buf)
        peak = std::max(peak, std::abs(x));
    const double scale = peak > 0 ? peakLevel / peak : 0;
    const auto fade = static_cast<size_t>(fadeSeconds * Rate);
    for (size_t i = 0; i < buf.size(); ++i) {
        double g = scale;
        const size_t left = buf.size() - i;
        if (left <= fade) g *= 0.5 - 0.5 * std::cos(std::numbers::pi * (left - 1) / fade);
        buf[i] *= g;
    }
}

Buffer seconds(double s) {
    return Buffer(static_cast<size_t>(s * Rate), 0.0);
}

bool writeWave(const std::string& path, const Buffer& buf) {
    SF_INFO info{};
    info.samplerate = Rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) return false;
    sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const auto written = sf_writef_double(f, buf.data(), static_cast<sf_count_t>(buf.size()));
    sf_close(f);
    return written == static_cast<sf_count_t>(buf.size());
}

// Length, peak, mean, time to the peak, and the peak of the last 20 ms.
void report(const std::string& name, const Buffer& buf) {
    double peak = 0, sum = 0, tail = 0;
    size_t at = 0;
    const size_t tailFrom = buf.size() - std::min(buf.size(), static_cast<size_t>(Rate / 50));
    for (size_t i = 0; i < buf.size(); ++i) {
        const double a = std::abs(buf[i]);
        if (a > peak) {
            peak = a;
            at = i;
        }
        sum += buf[i];
        if (i >= tailFrom) tail = std::max(tail, a);
    }
    std::printf("%-13s %5.0f ms  peak %5.1f dBFS  mean %+.1e  peak after %4.1f ms  end %.4f\n",
                name.c_str(), 1000.0 * buf.size() / Rate, 20 * std::log10(peak), sum / buf.size(),
                1000.0 * at / Rate, tail);
}

// --- Standard MIDI File ---------------------------------------------------

struct Event {
    uint32_t tick;
    int order; // at the same tick: note-offs before note-ons
    std::vector<uint8_t> bytes;
};

void putVarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t tmp[5];
    int n = 0;
    do {
        tmp[n++] = v & 0x7F;
        v >>= 7;
    } while (v);
    while (n--)
        out.push_back(static_cast<uint8_t>(tmp[n] | (n ? 0x80 : 0)));
}

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A four-bar tune in C major, a celesta over soft piano chords, 112 beats a
// minute; one track (format 0), 480 ticks a beat.
std::vector<uint8_t> melody() {
    constexpr uint32_t Beat = 480;
    std::vector<Event> ev;
    auto note = [&](uint8_t channel, int pitch, uint32_t at, uint32_t length, int velocity) {
        ev.push_back({at,
                      1,
                      {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(pitch),
                       static_cast<uint8_t>(velocity)}});
        ev.push_back({at + length - 10,
                      0,
                      {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 64}});
    };
    const uint32_t usPerBeat = 60'000'000 / 112;
    ev.push_back({0,
                  -1,
                  {0xFF, 0x51, 0x03, static_cast<uint8_t>(usPerBeat >> 16),
                   static_cast<uint8_t>(usPerBeat >> 8), static_cast<uint8_t>(usPerBeat)}});
    ev.push_back({0, -1, {0xFF, 0x58, 0x04, 4, 2, 24, 8}}); // 4/4
    ev.push_back({0, -1, {0xC0, 8}});                       // celesta
    ev.push_back({0, -1, {0xC1, 0}});                       // piano
    ev.push_back({0, -1, {0xB1, 7, 90}});                   // chords softer
    // Melody: {pitch, beats}
    const int tune[][2] = {{76, 1}, {79, 1}, {84, 2},          // E G C'
                           {83, 1}, {79, 1}, {81, 2},          // B G A
                           {77, 1}, {81, 1}, {79, 1}, {76, 1}, // F A G E
                           {74, 1}, {71, 1}, {72, 2}};         // D B C
    uint32_t t = 0;
    for (const auto& n : tune) {
        note(0, n[0], t, n[1] * Beat, 96);
        t += n[1] * Beat;
    }
    // Chords: {root position notes..., beats}
    const std::vector<std::vector<int>> chords = {
        {48, 55, 64}, {48, 55, 64}, {43, 55, 62}, {45, 57, 60},
        {41, 57, 60}, {48, 55, 64}, {43, 55, 59}, {48, 55, 64},
    };
    for (size_t i = 0; i < chords.size(); ++i)
        for (int pitch : chords[i])
            note(1, pitch, static_cast<uint32_t>(i) * 2 * Beat, 2 * Beat, 72);
    const uint32_t end = 16 * Beat + Beat / 2; // a short rest to let the last chord ring
    std::stable_sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> track;
    uint32_t last = 0;
    for (const Event& e : ev) {
        putVarLen(track, e.tick - last);
        last = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(track, end - last);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    putBE(file, 6, 4);
    putBE(file, 0, 2); // format 0
    putBE(file, 1, 2); // one track
    putBE(file, Beat, 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    putBE(file, static_cast<uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sndgen <folder>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    struct Sound {
        std::string name;
        Buffer buf;
    };
    std::vector<Sound> sounds;

    // Key beep: G6, 90 ms.
    Buffer key = seconds(0.09);
    strike(key, 0, 91, 1.0, Beep, 0.05, 0.003);
    finish(key, 0.45, 0.02);
    sounds.push_back({"key.wav", key});

    // Route set: a quick rising C6 E6 G6, the last one ringing.
    Buffer route = seconds(0.75);
    strike(route, 0.00, 84, 0.8, Chime, 0.12);
    strike(route, 0.08, 88, 0.8, Chime, 0.12);
    strike(route, 0.16, 91, 1.0, Chime, 0.2);
    finish(route, 0.6, 0.1);
    sounds.push_back({"route.wav", route});

    // Step chimes: one, two and three strokes.
    Buffer step1 = seconds(0.7);
    strike(step1, 0, 79, 1.0, Chime, 0.2); // G5
    finish(step1, 0.6, 0.12);
    sounds.push_back({"step1.wav", step1});

    Buffer step2 = seconds(0.8);
    strike(step2, 0.00, 81, 1.0, Chime, 0.2); // A5
    strike(step2, 0.18, 77, 1.0, Chime, 0.2); // F5
    finish(step2, 0.6, 0.12);
    sounds.push_back({"step2.wav", step2});

    Buffer step3 = seconds(0.9);
    strike(step3, 0.00, 72, 0.9, Chime, 0.2); // C5
    strike(step3, 0.15, 76, 0.9, Chime, 0.2); // E5
    strike(step3, 0.30, 79, 1.0, Chime, 0.2); // G5
    finish(step3, 0.6, 0.12);
    sounds.push_back({"step3.wav", step3});

    // Before an announcement: the two-tone "ピンポーン", E5 falling to C5.
    Buffer announce = seconds(1.5);
    strike(announce, 0.00, 76, 1.0, Chime, 0.4);
    strike(announce, 0.40, 72, 1.1, Chime, 0.45);
    finish(announce, 0.7, 0.3);
    sounds.push_back({"announce.wav", announce});

    for (const Sound& s : sounds) {
        if (!writeWave(dir + s.name, s.buf)) {
            std::fprintf(stderr, "sndgen: cannot write %s%s\n", dir.c_str(), s.name.c_str());
            return 1;
        }
        report(s.name, s.buf);
    }
    const std::vector<uint8_t> mid = melody();
    std::ofstream out(dir + "melody.mid", std::ios::binary);
    out.write(reinterpret_cast<const char*>(mid.data()), static_cast<std::streamsize>(mid.size()));
    if (!out) {
        std::fprintf(stderr, "sndgen: cannot write %smelody.mid\n", dir.c_str());
        return 1;
    }
    std::printf("%-13s %zu bytes\n", "melody.mid", mid.size());
    return 0;
}
