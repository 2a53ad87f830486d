// The sound channels' media command interface on a real audio output: the
// command parser, the mixer, the decoders, and the SDL output written to a
// file by SDL's "disk" driver, where the samples that reached the output are
// analysed.
#include "Fakes.h"
#include "model/AppInfo.h"
#include "audio/MediaCommand.h"
#include "audio/Mixer.h"
#include "audio/SoundDecoder.h"
#include "audio/SdlMediaCommands.h"
#include "model/SoundChannels.h"

#include <QtTest>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace {

// Interleaved frames of a sine tone; channels > 1 put it on the first
// channel only when leftOnly.
std::vector<float> tone(double freq, double seconds, int rate, int channels = 1,
                        float amplitude = 0.4f, bool leftOnly = false) {
    const auto frames = static_cast<size_t>(seconds * rate);
    std::vector<float> s(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        const auto x =
            static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * freq * i / rate));
        for (int c = 0; c < channels; ++c)
            s[i * channels + c] = (leftOnly && c > 0) ? 0.0f : x;
    }
    return s;
}

// A RIFF wave file: PCM of 8, 16 or 24 bits, or 32-bit float (bits 32).
QByteArray waveBytes(const std::vector<float>& s, int channels, int rate, int bits) {
    QByteArray data, b;
    QDataStream d(&data, QIODevice::WriteOnly), h(&b, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    d.setFloatingPointPrecision(QDataStream::SinglePrecision);
    h.setByteOrder(QDataStream::LittleEndian);
    for (float x : s) {
        x = std::clamp(x, -1.0f, 1.0f);
        const auto v = static_cast<qint32>(std::lround(x * (bits == 16 ? 32767 : 8388607)));
        if (bits == 32)
            d << x;
        else if (bits == 8)
            d << static_cast<quint8>(std::lround(x * 127 + 128));
        else if (bits == 16)
            d << static_cast<qint16>(v);
        else
            d << static_cast<quint8>(v) << static_cast<quint8>(v >> 8)
              << static_cast<quint8>(v >> 16);
    }
    h.writeRawData("RIFF", 4);
    h << static_cast<quint32>(36 + data.size());
    h.writeRawData("WAVEfmt ", 8);
    h << quint32{16} << static_cast<quint16>(bits == 32 ? 3 : 1) << static_cast<quint16>(channels)
      << static_cast<quint32>(rate) << static_cast<quint32>(rate * channels * bits / 8)
      << static_cast<quint16>(channels * bits / 8) << static_cast<quint16>(bits);
    h.writeRawData("data", 4);
    h << static_cast<quint32>(data.size());
    return b + data;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString writeTone(const QDir& dir, const QString& name, double freq, double seconds,
                  int rate = 44100) {
    const QString path = dir.filePath(name);
    return writeFile(path, waveBytes(tone(freq, seconds, rate), 1, rate, 16)) ? path : QString();
}

// A Standard MIDI File of one piano note C5 lasting 0.3 s.
QByteArray midiNote() {
    const QByteArray track("\x00\xC0\x00"         // program: piano
                           "\x00\x90\x48\x6E"     // note on C5
                           "\x82\x20\x80\x48\x40" // 288 ticks later: note off
                           "\x00\xFF\x2F\x00",    // end of track
                           16);
    QByteArray b("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    b.append("MTrk");
    b.append(QByteArray("\x00\x00\x00", 3)).append(static_cast<char>(track.size()));
    return b + track;
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
std::vector<bool> toneWindows(const std::vector<float>& x, double freq, int rate,
                              double threshold = 0.1) {
    const size_t n = static_cast<size_t>(rate / 100);
    std::vector<bool> on;
    for (size_t at = 0; at + n <= x.size(); at += n)
        on.push_back(toneLevel(x, at, n, freq, rate) > threshold);
    return on;
}

int count(const std::vector<bool>& v) {
    return static_cast<int>(std::count(v.begin(), v.end(), true));
}

// The largest magnitude of x[from, to).
float peak(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX) {
    float p = 0;
    for (size_t i = from; i < std::min(to, x.size()); ++i)
        p = std::max(p, std::abs(x[i]));
    return p;
}

// One audio output written by SDL's "disk" driver to a file; finish() closes
// the output and returns the left channel of what it played.
class DiskOutput {
public:
    DiskOutput() {
        previousDriver_ = qgetenv("SDL_AUDIODRIVER");
        file_ = dir_.filePath("output.raw");
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(file_));
        out = std::make_unique<SdlMediaCommands>();
        rate = out->sampleRate();
    }
    ~DiskOutput() {
        out.reset();
        qputenv("SDL_AUDIODRIVER", previousDriver_);
    }
    std::vector<float> finish() {
        out.reset();
        QFile f(file_);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray raw = f.readAll();
        const size_t frames = static_cast<size_t>(raw.size()) / (2 * sizeof(float));
        std::vector<float> left(frames);
        for (size_t i = 0; i < frames; ++i)
            std::memcpy(&left[i], raw.constData() + i * 2 * sizeof(float), sizeof(float));
        return left;
    }
    QString open(const QString& file, const QString& alias, const char* type = "waveaudio") {
        return QStringLiteral("open \"%1\" type %2 alias %3 wait")
            .arg(file, QString::fromLatin1(type), alias);
    }

    std::unique_ptr<SdlMediaCommands> out;
    int rate = 0;

private:
    QTemporaryDir dir_;
    QString file_;
    QByteArray previousDriver_;
};

std::shared_ptr<PcmSound> constant(float value, qint64 frames) {
    auto s = std::make_shared<PcmSound>();
    s->rate = 44100;
    s->samples.assign(static_cast<size_t>(frames) * 2, value);
    return s;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void parse_data();
    void parse();

    void mixerSumsPlayingVoices();
    void mixerLimitsAndFinishes();

    void decodeWave_data();
    void decodeWave();
    void decodeDamaged_data();
    void decodeDamaged();
    void renderMidi();

    void errors_data();
    void errors();
    void waveReachesOutput();
    void midiReachesOutput();
    void twoChannelsSoundTogether();
    void replacingCutsTheFirst();
    void synchronousPlayBlocks();
    void stopEndsSynchronousPlay();
    void damagedFileIsSilent();
    void playSndOnRealOutput();
    void soundFromMemory();
    void fallsBackToDummy();

private:
    QTemporaryDir dir_;
};

void TestSound::initTestCase() {
    QVERIFY(dir_.isValid());
    AppInfo::setExecutablePath(QStringLiteral("/x/K40"));
}

void TestSound::cleanupTestCase() {
    AppInfo::setExecutablePath(QString());
}

void TestSound::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("parsed"); // verb|device|type|alias|from (-1: none)|wait
    QTest::newRow("close") << "close K40S1" << 0 << "close|K40S1|||-1|";
    QTest::newRow("open wave") << R"(open "/a b/c.wav" type waveaudio alias K40S2 wait)" << 0
                               << "open|/a b/c.wav|waveaudio|K40S2|-1|wait";
    QTest::newRow("open MIDI") << R"(open "/d/e.MID" type sequencer alias K40S3 wait)" << 0
                               << "open|/d/e.MID|sequencer|K40S3|-1|wait";
    QTest::newRow("play sync") << "play K40S2 from 0 wait" << 0 << "play|K40S2|||0|wait";
    QTest::newRow("stop") << "stop K40S1" << 0 << "stop|K40S1|||-1|";
    QTest::newRow("any case, extra blanks")
        << "  PLAY  k40s1   FROM 250 Wait " << 0 << "play|k40s1|||250|wait";
    QTest::newRow("type in capitals")
        << R"(open "x.wav" TYPE WaveAudio ALIAS a)" << 0 << "open|x.wav|waveaudio|a|-1|";
    QTest::newRow("play without from") << "play a notify" << 0 << "play|a|||-1|";
    QTest::newRow("empty") << "" << 267 << "";
    QTest::newRow("blanks") << "   " << 267 << "";
    QTest::newRow("unknown command") << "record K40S1" << 261 << "";
    QTest::newRow("no device") << "play" << 292 << "";
    QTest::newRow("quote not closed") << R"(open "/a b.wav type waveaudio)" << 294 << "";
    QTest::newRow("type without value") << R"(open "x.wav" alias a type)" << 269 << "";
    QTest::newRow("from not a number") << "play a from zero" << 270 << "";
    QTest::newRow("from negative") << "play a from -5" << 270 << "";
    QTest::newRow("unknown keyword") << "play a to 5" << 259 << "";
}

void TestSound::parse() {
    QFETCH(QString, text);
    MediaCommand c;
    const qint32 error = parseMediaCommand(text, c);
    QTEST(error, "error");
    if (error != 0) return;
    const char* verbs[] = {"open", "play", "stop", "close"};
    QTEST(QStringLiteral("%1|%2|%3|%4|%5|%6")
              .arg(verbs[int(c.verb)], c.device, c.type, c.alias)
              .arg(c.fromMs.value_or(-1))
              .arg(c.wait ? "wait" : ""),
          "parsed");
}

void TestSound::mixerSumsPlayingVoices() {
    Mixer mixer;
    const int a = mixer.add(constant(0.25f, 100));
    const int b = mixer.add(constant(0.5f, 100));
    const int c = mixer.add(constant(0.125f, 100));
    QVERIFY(a != 0 && b != 0 && c != 0 && a != b && b != c);
    std::vector<float> out(2 * 10, 9.0f);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.0f); // opened voices are silent until played
    QVERIFY(mixer.play(a, 0));
    QVERIFY(mixer.play(b, 95));
    mixer.play(c, 0);
    mixer.stop(c);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.75f);
    QCOMPARE(out[9], 0.75f);  // b's last sample, right
    QCOMPARE(out[10], 0.25f); // b has ended
    QCOMPARE(out[19], 0.25f);
    QCOMPARE(mixer.state(a), Mixer::State::Playing);
    QCOMPARE(mixer.position(a), 10);
    QCOMPARE(mixer.state(b), Mixer::State::Finished);
    QCOMPARE(mixer.state(c), Mixer::State::Stopped);
    QCOMPARE(mixer.position(c), 0);
    mixer.remove(a);
    QCOMPARE(mixer.state(a), Mixer::State::Absent);
    QVERIFY(!mixer.play(a, 0));
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.0f);
    QCOMPARE(mixer.voiceCount(), 2);
    mixer.clear();
    QCOMPARE(mixer.voiceCount(), 0);
}

