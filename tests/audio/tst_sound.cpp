// The sound channels' media command interface on a real audio output: the
// mixer, the decoders, the commands, and the SDL output.
#include "DiskOutput.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "audio/MediaCommand.h"
#include "audio/Mixer.h"
#include "audio/SdlMediaCommands.h"
#include "audio/SoundDecoder.h"
#include "model/SoundChannels.h"

#include <QThreadPool>
#include <QtTest>
#include <atomic>
#include <thread>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

// Interleaved frames of a sine tone of amplitude 0.4 on every channel or on `only`.
std::vector<float> tone(double freq, double seconds, int rate, int channels = 1, int only = -1) {
    std::vector<float> s(static_cast<size_t>(seconds * rate) * channels);
    for (size_t i = 0; i < s.size(); ++i)
        if (only < 0 || static_cast<int>(i % channels) == only)
            s[i] = static_cast<float>(
                0.4 * std::sin(2 * std::numbers::pi * freq * double(i / channels) / rate));
    return s;
}

// A RIFF wave file of 16-bit PCM.
QByteArray wave(const std::vector<float>& s, int channels, int rate) {
    QByteArray b;
    QDataStream d(&b, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    const auto size = static_cast<quint32>(s.size() * 2);
    d.writeRawData("RIFF", 4);
    d << 36 + size;
    d.writeRawData("WAVEfmt ", 8);
    d << quint32{16} << quint16{1} << quint16(channels) << quint32(rate)
      << quint32(rate * channels * 2) << quint16(channels * 2) << quint16{16};
    d.writeRawData("data", 4);
    d << size;
    for (float x : s)
        d << static_cast<qint16>(std::lround(x * 32767));
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

// The amplitude of a sine of freq in n samples of x from start.
double toneLevel(const std::vector<float>& x, size_t start, size_t n, double freq, int rate) {
    const double c = 2 * std::cos(2 * std::numbers::pi * freq / rate);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < n; ++i) {
        const double s0 = x[start + i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
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

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void mixer();
    void decodeWave_data();
    void decodeWave();
    void renderMidi();
    void commands_data();
    void commands();
    void channelsOnOutput();
    void synchronousPlay();
    void soundFromMemory();
    void limiter();
    void limits_data();
    void limits();
    void soundsAreKeptAndDecodedAside();
    void mixerTakesChangesWhileMixing();

private:
    QTemporaryDir dir_;
};

void TestSound::mixer() {
    Mixer mixer;
    const auto voice = [&](float value) { // 100 frames of one value
        auto s = std::make_shared<PcmSound>();
        s->rate = 44100;
        s->samples.assign(2 * 100, value);
        return mixer.add(s);
    };
    const int a = voice(0.25f), b = voice(0.5f), c = voice(0.125f);
    std::vector<float> out(2 * 10, 9.0f);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.0f); // opened voices are silent until played
    QVERIFY(mixer.play(a, 0) && mixer.play(b, 95) && mixer.play(c, 0));
    mixer.stop(c);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[9], 0.75f);  // b's last frame, right
    QCOMPARE(out[10], 0.25f); // b has ended
    QCOMPARE(mixer.position(a), 10);
    QCOMPARE(mixer.state(b), Mixer::State::Finished);
    QCOMPARE(mixer.state(c), Mixer::State::Stopped);
    mixer.remove(a);
    QVERIFY(!mixer.play(a, 0));
    // The sum, not each step of it, is limited; a finished voice plays
    // again from the start; a voice played from beyond its end plays nothing.
    const int d = voice(0.75f), e = voice(-0.75f), f = voice(-0.75f);
    mixer.play(b, 0);
    mixer.play(c, 0);
    mixer.play(d, 0);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], Mixer::limited(1.375f));
    mixer.play(e, 0);
    mixer.play(f, 1000);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.625f);
    QCOMPARE(mixer.state(f), Mixer::State::Finished);
    mixer.stop(b);
    mixer.stop(d);
    mixer.play(f, 0);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], Mixer::limited(-1.375f));
}

