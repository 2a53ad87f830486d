// The mixer, the decoders and the sound outputs, on a real audio output.
#include "DiskOutput.h"
#include "TestFiles.h"
#include "audio/Mixer.h"
#include "audio/OfflineSoundOutput.h"
#include "audio/SdlSoundOutput.h"
#include "audio/SoundDecoder.h"
#include "model/AppInfo.h"
#include "model/SoundChannels.h"
#include <QtTest>
#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>
#include <numeric>
#include <thread>

namespace {
// Interleaved frames of a sine tone of amplitude 0.4 on every channel or on `only`.
std::vector<float> tone(double freq, double seconds, int rate, int channels = 1, int only = -1) {
    std::vector<float> s(static_cast<size_t>(seconds * rate) * channels);
    for (size_t i = 0; i < s.size(); ++i)
        if (only < 0 || static_cast<int>(i % channels) == only)
            s[i] = float(0.4 * std::sin(2 * std::numbers::pi * freq * double(i / channels) / rate));
    return s;
}
std::shared_ptr<PcmSound> pcm(int rate, std::vector<float> samples) {
    return std::make_shared<PcmSound>(PcmSound{rate, std::move(samples)});
}
// A RIFF wave file of 16-bit PCM.
QByteArray wave(const std::vector<float>& s, int channels, int rate) {
    QByteArray b;
    QDataStream d(&b, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    const auto size = static_cast<quint32>(s.size() * 2);
    d.writeRawData("RIFF", 4), d << 36 + size, d.writeRawData("WAVEfmt ", 8);
    d << quint32{16} << quint16{1} << quint16(channels) << quint32(rate)
      << quint32(rate * channels * 2) << quint16(channels * 2) << quint16{16};
    d.writeRawData("data", 4), d << size;
    for (float x : s) d << static_cast<qint16>(std::lround(x * 32767));
    return b;
}
// Writes a wave file of a mono tone; its path, or nothing when it fails.
QString writeTone(const QString& path, double freq, double seconds, int rate = 44100) {
    return writeFile(path, wave(tone(freq, seconds, rate), 1, rate)) ? path : QString();
}
// A Standard MIDI File of one piano note C5 lasting 0.3 s: a header of one
// track at 480 ticks a beat; program piano, note on, 288 ticks later note off.
QByteArray midiNote() {
    return QByteArray::fromHex("4d546864000000060000000101e0 4d54726b00000010"
                               "00c000 0090486e 8220804840 00ff2f00");
}
// The amplitude of a sine of freq in n samples of x from start, each `step` after the last.
double toneLevel(const std::vector<float>& x, size_t start, size_t n, double freq, int rate,
                 size_t step = 1) {
    const double c = 2 * std::cos(2 * std::numbers::pi * freq / rate);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < n; ++i)
        s2 = std::exchange(s1, x[start + i * step] + c * s1 - s2);
    return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2)) / n;
}
// Per 10 ms window of the output: does the tone of freq sound in it?
std::vector<bool> toneWindows(const std::vector<float>& x, double freq, int rate) {
    const size_t n = static_cast<size_t>(rate / 100);
    std::vector<bool> on;
    for (size_t at = 0; at + n <= x.size(); at += n)
        on.push_back(toneLevel(x, at, n, freq, rate) > 0.1);
    return on;
}
using C = SoundOutput::Channel;
using R = SoundOutput::Result;
constexpr auto Wave = SoundOutput::Format::Wave, Midi = SoundOutput::Format::Midi;
constexpr auto ForStart = SoundOutput::Wait::ForStart, ForEnd = SoundOutput::Wait::ForEnd;
} // namespace
class TestSound : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
private slots:
    void mixer() {
        Mixer mixer;
        // Voices of 100 frames of one value.
        const auto voice = [&](float v) { return mixer.add(pcm(44100, std::vector(2 * 100, v))); };
        const int a = voice(0.25f), b = voice(0.5f), c = voice(0.125f);
        std::vector<float> out(2 * 10, 9.0f);
        const auto mix = [&] { return mixer.mix(out.data(), 10), out; };
        QCOMPARE(mix()[0], 0.0f); // opened voices are silent until played
        QVERIFY(mixer.play(a, 0) && mixer.play(b, 95) && mixer.play(c, 0));
        mixer.stop(c), mix();
        QCOMPARE((QList<float>{out[9], out[10]}), (QList<float>{0.75f, 0.25f})); // b ends at 5
        QCOMPARE(mixer.position(a), 10);
        QVERIFY(mixer.state(b) == Mixer::State::Finished &&
                mixer.state(c) == Mixer::State::Stopped);
        mixer.remove(a);
        QVERIFY(!mixer.play(a, 0));
        // The sum is limited, not each step; a finished voice replays; one beyond its end is
        // silent.
        const int d = voice(0.75f), e = voice(-0.75f), f = voice(-0.75f);
        mixer.play(b, 0), mixer.play(c, 0), mixer.play(d, 0);
        QCOMPARE(mix()[0], Mixer::limited(1.375f));
        mixer.play(e, 0), mixer.play(f, 1000);
        QCOMPARE(mix()[0], 0.625f);
        QCOMPARE(mixer.state(f), Mixer::State::Finished);
        mixer.stop(b), mixer.stop(d), mixer.play(f, 0);
        QCOMPARE(mix()[0], Mixer::limited(-1.375f));
    }
    void limiter() {
        // Unchanged up to 0.9; beyond, rising ever more slowly, never reaching full scale.
        for (float x : {0.0f, 0.25f, -0.5f, 0.891f, -0.9f})
            QCOMPARE(Mixer::limited(x), x);
        float previous = Mixer::limited(0.9f);
        for (float x = 0.901f; x < 8.0f; x += 0.001f) {
            const float y = Mixer::limited(x);
            QVERIFY2(y >= previous && y < 1.0f, qPrintable(QString::number(x)));
            QCOMPARE(Mixer::limited(-x), -y);
            previous = y;
        }
        QVERIFY(Mixer::limited(0.95f) > 0.93f); // not squashed: the knee is smooth
        QCOMPARE(Mixer::limited(std::numeric_limits<float>::quiet_NaN()), 0.0f);
        QVERIFY(Mixer::limited(std::numeric_limits<float>::infinity()) < 1.0f);
    }
    void decodeWave_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("only");                // the channel that holds the tone, -1: all
        QTest::addColumn<QList<double>>("levels"); // the tone's level on the left and right
        QTest::newRow("stereo 44100, tone on the left") << 44100 << 2 << 0 << QList{0.4, 0.0};
        QTest::newRow("mono 8000") << 8000 << 1 << -1 << QList{0.4, 0.4};
        QTest::newRow("mono 96000") << 96000 << 1 << -1 << QList{0.4, 0.4};
        QTest::newRow("4 channels 22050, tone on the second") << 22050 << 4 << 1 << QList{0.0, 0.4};
    }
    void decodeWave() {
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, only);
        QFETCH(QList<double>, levels);
        constexpr int Out = 44100;
        const QString path = dir_.filePath(u"decoded.wav"_qs);
        QVERIFY(writeFile(path, wave(tone(1000, 0.25, rate, channels, only), channels, rate)));
        const auto sound = SoundDecoder::decodeWave(path, Out);
        QVERIFY(sound && sound->rate == Out);
        QCOMPARE_LE(std::abs(sound->frames() - Out / 4), Out / 200);
        // The tone at its pitch and level on the sides expected, away from the edges.
        for (int side : {0, 1}) {
            const double level = toneLevel(sound->samples, Out / 10 + side, Out / 10, 1000, Out, 2);
            QVERIFY2(std::abs(level - levels[side]) < 0.03,
                     qPrintable(QStringLiteral("side %1: %2").arg(side).arg(level)));
        }
    }
    void renderMidi() {
        const auto peak = [](auto& s) { return std::abs(std::ranges::max(s->samples, {}, fabsf)); };
        const QString path = dir_.filePath(u"note.mid"_qs), junk = dir_.filePath(u"junk.sf2"_qs);
        // Without a usable sound font nothing renders.
        QVERIFY(
            writeFile(path, midiNote()) &&
            writeFile(junk, QByteArray("RIFF\x10\x00\x00\x00sfbkLIST", 16) + QByteArray(600, 'x')));
        for (const QString& font : {dir_.filePath(u"absent.sf2"_qs), junk}) {
            MidiRenderer none(44100, font);
            QVERIFY(!none.available() && !none.render(path));
        }
        if (MidiRenderer::soundFontPath().isEmpty()) QSKIP("no General MIDI sound font installed");
        MidiRenderer midi(44100);
        QVERIFY(midi.available() && !midi.render(dir_.filePath(u"no-such.mid"_qs)));
        const auto sound = midi.render(path);
        QVERIFY(sound);
        // 0.3 s of the note and its release, cut once it has died away.
        QCOMPARE_GE(sound->lengthMs(), 300);
        QCOMPARE_LE(sound->lengthMs(), 3500);
        QVERIFY(peak(sound) > 0.02f);
        // Again the same, but for where the fading ring meets the cut-off (a tenth of a second).
        const auto again = midi.render(path);
        QVERIFY(again);
        QCOMPARE_LT(std::abs(again->frames() - sound->frames()), 44100 / 4);
        QVERIFY(std::abs(peak(again) - peak(sound)) < 0.05f * peak(sound));
    }
    // Each file is played on S2 while a long wave file plays on S1.
    void playing_data() {
        QTest::addColumn<QString>("name");     // of the file, MIDI if it ends in .mid
        QTest::addColumn<QByteArray>("bytes"); // its contents; null: no such file
        QTest::addColumn<int>("result");
        const bool synth = !MidiRenderer::soundFontPath().isEmpty();
        const int played = int(R::Played), bad = int(R::Unplayable);
        const int midi = synth ? played : int(R::NoSynthesiser), badMidi = synth ? bad : midi;
        const QByteArray good = wave(tone(440, 0.1, 8000), 1, 8000);
        const auto row = [](const char* tag, const char* name, const QByteArray& bytes,
                            int result) {
            QTest::newRow(tag) << QString::fromUtf8(name) << bytes << result;
        };
        row("wave", "a.WAV", good, played);
        row("blanks, quotes and Hangul in its name", "my \"chime\" 김.wav", good, played);
        row("MIDI", "a.mid", midiNote(), midi);
        row("missing file", "a.wav", {}, bad);
        // A file's content is judged by its decoding, which the play waits for.
        row("header cut short", "a.wav", good.left(30), bad);
        // The largest files taken, and just beyond; broken files are tst_badinput's.
        row("8 channels", "a.wav", wave(tone(440, 0.1, 8000, 8), 8, 8000), played);
        row("192 kHz", "a.wav", wave(tone(440, 0.1, 192000), 1, 192000), played);
        row("2 minutes", "a.wav", wave(tone(440, 120, 4000), 1, 4000), played);
        row("over 2 minutes", "a.wav", wave(tone(440, 120.1, 4000), 1, 4000), bad);
        row("MIDI over 1 MiB", "a.mid", midiNote() + QByteArray(1024 * 1024, 0), badMidi);
    }
    void playing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        QTemporaryDir dir;
        // S1 lasts far longer than any decoding of S2 can take, however busy the machine.
        const QString ok = writeTone(dir.filePath(u"ok.wav"_qs), 440, 60, 8000),
                      file = dir.filePath(name);
        if (!bytes.isNull()) QVERIFY(writeFile(file, bytes));
        SdlSoundOutput out; // the test environment's output: SDL's "dummy" driver
        QCOMPARE(out.play(C::S1, ok, Wave, ForStart), R::Played);
        QCOMPARE(int(out.play(C::S2, file, name.endsWith(u".mid") ? Midi : Wave, ForStart)),
                 result);
        // A sound that cannot play leaves its channel closed; the other plays on.
        QCOMPARE(out.isOpen(C::S2), result == int(R::Played));
        QVERIFY(out.isPlaying(C::S1));
    }
    void channelsOnOutput() {
        // On SDL's "disk" output: two channels sound together, one from a file at a rate of its
        // own and with blanks in its path; a new sound on a channel cuts the one before at once.
        const QString low = writeTone(dir_.filePath(u"my chimes/Step One.WAV"_qs), 500, 1.0, 22050);
        const QString high = writeTone(dir_.filePath(u"high.wav"_qs), 1200, 0.3);
        const QString next = writeTone(dir_.filePath(u"next.wav"_qs), 800, 0.2);
        // The program runs under a name with a blank and a quote.
        AppInfo::setExecutablePath(dir_.filePath(u"K40 \"copy\""_qs));
        const auto restore = qScopeGuard([] { AppInfo::setExecutablePath(QString()); });
        DiskOutput disk(dir_.filePath(u"output.raw"_qs));
        SdlSoundOutput* out = disk.output.get();
        const int rate = out->sampleRate();
        const SoundChannels channels(out);
        channels.play(low, C::S1, SoundChannels::Play::Async);
        channels.play(high, C::S2, SoundChannels::Play::Sync);
        QVERIFY(out->isOpen(C::S2) && !out->isPlaying(C::S2));
        QCOMPARE(out->positionMs(C::S2), 300); // played to its end before returning
        channels.play(next, C::S1, SoundChannels::Play::Sync), channels.closeAll();
        QVERIFY(!out->isOpen(C::S1) && !out->isOpen(C::S2));
        disk.output.reset();
        const std::vector<float> left = disk.left();
        const auto lowOn = toneWindows(left, 500, rate), highOn = toneWindows(left, 1200, rate),
                   nextOn = toneWindows(left, 800, rate);
        // Each at its pitch for its length, in 10 ms windows give or take the edges.
        QCOMPARE_GE(std::ranges::count(highOn, true), 27);
        QCOMPARE_LE(std::ranges::count(highOn, true), 31);
        QCOMPARE_GE(std::ranges::count(nextOn, true), 17);
        QCOMPARE_LE(std::ranges::count(nextOn, true), 21);
        const int both = std::inner_product(lowOn.begin(), lowOn.end(), highOn.begin(), 0,
                                            std::plus<>(), std::logical_and<>()); // windows of both
        QCOMPARE_GE(both, 20);
        const auto nextStart = std::find(nextOn.begin(), nextOn.end(), true) - nextOn.begin();
        for (size_t i = nextStart + 1; i < lowOn.size(); ++i)
            QVERIFY2(!lowOn[i], "the first sound goes on");
    }
    void sdlOutput() {
        // With no usable output a silent one that keeps time stands in; a synchronous play lasts as
        // long as its sound unless its channel is closed meanwhile.
        const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-output");
        SdlSoundOutput out;
        qputenv("SDL_AUDIODRIVER", previous);
        QCOMPARE(out.driverName(), u"dummy"_qs);
        const QString path = writeTone(dir_.filePath(u"sync.wav"_qs), 800, 0.3);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(out.play(C::S2, path, Wave, ForEnd), R::Played);
        QCOMPARE_GE(timer.elapsed(), 300);
        QVERIFY(!out.isPlaying(C::S2));
        QCOMPARE(out.positionMs(C::S2), 300);
        // Timers run meanwhile; one that closes the channel ends a play that would outlast it
        // however busy the machine (of a sound decoded before, so that the timer meets the play).
        const QString minute = writeTone(dir_.filePath(u"minute.wav"_qs), 800, 60, 8000);
        QCOMPARE(out.play(C::S2, minute, Wave, ForStart), R::Played);
        QTimer::singleShot(30, [&] { out.close(C::S2); });
        QCOMPARE(out.play(C::S2, minute, Wave, ForEnd), R::Played);
        QVERIFY(!out.isOpen(C::S2));
        // A voice made in memory at the speech engine's rate plays, brought to the output's rate;
        // what it held is replaced, even by nothing.
        QCOMPARE(out.play(C::Voice, pcm(22050, tone(900, 0.25, 22050, 2))), R::Played);
        QCOMPARE(out.lengthMs(C::Voice), 250);
        QVERIFY(out.isPlaying(C::Voice));
        QCOMPARE(out.play(C::Voice, nullptr), R::Unplayable);
        QVERIFY(!out.isOpen(C::Voice));
        QCOMPARE(out.play(C::Voice, pcm(22050, {})), R::Unplayable);
        const QString kept = writeTone(dir_.filePath(u"kept.wav"_qs), 600, 2.0);
        const int decoded = out.decodeCount();
        // Decoding runs aside: the event loop keeps going during a play that waits for its sound.
        // The decoding thread is held until a timer has ticked, so the play can only go on after
        // the event loop ran inside it, however long that takes.
        std::atomic<int> ticks{0};
        out.decodeThread().start([&] {
            while (ticks == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        QTimer ticker;
        ticker.callOnTimeout([&] { ++ticks; });
        ticker.start(0);
        QCOMPARE(out.play(C::S1, kept, Wave, ForStart), R::Played);
        ticker.stop();
        QCOMPARE((QList<qint64>{out.decodeCount() - decoded, out.lengthMs(C::S1)}),
                 (QList<qint64>{1, 2000}));
        // Played again, from the kept sound, on any channel; a changed file is decoded again.
        QCOMPARE(out.play(C::S3, kept, Wave, ForStart), R::Played);
        QCOMPARE(out.decodeCount() - decoded, 1);
        QVERIFY(writeTone(kept, 600, 1.0) == kept);
        QCOMPARE(out.play(C::S1, kept, Wave, ForStart), R::Played);
        QCOMPARE(
            (QList<qint64>{out.decodeCount() - decoded, out.lengthMs(C::S1), out.lengthMs(C::S3)}),
            (QList<qint64>{2, 1000, 2000})); // what S3 plays is its own
    }
    void mixerTakesChangesWhileMixing() {
        // The audio thread mixes while this one adds, plays and removes voices: nothing waits, and
        // nothing is freed under the mixer's feet (which the sanitizer build would see).
        Mixer mixer;
        std::atomic<bool> done{false};
        std::atomic<int> mixes{0};
        std::thread audio([&] {
            for (std::vector<float> out(2 * 256); !done.load(); ++mixes) {
                mixer.mix(out.data(), 256);
                if (!std::ranges::all_of(out, [](float x) { return x >= -1 && x <= 1; }))
                    std::abort();
            }
        });
        std::vector<int> kept;
        for (int round = 0; round < 2000; ++round) {
            const int id = mixer.add(pcm(44100, std::vector(2 * (100 + round % 700), 0.01f)));
            QVERIFY(id != 0);
            mixer.play(id, round % 50);
            if (round % 3) mixer.stop(id);
            round % 2 ? mixer.remove(id) : kept.push_back(id);
            if (kept.size() > 100) mixer.remove(kept.front()), kept.erase(kept.begin());
        }
        mixer.clear();
        QCOMPARE(mixer.voiceCount(), 0);
        while (mixes.load() <= 10) std::this_thread::yield();
        done = true;
        audio.join();
    }
    // Offline, a voice plays on while a file plays to its end on S2; 100 frames later the voice
    // is closed and 100 more are rendered.
    void offline_data() {
        QTest::addColumn<QString>("name");     // of the file, MIDI if it ends in .mid
        QTest::addColumn<QByteArray>("bytes"); // its contents; null: no such file
        QTest::addColumn<int>("result");
        const int badMidi =
            int(MidiRenderer::soundFontPath().isEmpty() ? R::NoSynthesiser : R::Unplayable);
        const QByteArray good = wave(tone(440, 0.105, 48000), 1, 48000); // 10.5 steps
        QTest::newRow("wave") << u"a.wav"_qs << good << int(R::Played);
        QTest::newRow("stereo at 8 kHz") << u"a.wav"_qs << wave(tone(300, 0.15, 8000, 2), 2, 8000)
                                         << int(R::Played);
        QTest::newRow("missing file") << u"a.wav"_qs << QByteArray() << int(R::Unplayable);
        QTest::newRow("header only") << u"a.wav"_qs << good.left(44) << int(R::Unplayable);
        QTest::newRow("wave as MIDI") << u"a.mid"_qs << good << badMidi;
    }
    void offline() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        if (!bytes.isNull()) QVERIFY(writeFile(file, bytes));
        OfflineSoundOutput out; // at 48 kHz, the rate of the voice and of the 10.5-step file
        std::vector<float> voice;
        for (float x : tone(900, 0.3, 48000)) voice.insert(voice.end(), {x, -x});
        QCOMPARE(out.play(C::Voice, pcm(48000, voice)), R::Played);
        QList<qint64> steps; // from, to, from, to, ...
        out.setAdvanceHook([&](qint64 from, qint64 to) { steps << from << to; });
        QCOMPARE(int(out.play(C::S2, file, name.endsWith(u".mid") ? Midi : Wave, ForEnd)), result);
        const auto sound =
            result == int(R::Played) ? SoundDecoder::decodeWave(file, 48000) : nullptr;
        const qint64 n = sound ? sound->frames() : 0;
        // The clock moved on by the sound's length exactly, in steps that follow on each other.
        QCOMPARE(out.elapsedFrames(), n);
        QCOMPARE(steps.isEmpty(), !sound);
        for (qsizetype i = 0; i < steps.size(); i += 2) {
            QCOMPARE(steps[i], i ? steps[i - 1] : 0);
            QVERIFY(steps[i + 1] > steps[i] && steps[i + 1] - steps[i] <= out.stepFrames());
        }
        if (sound) QCOMPARE(steps.last(), n);
        QVERIFY(!out.isPlaying(C::S2) && out.isPlaying(C::Voice));
        QCOMPARE(out.positionMs(C::S2), out.lengthMs(C::S2)); // 0 for a file that did not play
        out.render(100), out.close(C::Voice), out.render(100);
        QCOMPARE(out.elapsedMs(), (n + 200) * 1000 / 48000);
        // The sum of the two, limited as on the real output, then silence.
        const std::vector<float> audio = out.takeAudio();
        QCOMPARE(qint64(audio.size()), 2 * (n + 200));
        for (size_t i = 0; i < audio.size(); ++i) {
            const float sum = (qint64(i) < 2 * (n + 100) ? voice[i] : 0) +
                              (sound && i < sound->samples.size() ? sound->samples[i] : 0);
            QVERIFY2(audio[i] == Mixer::limited(sum), qPrintable(QString::number(i)));
        }
        QVERIFY(out.takeAudio().empty());
    }
};
QTEST_MAIN(TestSound)
#include "tst_sound.moc"