void TestSound::mixerLimitsAndFinishes() {
    Mixer mixer;
    const int a = mixer.add(constant(0.75f, 64));
    const int b = mixer.add(constant(0.75f, 64));
    const int c = mixer.add(constant(-0.75f, 64));
    const int d = mixer.add(constant(-0.75f, 64));
    mixer.play(a, 0);
    mixer.play(b, 0);
    std::vector<float> out(2 * 100);
    mixer.mix(out.data(), 100);
    QCOMPARE(out[0], 1.0f);
    QCOMPARE(out[127], 1.0f);
    QCOMPARE(out[128], 0.0f);
    QCOMPARE(mixer.state(a), Mixer::State::Finished);
    QCOMPARE(mixer.position(a), 64);
    mixer.play(c, 0);
    mixer.play(d, 1000); // past the end: plays nothing
    mixer.play(a, 0);    // a finished voice plays again from the start
    mixer.play(b, 0);
    mixer.mix(out.data(), 10);
    QCOMPARE(out[0], 0.75f);
    QCOMPARE(mixer.state(d), Mixer::State::Finished);
}

void TestSound::decodeWave_data() {
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::newRow("8-bit mono 8000") << 8 << 8000 << 1;
    QTest::newRow("16-bit stereo 44100") << 16 << 44100 << 2;
    QTest::newRow("24-bit stereo 48000") << 24 << 48000 << 2;
    QTest::newRow("float mono 96000") << 32 << 96000 << 1;
}