void TestSound::limiter() {
    // Up to 0.9 the sum goes out as it is; beyond, it rises ever more slowly
    // and never reaches full scale, whatever meets.
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

void TestSound::decodeWave_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("only"); // the channel that holds the tone, -1: all
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right"); // the tone's level on each side
    QTest::newRow("stereo 44100, tone on the left") << 44100 << 2 << 0 << 0.4 << 0.0;
    QTest::newRow("mono 8000") << 8000 << 1 << -1 << 0.4 << 0.4;
    QTest::newRow("mono 96000") << 96000 << 1 << -1 << 0.4 << 0.4;
    QTest::newRow("4 channels 22050, tone on the second") << 22050 << 4 << 1 << 0.0 << 0.4;
}

void TestSound::decodeWave() {
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, only);
    QFETCH(double, left);
    QFETCH(double, right);
    constexpr int Out = 44100;
    const QString path = dir_.filePath(u"decoded.wav"_qs);
    QVERIFY(writeFile(path, wave(tone(1000, 0.25, rate, channels, only), channels, rate)));
    const auto sound = SoundDecoder::decodeWave(path, Out);
    QVERIFY(sound);
    QCOMPARE(sound->rate, Out);
    QCOMPARE_LE(std::abs(sound->frames() - Out / 4), Out / 200);
    // The tone at its pitch and level on the sides expected, away from the edges.
    for (int side : {0, 1}) {
        std::vector<float> x;
        for (qint64 i = 0; i < sound->frames(); ++i)
            x.push_back(sound->samples[2 * i + side]);
        const double level = toneLevel(x, Out / 20, Out / 10, 1000, Out);
        QVERIFY2(std::abs(level - (side ? right : left)) < 0.03,
                 qPrintable(QStringLiteral("side %1: %2").arg(side).arg(level)));
    }
}

void TestSound::renderMidi() {
    const auto peak = [](const std::shared_ptr<PcmSound>& s) {
        return std::abs(std::ranges::max(s->samples, {}, [](float v) { return std::abs(v); }));
    };
    const QString path = dir_.filePath(u"note.mid"_qs);
    QVERIFY(writeFile(path, midiNote()));
    // Without a usable sound font nothing renders.
    const QString junkFont = dir_.filePath(u"junk.sf2"_qs);
    QVERIFY(
        writeFile(junkFont, QByteArray("RIFF\x10\x00\x00\x00sfbkLIST", 16) + QByteArray(600, 'x')));
    for (const QString& font : {dir_.filePath(u"absent.sf2"_qs), junkFont}) {
        MidiRenderer none(44100, font);
        QVERIFY(!none.available() && !none.render(path));
    }
    if (MidiRenderer::soundFontPath().isEmpty()) QSKIP("no General MIDI sound font installed");
    MidiRenderer midi(44100);
    QVERIFY(midi.available());
    QVERIFY(!midi.render(dir_.filePath(u"no-such.mid"_qs)));
    const auto sound = midi.render(path);
    QVERIFY(sound);
    // 0.3 s of the note and its release, cut once it has died away.
    QCOMPARE_GE(sound->lengthMs(), 300);
    QCOMPARE_LE(sound->lengthMs(), 3500);
    QVERIFY(peak(sound) > 0.02f);
    // The synthesiser is ready for the next file: the same file sounds the
    // same. Where the fading ring crosses the cut-off level varies from render
    // to render by up to about a tenth of a second.
    const auto again = midi.render(path);
    QVERIFY(again);
    QCOMPARE_LT(std::abs(again->frames() - sound->frames()), 44100 / 4);
    QVERIFY(std::abs(peak(again) - peak(sound)) < 0.05f * peak(sound));
}

