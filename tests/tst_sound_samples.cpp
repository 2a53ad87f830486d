// The sample sounds shipped in data/sample, made by tools/sndgen: format and
// size, level without clipping or DC offset, a soft start, a decayed end, and
// the pitch of the last note; the melody renders to a few bars of sound.
#include "sound/SoundDecoder.h"

#include <QtTest>
#include <cmath>
#include <numbers>

namespace {

QString sample(const QString& name) {
    return QStringLiteral(K40_SOURCE_DIR "/data/sample/") + name;
}

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

float peakOf(const std::vector<float>& x, size_t from, size_t to) {
    float p = 0;
    for (size_t i = from; i < std::min(to, x.size()); ++i)
        p = std::max(p, std::abs(x[i]));
    return p;
}

quint32 le(const QByteArray& b, int at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

} // namespace

class TestSoundSamples : public QObject {
    Q_OBJECT
private slots:
    void chime_data();
    void chime();
    void melody();
};

void TestSoundSamples::chime_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("lastNoteHz"); // the note that ends the sound
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::newRow("key") << "key.wav" << 1567.98 << 50 << 200;
    QTest::newRow("route") << "route.wav" << 1567.98 << 300 << 1200;
    QTest::newRow("step1") << "step1.wav" << 783.99 << 300 << 1200;
    QTest::newRow("step2") << "step2.wav" << 698.46 << 300 << 1200;
    QTest::newRow("step3") << "step3.wav" << 783.99 << 300 << 1200;
    QTest::newRow("announce") << "announce.wav" << 523.25 << 800 << 2000;
}

void TestSoundSamples::chime() {
    QFETCH(QString, name);
    QFETCH(double, lastNoteHz);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    QFile file(sample(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY2(bytes.size() < 100 * 1024, qPrintable(QString::number(bytes.size())));
    // Plain RIFF wave: PCM, mono, 16 bits, 22050 or 44100 Hz.
    QVERIFY(bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WAVEfmt ");
    QCOMPARE(le(bytes, 20, 2), 1u);
    QCOMPARE(le(bytes, 22, 2), 1u);
    const int rate = static_cast<int>(le(bytes, 24, 4));
    QVERIFY(rate == 22050 || rate == 44100);
    QCOMPARE(le(bytes, 34, 2), 16u);

    const auto sound = SoundDecoder::decodeWave(file.fileName(), rate);
    QVERIFY(sound);
    QVERIFY(sound->lengthMs() >= minMs && sound->lengthMs() <= maxMs);
    std::vector<float> x;
    double sum = 0;
    for (qint64 i = 0; i < sound->frames(); ++i) {
        x.push_back(sound->samples[2 * i]);
        sum += x.back();
    }
    const size_t ms = static_cast<size_t>(rate / 1000);
    const float peak = peakOf(x, 0, x.size());
    // Loud enough, below full scale, and centred.
    QVERIFY2(peak > 0.3f && peak < 0.9f, qPrintable(QString::number(peak)));
    QVERIFY(std::abs(sum / x.size()) < 1e-3);
    // A soft start: no click, the first millisecond well below the peak.
    QVERIFY(std::abs(x.front()) < 0.01f);
    QVERIFY(peakOf(x, 0, ms) < 0.5f * peak);
    // A quiet end: it dies away, no click when it stops.
    QVERIFY(std::abs(x.back()) < 0.005f);
    QVERIFY2(peakOf(x, x.size() - 5 * ms, x.size()) < 0.1f * peak,
             qPrintable(QString::number(peakOf(x, x.size() - 5 * ms, x.size()) / peak)));
    // Its last note is the one expected, above the semitones around it.
    const size_t n = 40 * ms;
    const size_t at = x.size() * 2 / 3 - n / 2;
    const double level = toneLevel(x, at, n, lastNoteHz, rate);
    const double semitone = std::pow(2.0, 1.0 / 12);
    QVERIFY(level > 2 * toneLevel(x, at, n, lastNoteHz * semitone, rate));
    QVERIFY(level > 2 * toneLevel(x, at, n, lastNoteHz / semitone, rate));
}

void TestSoundSamples::melody() {
    QFile file(sample("melody.mid"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(QByteArray("MThd\0\0\0\x06\0\0\0\x01", 12))); // format 0, one track
    QCOMPARE(bytes.mid(14, 4), QByteArray("MTrk"));
    if (MidiRenderer::soundFontPath().isEmpty()) QSKIP("no General MIDI sound font installed");
    MidiRenderer midi(44100);
    const auto sound = midi.render(file.fileName());
    QVERIFY(sound);
    // Four bars at 112 beats a minute, and the ring of the last chord.
    QVERIFY2(sound->lengthMs() > 8500 && sound->lengthMs() < 12000,
             qPrintable(QString::number(sound->lengthMs())));
    float peak = 0;
    for (float v : sound->samples)
        peak = std::max(peak, std::abs(v));
    QVERIFY2(peak > 0.1f && peak < 0.99f, qPrintable(QString::number(peak)));
}

QTEST_GUILESS_MAIN(TestSoundSamples)
#include "tst_sound_samples.moc"