void TestSound::decodeWave() {
    QFETCH(int, bits);
    QFETCH(int, rate);
    QFETCH(int, channels);
    constexpr int Out = 44100;
    const QString path =
        dir_.filePath(QStringLiteral("fmt_%1_%2_%3.wav").arg(bits).arg(rate).arg(channels));
    // On stereo files the tone is on the left only.
    QVERIFY(writeFile(
        path, waveBytes(tone(1000, 0.25, rate, channels, 0.5f, true), channels, rate, bits)));
    const auto sound = SoundDecoder::decodeWave(path, Out);
    QVERIFY(sound);
    QCOMPARE(sound->rate, Out);
    QVERIFY2(std::abs(sound->frames() - Out / 4) <= Out / 200,
             qPrintable(QString::number(sound->frames())));
    std::vector<float> left, right;
    for (qint64 i = 0; i < sound->frames(); ++i) {
        left.push_back(sound->samples[2 * i]);
        right.push_back(sound->samples[2 * i + 1]);
    }
    // Same pitch and level after resampling (checked away from the edges).
    const size_t n = Out / 10;
    const double level = toneLevel(left, Out / 20, n, 1000, Out);
    QVERIFY2(std::abs(level - 0.5) < 0.03, qPrintable(QString::number(level)));
    QVERIFY(toneLevel(left, Out / 20, n, 1100, Out) < 0.02);
    const double other = toneLevel(right, Out / 20, n, 1000, Out);
    if (channels == 1)
        QVERIFY(std::abs(other - 0.5) < 0.03); // mono sounds on both sides
    else
        QVERIFY(peak(right) < 1e-3f);
}