// Each command follows the opening of a good wave file as "ok".
void TestSound::commands_data() {
    QTest::addColumn<QString>("command");  // %F: the file of the case
    QTest::addColumn<QString>("name");     // of that file
    QTest::addColumn<QByteArray>("bytes"); // its contents; null: no such file
    QTest::addColumn<int>("result");
    using namespace MediaError;
    const int midi = MidiRenderer::soundFontPath().isEmpty() ? CannotLoadDriver : None;
    const int badMidi = midi == None ? InvalidFile : CannotLoadDriver;
    const QByteArray good = wave(tone(440, 0.1, 8000), 1, 8000);
    const auto row = [](const char* tag, const char* command, const char* name,
                        const QByteArray& bytes, int result) {
        QTest::newRow(tag) << QString::fromLatin1(command) << QString::fromLatin1(name) << bytes
                           << result;
    };
    row("wave, type by extension", R"(open "%F" alias new wait)", "a.WAV", good, None);
    row("words in any case", R"( OPEN  "%F" TYPE WaveAudio ALIAS new Wait notify)", "a b.wav", good,
        None);
    row("MIDI, type by extension", R"(open "%F" alias new wait)", "a.mid", midiNote(), midi);
    row("missing file", R"(open "%F" type waveaudio alias new)", "a.wav", {}, FileNotFound);
    row("unknown type", R"(open "%F" type videodisc alias new)", "a.wav", good, InvalidDeviceName);
    row("unknown extension", R"(open "%F" alias new)", "a.mp3", good, ExtensionNotFound);
    row("alias taken, in any case", R"(open "%F" alias OK)", "a.wav", good, DuplicateAlias);
    // A file's content is judged by its decoding, which an open that waits
    // waits for.
    row("header cut short", R"(open "%F" alias new wait)", "a.wav", good.left(30), InvalidFile);
    row("header only", R"(open "%F" alias new wait)", "a.wav", good.left(44), InvalidFile);
    row("wave as MIDI", R"(open "%F" type sequencer alias new wait)", "a.wav", good, badMidi);
    row("MIDI cut short", R"(open "%F" alias new wait)", "a.mid",
        QByteArray("MThd\0\0\0\6\0\1\0\5\1\xE0MTrk\xFF\xFF\xFF\xFF\x90\x90\x90", 25), badMidi);
    row("play from, in any case", "PLAY OK FROM 150", "", {}, None);
    row("position past the end", "play ok from 201", "", {}, OutOfRange);
    row("play unknown alias", "play K40S4 from 0", "", {}, InvalidDeviceName);
    row("close all", "close all", "", {}, None);
    row("empty", "", "", {}, MissingCommandString);
    row("blanks", "   ", "", {}, MissingCommandString);
    row("unknown command", "record ok", "", {}, UnrecognizedCommand);
    row("no device", "play", "", {}, MissingDeviceName);
    row("quote not closed", R"(open "%F type waveaudio)", "a.wav", good, NoClosingQuote);
    row("type without value", R"(open "%F" alias new type)", "a.wav", good, MissingStringArgument);
    row("from not a number", "play ok from zero", "", {}, BadInteger);
    row("from negative", "play ok from -5", "", {}, BadInteger);
    row("unknown keyword", "play ok to 5", "", {}, UnrecognizedKeyword);
}

void TestSound::commands() {
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);
    QTemporaryDir dir;
    const QString ok = writeTone(dir.filePath(u"ok.wav"_qs), 440, 0.2), file = dir.filePath(name);
    if (!bytes.isNull()) QVERIFY(writeFile(file, bytes));
    SdlMediaCommands mci; // the test environment's output: SDL's "dummy" driver
    QVERIFY(mci.hasOutput());
    QCOMPARE(mci.sendString(u"open \"%1\" type waveaudio alias ok wait"_qs.arg(ok)), 0);
    QCOMPARE(mci.sendString(command.replace(u"%F"_qs, file)), result);
    QCOMPARE(mci.isOpen(u"new"_qs),
             result == 0 && command.trimmed().startsWith(u"open", Qt::CaseInsensitive));
    // After a failed command the device opened before plays on.
    if (result != 0) {
        QCOMPARE(mci.sendString(u"play ok from 0"_qs), 0);
        QVERIFY(mci.isPlaying(u"ok"_qs));
    }
}