void TestSound::decodeDamaged_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = waveBytes(tone(440, 0.1, 8000), 1, 8000, 16);
    QByteArray garbage;
    for (int i = 0; i < 4000; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 251));
    QTest::newRow("garbage") << garbage;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header cut short") << good.left(30);
    QByteArray zeroRate = good;
    zeroRate[24] = zeroRate[25] = zeroRate[26] = zeroRate[27] = 0;
    QTest::newRow("rate 0") << zeroRate;
    QByteArray noChannels = good;
    noChannels[22] = noChannels[23] = 0;
    QTest::newRow("no channels") << noChannels;
    QTest::newRow("header only") << good.left(44);
}

void TestSound::decodeDamaged() {
    QFETCH(QByteArray, bytes);
    const QString path = dir_.filePath(QStringLiteral("damaged.wav"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(!SoundDecoder::decodeWave(path, 44100));
    QVERIFY(!SoundDecoder::decodeWave(dir_.filePath("no-such.wav"), 44100));
}

void TestSound::renderMidi() {
    const QString path = dir_.filePath("note.mid");
    QVERIFY(writeFile(path, midiNote()));
    // Without a usable sound font nothing renders.
    MidiRenderer none(44100, dir_.filePath("absent.sf2"));
    QVERIFY(!none.available() && !none.render(path));
    const QString junk = dir_.filePath("junk.sf2");
    QVERIFY(writeFile(junk, QByteArray("RIFF\x10\x00\x00\x00sfbkLIST", 16) + QByteArray(600, 'x')));
    MidiRenderer damaged(44100, junk);
    QVERIFY(!damaged.available() && !damaged.render(path));

    MidiRenderer midi(44100);
    QVERIFY(!midi.render(dir_.filePath("no-such.mid")));
    if (MidiRenderer::soundFontPath().isEmpty()) {
        QVERIFY(!midi.available());
        QVERIFY(!midi.render(path));
        QSKIP("no General MIDI sound font installed");
    }
    QVERIFY(midi.available());
    const auto sound = midi.render(path);
    QVERIFY(sound);
    // 0.3 s of the note and its release, cut once it has died away.
    QVERIFY2(sound->lengthMs() >= 300 && sound->lengthMs() <= 3500,
             qPrintable(QString::number(sound->lengthMs())));
    QVERIFY(peak(sound->samples) > 0.02f);
    // The synthesiser is ready for the next file: the same file sounds the
    // same. Where the fading ring crosses the cut-off level varies from render
    // to render by up to about a tenth of a second.
    const auto again = midi.render(path);
    QVERIFY(again);
    QVERIFY2(std::abs(again->frames() - sound->frames()) < 44100 / 4,
             qPrintable(QStringLiteral("%1 %2").arg(again->frames()).arg(sound->frames())));
    QVERIFY(std::abs(peak(again->samples) - peak(sound->samples)) < 0.05f * peak(sound->samples));

    const QString cut = dir_.filePath("damaged.mid");
    QVERIFY(writeFile(cut, QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x05\x01\xE0MTrk\xFF\xFF"
                                      "\xFF\xFF\x90\x90\x90",
                                      25)));
    QVERIFY(!midi.render(cut));
    QVERIFY(writeFile(cut, waveBytes(tone(440, 0.1, 8000), 1, 8000, 16)));
    QVERIFY(!midi.render(cut));
    QVERIFY(midi.render(path)); // and it still works
}

void TestSound::errors_data() {
    QTest::addColumn<QString>("command"); // %W: a good wave file, %M: a missing file
    QTest::addColumn<int>("result");
    QTest::newRow("play unknown alias") << "play K40S4 from 0" << MediaError::InvalidDeviceName;
    QTest::newRow("missing file") << R"(open "%M" type waveaudio alias m wait)"
                                  << MediaError::FileNotFound;
    QTest::newRow("unknown device type")
        << R"(open "%W" type videodisc alias v)" << MediaError::InvalidDeviceName;
    QTest::newRow("no type, unknown extension")
        << R"(open "%W.mp3" alias v)" << MediaError::ExtensionNotFound;
    QTest::newRow("position past the end") << "play ok from 5000" << MediaError::OutOfRange;
    QTest::newRow("alias taken, in any case")
        << R"(open "%W" type waveaudio alias OK)" << MediaError::DuplicateAlias;
    QTest::newRow("open, type from extension")
        << R"(open "%W" alias other wait)" << MediaError::None;
    QTest::newRow("close all") << "close all" << MediaError::None;
}

void TestSound::errors() {
    QFETCH(QString, command);
    QFETCH(int, result);
    const QString wave = writeTone(dir_.path(), "ok.wav", 440, 0.2);
    QVERIFY(QFile::copy(wave, wave + ".mp3") || QFileInfo::exists(wave + ".mp3"));
    command.replace("%W", wave).replace("%M", dir_.filePath("missing.wav"));
    SdlMediaCommands mci; // the test environment's output: SDL's "dummy" driver
    QVERIFY(mci.hasOutput());
    QCOMPARE(mci.sendString(QStringLiteral("open \"%1\" type waveaudio alias ok wait").arg(wave)),
             0);
    QCOMPARE(mci.sendString(command), result);
    // The device opened before is untouched by a failed command.
    if (result != 0) QVERIFY(mci.isOpen("ok"));
}

void TestSound::waveReachesOutput() {
    // At a rate of its own, converted to the output's.
    const QString path = dir_.filePath("out.wav");
    QVERIFY(writeFile(path, waveBytes(tone(1000, 0.3, 22050), 1, 22050, 16)));
    DiskOutput disk;
    QCOMPARE(disk.out->driverName(), u"disk"_qs);
    QCOMPARE(disk.out->sendString(disk.open(path, "K40S1")), 0);
    QCOMPARE(disk.out->sendString("play K40S1 from 0 wait"), 0);
    const auto left = disk.finish();
    const auto on = toneWindows(left, 1000, disk.rate);
    // 0.3 s of the tone at its pitch: 30 windows, give or take the edges.
    QVERIFY2(count(on) >= 27 && count(on) <= 31, qPrintable(QString::number(count(on))));
    QVERIFY(count(toneWindows(left, 1300, disk.rate)) == 0);
}

void TestSound::midiReachesOutput() {
    if (MidiRenderer::soundFontPath().isEmpty()) QSKIP("no General MIDI sound font installed");
    const QString path = dir_.filePath("Note.Mid");
    QVERIFY(writeFile(path, midiNote()));
    DiskOutput disk;
    QCOMPARE(disk.out->sendString(disk.open(path, "K40S3", "sequencer")), 0);
    QVERIFY(disk.out->lengthMs("K40S3") >= 300);
    QCOMPARE(disk.out->sendString("play K40S3 from 0 wait"), 0);
    const auto left = disk.finish();
    // Audible for at least the note's 0.3 s.
    const size_t n = static_cast<size_t>(disk.rate / 100);
    int loud = 0;
    for (size_t at = 0; at + n <= left.size(); at += n)
        loud += peak(left, at, at + n) > 0.01f;
    QVERIFY2(loud >= 30, qPrintable(QString::number(loud)));
}

void TestSound::twoChannelsSoundTogether() {
    const QString a = writeTone(dir_.path(), "low.wav", 500, 0.3);
    const QString b = writeTone(dir_.path(), "high.wav", 1200, 0.3);
    DiskOutput disk;
    QCOMPARE(disk.out->sendString(disk.open(a, "K40S1")), 0);
    QCOMPARE(disk.out->sendString(disk.open(b, "K40S2")), 0);
    QCOMPARE(disk.out->sendString("play K40S1 from 0"), 0);
    QVERIFY(disk.out->isPlaying("K40S1"));
    QCOMPARE(disk.out->sendString("play K40S2 from 0 wait"), 0);
    const auto left = disk.finish();
    const auto low = toneWindows(left, 500, disk.rate);
    const auto high = toneWindows(left, 1200, disk.rate);
    QCOMPARE(low.size(), high.size());
    int both = 0;
    for (size_t i = 0; i < low.size(); ++i)
        both += low[i] && high[i];
    QVERIFY2(both >= 20, qPrintable(QString::number(both)));
}

void TestSound::replacingCutsTheFirst() {
    const QString first = writeTone(dir_.path(), "first.wav", 500, 0.4);
    const QString second = writeTone(dir_.path(), "second.wav", 1200, 0.2);
    DiskOutput disk;
    QCOMPARE(disk.out->sendString(disk.open(first, "K40S2")), 0);
    QCOMPARE(disk.out->sendString("play K40S2 from 0"), 0);
    QTRY_VERIFY_WITH_TIMEOUT(disk.out->positionMs("K40S2") >= 100, 5000);
    QCOMPARE(disk.out->sendString("close K40S2"), 0);
    QVERIFY(!disk.out->isPlaying("K40S2"));
    QCOMPARE(disk.out->sendString(disk.open(second, "K40S2")), 0);
    QCOMPARE(disk.out->sendString("play K40S2 from 0 wait"), 0);
    const auto left = disk.finish();
    const auto low = toneWindows(left, 500, disk.rate);
    const auto high = toneWindows(left, 1200, disk.rate);
    const auto secondStart = std::find(high.begin(), high.end(), true) - high.begin();
    QVERIFY(secondStart < static_cast<qsizetype>(high.size()));
    QVERIFY2(count(low) >= 8 && count(low) <= 34, qPrintable(QString::number(count(low))));
    for (size_t i = secondStart + 1; i < low.size(); ++i)
        QVERIFY2(!low[i], "first sound goes on");
}

void TestSound::synchronousPlayBlocks() {
    const QString path = writeTone(dir_.path(), "sync.wav", 800, 0.3);
    DiskOutput disk;
    QCOMPARE(disk.out->sendString(disk.open(path, "K40S2")), 0);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(disk.out->sendString("play K40S2 from 0 wait"), 0);
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= 300, qPrintable(QString::number(elapsed)));
    QVERIFY(!disk.out->isPlaying("K40S2"));
    QCOMPARE(disk.out->positionMs("K40S2"), 300);
    // From a position, the wait is for the rest of the sound.
    timer.restart();
    QCOMPARE(disk.out->sendString("play K40S2 from 200 wait"), 0);
    QVERIFY(timer.elapsed() >= 100);
    QCOMPARE(disk.out->positionMs("K40S2"), 300);
}