// On an output that SDL's "disk" driver writes to a file, where the left
// channel of what it played is analysed.
void TestSound::channelsOnOutput() {
    // Two channels sound together, one of them from a file at a rate of its
    // own and with blanks in its path; a new sound on a channel cuts the one
    // before at once.
    const QString low = writeTone(dir_.filePath(u"my chimes/Step One.WAV"_qs), 500, 1.0, 22050);
    const QString high = writeTone(dir_.filePath(u"high.wav"_qs), 1200, 0.3);
    const QString next = writeTone(dir_.filePath(u"next.wav"_qs), 800, 0.2);
    DiskOutput disk(dir_.filePath(u"output.raw"_qs));
    SdlMediaCommands* out = disk.output.get();
    const int rate = out->sampleRate();
    const SoundChannels channels(out);
    const QString s1 = SoundChannels::alias(u"S1"_qs), s2 = SoundChannels::alias(u"S2"_qs);
    channels.play(low, u"S1"_qs, SoundChannels::Play::Async);
    QVERIFY(out->isPlaying(s1));
    channels.play(high, u"S2"_qs, SoundChannels::Play::Sync);
    QVERIFY(out->isOpen(s2) && !out->isPlaying(s2));
    QCOMPARE(out->positionMs(s2), 300); // played to its end before returning
    channels.play(next, u"S1"_qs, SoundChannels::Play::Sync);
    channels.closeAll();
    QVERIFY(!out->isOpen(s1) && !out->isOpen(s2));
    disk.output.reset();
    const std::vector<float> left = disk.left();
    const auto lowOn = toneWindows(left, 500, rate), highOn = toneWindows(left, 1200, rate),
               nextOn = toneWindows(left, 800, rate);
    // Each at its pitch for its length, in 10 ms windows give or take the edges.
    QCOMPARE_GE(std::ranges::count(highOn, true), 27);
    QCOMPARE_LE(std::ranges::count(highOn, true), 31);
    QCOMPARE_GE(std::ranges::count(nextOn, true), 17);
    QCOMPARE_LE(std::ranges::count(nextOn, true), 21);
    int both = 0;
    for (size_t i = 0; i < lowOn.size(); ++i)
        both += lowOn[i] && highOn[i];
    QCOMPARE_GE(both, 20);
    const auto nextStart = std::find(nextOn.begin(), nextOn.end(), true) - nextOn.begin();
    for (size_t i = nextStart + 1; i < lowOn.size(); ++i)
        QVERIFY2(!lowOn[i], "the first sound goes on");
}

void TestSound::synchronousPlay() {
    // With no usable output a silent one that keeps time stands in; a
    // synchronous play lasts as long as its sound unless it is stopped.
    const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-output");
    SdlMediaCommands mci;
    qputenv("SDL_AUDIODRIVER", previous);
    QCOMPARE(mci.driverName(), u"dummy"_qs);
    const QString path = writeTone(dir_.filePath(u"sync.wav"_qs), 800, 0.3);
    QCOMPARE(mci.sendString(u"open \"%1\" alias K40S2 wait"_qs.arg(path)), 0);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(mci.sendString(u"play K40S2 from 0 wait"_qs), 0);
    QCOMPARE_GE(timer.elapsed(), 300);
    QVERIFY(!mci.isPlaying(u"K40S2"_qs));
    QCOMPARE(mci.positionMs(u"K40S2"_qs), 300);
    // From a position: the rest of the sound.
    QCOMPARE(mci.sendString(u"play K40S2 from 200"_qs), 0);
    QCOMPARE_GE(mci.positionMs(u"K40S2"_qs), 200);
    timer.restart();
    QCOMPARE(mci.sendString(u"play K40S2 from 200 wait"_qs), 0);
    QCOMPARE_GE(timer.elapsed(), 100);
    // Timers run meanwhile; one that stops the sound ends the play.
    QTimer::singleShot(30, [&] { mci.sendString(u"stop K40S2"_qs); });
    QCOMPARE(mci.sendString(u"play K40S2 from 0 wait"_qs), 0);
    QVERIFY(!mci.isPlaying(u"K40S2"_qs));
    QCOMPARE_LT(mci.positionMs(u"K40S2"_qs), 300);
}