void TestSound::stopEndsSynchronousPlay() {
    // Timers run during a synchronous play; one that stops the sound ends it.
    const QString path = writeTone(dir_.path(), "long.wav", 800, 0.4);
    SdlMediaCommands mci;
    QCOMPARE(mci.sendString(QStringLiteral("open \"%1\" alias K40S3 wait").arg(path)), 0);
    bool fired = false;
    QTimer::singleShot(30, [&] {
        fired = true;
        mci.sendString("stop K40S3");
    });
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(mci.sendString("play K40S3 from 0 wait"), 0);
    QVERIFY(fired);
    QVERIFY2(timer.elapsed() < 400, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!mci.isPlaying("K40S3"));
}

void TestSound::damagedFileIsSilent() {
    const QString good = writeTone(dir_.path(), "good.wav", 1000, 0.2);
    const QString cut = dir_.filePath("cut.wav");
    QFile g(good);
    QVERIFY(g.open(QIODevice::ReadOnly));
    QVERIFY(writeFile(cut, g.read(30)));
    const QString junk = dir_.filePath("junk.wav");
    QByteArray bytes(8000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) % 256);
    QVERIFY(writeFile(junk, bytes));
    const QString junkMidi = dir_.filePath("junk.mid");
    QVERIFY(writeFile(junkMidi, "MThd" + bytes));

    DiskOutput disk;
    QCOMPARE(disk.out->sendString(disk.open(cut, "K40S1")), MediaError::InvalidFile);
    QCOMPARE(disk.out->sendString("play K40S1 from 0 wait"), MediaError::InvalidDeviceName);
    QCOMPARE(disk.out->sendString(disk.open(junk, "K40S2")), MediaError::InvalidFile);
    QVERIFY(disk.out->sendString(disk.open(junkMidi, "K40S3", "sequencer")) != 0);
    QVERIFY(disk.out->sendString(disk.open(good, "K40S4", "sequencer")) != 0);
    QVERIFY(!disk.out->isOpen("K40S1") && !disk.out->isOpen("K40S2"));
    // The program goes on: a good file plays after the damaged ones.
    QTest::qWait(50);
    QCOMPARE(disk.out->sendString(disk.open(good, "K40S1")), 0);
    QCOMPARE(disk.out->sendString("play K40S1 from 0 wait"), 0);
    const auto left = disk.finish();
    const auto on = toneWindows(left, 1000, disk.rate);
    const auto first = std::find(on.begin(), on.end(), true) - on.begin();
    QVERIFY(count(on) >= 17);
    const size_t n = static_cast<size_t>(disk.rate / 100);
    QVERIFY(first >= 1);
    QCOMPARE(peak(left, 0, (first - 1) * n), 0.0f);
}