void TestSound::soundFromMemory() {
    // A voice made in memory at the speech engine's rate plays like a file.
    const std::vector<float> voice = tone(900, 0.25, 22050);
    const auto frames = static_cast<qint64>(voice.size());
    SdlMediaCommands out;
    using namespace MediaError;
    QCOMPARE(out.openPcm(u"K40Speech"_qs, voice.data(), frames, 1, 22050), None);
    QCOMPARE(out.openPcm(u"k40speech"_qs, voice.data(), frames, 1, 22050), DuplicateAlias);
    QCOMPARE(out.openPcm(QString(), voice.data(), frames, 1, 22050), MissingDeviceName);
    QCOMPARE(out.openPcm(u"a b"_qs, voice.data(), frames, 1, 22050), MissingDeviceName);
    QCOMPARE(out.openPcm(u"none"_qs, nullptr, frames, 1, 22050), InvalidFile);
    QCOMPARE(out.openPcm(u"mute"_qs, voice.data(), frames, 0, 22050), InvalidFile);
    QCOMPARE(out.lengthMs(u"K40Speech"_qs), 250);
    QCOMPARE(out.sendString(u"play K40Speech from 0 wait"_qs), 0);
    QCOMPARE_GE(out.positionMs(u"K40Speech"_qs), 249); // its end: 5512 frames at 22050 Hz
    QCOMPARE(out.sendString(u"close K40Speech"_qs), 0);
}

void TestSound::limits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: a sparse file beyond 64 MiB
    QTest::addColumn<int>("result");
    using namespace MediaError;
    const auto tones = [](int channels, int rate, double seconds) {
        return wave(tone(440, seconds, rate, channels), channels, rate);
    };
    QTest::newRow("8 channels") << u"a.wav"_qs << tones(8, 8000, 0.1) << int(None);
    QTest::newRow("9 channels") << u"a.wav"_qs << tones(9, 8000, 0.1) << int(InvalidFile);
    QTest::newRow("192 kHz") << u"a.wav"_qs << tones(1, 192000, 0.1) << int(None);
    QTest::newRow("384 kHz") << u"a.wav"_qs << tones(1, 384000, 0.1) << int(InvalidFile);
    QTest::newRow("2 minutes") << u"a.wav"_qs << tones(1, 4000, 120) << int(None);
    QTest::newRow("over 2 minutes") << u"a.wav"_qs << tones(1, 4000, 120.1) << int(InvalidFile);
    QTest::newRow("over 64 MiB") << u"a.wav"_qs << QByteArray() << int(InvalidFile);
    QTest::newRow("MIDI over 1 MiB")
        << u"a.mid"_qs << midiNote() + QByteArray(1024 * 1024, 0) << int(InvalidFile);
}

void TestSound::limits() {
    // Files beyond what a sound may be are refused as bad files.
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (bytes.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(wave(tone(440, 0.1, 8000), 1, 8000)) > 0);
        QVERIFY(f.resize(SoundDecoder::MaxWaveBytes + 1)); // sparse: no disk taken
    } else {
        QVERIFY(writeFile(path, bytes));
    }
    SdlMediaCommands mci;
    if (name.endsWith(u".mid") && MidiRenderer::soundFontPath().isEmpty())
        QSKIP("no General MIDI sound font installed");
    QTEST(int(mci.sendString(u"open \"%1\" alias x wait"_qs.arg(path))), "result");
}