void TestSound::playSndOnRealOutput() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("my chimes"));
    const QString chime = writeTone(dir.filePath("my chimes"), "Step One.WAV", 700, 0.25);
    DiskOutput disk;
    const SoundChannels channels(disk.out.get());
    QElapsedTimer timer;
    timer.start();
    channels.play(chime, "S2", SoundChannels::Play::Sync);
    QVERIFY(timer.elapsed() >= 250);
    QVERIFY(disk.out->isOpen("K40S2"));
    QVERIFY(!disk.out->isPlaying("K40S2"));
    channels.play(chime, "S1", SoundChannels::Play::Async);
    QVERIFY(disk.out->isPlaying("K40S1"));
    channels.closeAll();
    QVERIFY(!disk.out->isOpen("K40S1") && !disk.out->isOpen("K40S2"));
    const auto on = toneWindows(disk.finish(), 700, disk.rate);
    QVERIFY(count(on) >= 22);
}

void TestSound::soundFromMemory() {
    // A voice made in memory at the speech engine's rate plays like a file.
    const std::vector<float> voice = tone(900, 0.25, 22050);
    const auto frames = static_cast<qint64>(voice.size());
    DiskOutput disk;
    QCOMPARE(disk.out->openPcm("K40Speech", voice.data(), frames, 1, 22050), 0);
    QCOMPARE(disk.out->openPcm("k40speech", voice.data(), frames, 1, 22050),
             MediaError::DuplicateAlias);
    QCOMPARE(disk.out->openPcm("", voice.data(), frames, 1, 22050), MediaError::MissingDeviceName);
    QCOMPARE(disk.out->openPcm("none", nullptr, frames, 1, 22050), MediaError::InvalidFile);
    QCOMPARE(disk.out->openPcm("mute", voice.data(), frames, 0, 22050), MediaError::InvalidFile);
    QCOMPARE(disk.out->lengthMs("K40Speech"), 250);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(disk.out->sendString("play K40Speech from 0 wait"), 0);
    QVERIFY(timer.elapsed() >= 250);
    QCOMPARE(disk.out->sendString("close K40Speech"), 0);
    const auto on = toneWindows(disk.finish(), 900, disk.rate);
    QVERIFY2(count(on) >= 22 && count(on) <= 26, qPrintable(QString::number(count(on))));
}

void TestSound::fallsBackToDummy() {
    const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-output");
    const QString path = writeTone(dir_.path(), "dummy.wav", 600, 0.2);
    {
        SdlMediaCommands mci;
        QVERIFY(mci.hasOutput());
        QCOMPARE(mci.driverName(), u"dummy"_qs);
        QCOMPARE(mci.sendString(QStringLiteral("open \"%1\" alias K40S1 wait").arg(path)), 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(mci.sendString("play K40S1 from 0 wait"), 0);
        QVERIFY(timer.elapsed() >= 200);
        QCOMPARE(mci.positionMs("K40S1"), 200); // the channel kept time to its end
    }
    qputenv("SDL_AUDIODRIVER", previous);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