void TestSound::soundsAreKeptAndDecodedAside() {
    const QString path = writeTone(dir_.filePath(u"kept.wav"_qs), 600, 2.0);
    const QString bad = dir_.filePath(u"bad.wav"_qs);
    QVERIFY(writeFile(bad, "RIFF and nothing more"));
    SdlMediaCommands mci;
    // Decoding runs aside: the event loop keeps going during an open that
    // waits. The decoding thread is held until a timer has ticked, so the
    // open can only end after the event loop ran inside it (or, if it does
    // not run, after 10 s with no tick).
    std::atomic<int> ticks{0};
    mci.decodeThread().start([&] {
        for (int i = 0; i < 10000 && ticks == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    QTimer ticker;
    ticker.callOnTimeout([&] { ++ticks; });
    ticker.start(0);
    QCOMPARE(mci.sendString(u"open \"%1\" alias a wait"_qs.arg(path)), 0);
    ticker.stop();
    QCOMPARE_GT(ticks.load(), 0);
    QCOMPARE(mci.decodeCount(), 1);
    QCOMPARE(mci.lengthMs(u"a"_qs), 2000);
    // Played again, from the kept sound; a changed file is decoded again.
    QCOMPARE(mci.sendString(u"close a"_qs), 0);
    QCOMPARE(mci.sendString(u"open \"%1\" alias a wait"_qs.arg(path)), 0);
    QCOMPARE(mci.decodeCount(), 1);
    QVERIFY(writeTone(path, 600, 1.0) == path);
    QCOMPARE(mci.sendString(u"close a"_qs), 0);
    QCOMPARE(mci.sendString(u"open \"%1\" alias a wait"_qs.arg(path)), 0);
    QCOMPARE(mci.decodeCount(), 2);
    QCOMPARE(mci.lengthMs(u"a"_qs), 1000);
    // Opened and played without waiting: it sounds once its sound is made.
    const QString other = writeTone(dir_.filePath(u"other.wav"_qs), 700, 1.0);
    QCOMPARE(mci.sendString(u"open \"%1\" alias b"_qs.arg(other)), 0);
    QVERIFY(mci.isOpen(u"b"_qs));
    QCOMPARE(mci.sendString(u"play b from 500"_qs), 0);
    QVERIFY(mci.isPlaying(u"b"_qs));
    QTRY_COMPARE(mci.lengthMs(u"b"_qs), 1000);
    QCOMPARE_GE(mci.positionMs(u"b"_qs), 500);
    // A bad file opened without waiting closes its device once found bad.
    QCOMPARE(mci.sendString(u"open \"%1\" alias c"_qs.arg(bad)), 0);
    QTRY_VERIFY(!mci.isOpen(u"c"_qs));
}

void TestSound::mixerTakesChangesWhileMixing() {
    // The audio thread mixes while the user-interface thread adds, plays and
    // removes voices: nothing waits for anything, and nothing is freed under
    // the mixer's feet (which the sanitizer build would see).
    Mixer mixer;
    std::atomic<bool> done{false};
    std::atomic<int> mixes{0};
    std::thread audio([&] {
        std::vector<float> out(2 * 256);
        while (!done.load()) {
            mixer.mix(out.data(), 256);
            for (float x : out)
                if (!(x >= -1.0f && x <= 1.0f)) std::abort();
            ++mixes;
        }
    });
    std::vector<int> kept;
    for (int round = 0; round < 2000; ++round) {
        auto s = std::make_shared<PcmSound>();
        s->rate = 44100;
        s->samples.assign(2 * (100 + round % 700), 0.01f);
        const int id = mixer.add(s);
        QVERIFY(id != 0);
        mixer.play(id, round % 50);
        if (round % 3) mixer.stop(id);
        if (round % 2) {
            mixer.remove(id);
        } else {
            kept.push_back(id);
            if (kept.size() > 100) {
                mixer.remove(kept.front());
                kept.erase(kept.begin());
            }
        }
    }
    mixer.clear();
    QCOMPARE(mixer.voiceCount(), 0);
    QTRY_VERIFY(mixes.load() > 10);
    done = true;
    audio.join();
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
