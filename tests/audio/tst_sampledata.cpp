// The sample data as a user meets it: route 12 as built, its announcements, the sample sounds.
#include "Fakes.h"
#include "TestFiles.h"
#include "audio/SoundDecoder.h"
#include "model/AnnouncementTape.h"
#include "model/FareData.h"
#include <QtTest>

namespace {
const QString built = QStringLiteral(K40_BINARY_DIR "/sample/");
const QString source = QStringLiteral(K40_SOURCE_DIR "/data/sample/");

// The largest magnitude among samples [from, to) of a sound.
float peak(const PcmSound& s, qint64 from = 0, qint64 to = -1) {
    float p = 0;
    for (qint64 i = 2 * from; i < 2 * (to < 0 ? s.frames() : to); ++i)
        p = std::max(p, std::abs(s.samples[static_cast<size_t>(i)]));
    return p;
}
} // namespace
class TestSampleData : public QObject {
    Q_OBJECT
private slots:
    void route() {
        // Its fares, as built from the source file, and its announcements.
        FareData::RouteTable table;
        FareData::RouteState state;
        RecordingMessageBox messages;
        state.startSection = 1;
        QCOMPARE(FareData::loadRouteFares(built, u"12"_qs, state, table, messages),
                 FareData::FareLoadOutcome::Loaded);
        QVERIFY(messages.shown.isEmpty());
        // The stops of the source file, in its order, below its header.
        const QStringList lines =
            QString::fromUtf8(readFile(source + u"12.csv"_qs)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(state.loadedRows, lines.size() - 1);
        for (int r = 1; r < lines.size(); ++r)
            QCOMPARE(table.row(r).name, lines[r].section(u',', 0, 0));
        // At the first stop no ticket has a fare yet: blank cells.
        for (int k = 1; k <= 24; ++k)
            QCOMPARE(table.row(1).value(k), qint16(0));
        AnnouncementTape tape(nullptr);
        QVERIFY(tape.load(built, u"12"_qs));
        QCOMPARE(tape.count(), readFile(built + u"12tp.csv"_qs).count("\r\n"));
        QSet<int> steps, chimes;
        int stepping = 0;
        for (const TapeRow& r : tape.rows()) {
            QVERIFY(!r.text.isEmpty());
            steps << r.stepFlag, chimes << r.soundFlag, stepping += r.stepFlag == 1;
        }
        QCOMPARE(steps, (QSet<int>{0, 1}));
        QCOMPARE(chimes, (QSet<int>{0, 1, 2, 3})); // without a chime, and each of the three
        // The tape steps the board from first stop to terminal, and ends announcing the terminal.
        QCOMPARE(stepping, lines.size() - 2); // less the header and the first stop
        QVERIFY(tape.rows().back().text.startsWith(u"終点、桜ヶ丘車庫です。"_qs));
    }
    void sounds_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("key") << u"key.wav"_qs << 50 << 200;
        for (const char* chime : {"route", "step1", "step2", "step3"})
            QTest::newRow(chime) << QString::fromLatin1(chime) + u".wav"_qs << 300 << 1200;
        QTest::newRow("announce") << u"announce.wav"_qs << 800 << 2000;
    }
    void sounds() {
        QFETCH(QString, name);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        constexpr int Rate = 44100;
        const auto sound = SoundDecoder::decodeWave(source + name, Rate);
        QVERIFY(sound);
        QCOMPARE_GE(sound->lengthMs(), minMs);
        QCOMPARE_LE(sound->lengthMs(), maxMs);
        // Clearly audible, below full scale, and no click where it starts or stops.
        const float top = peak(*sound);
        QVERIFY2(top > 0.3f && top < 0.9f, qPrintable(QString::number(top)));
        QVERIFY(peak(*sound, 0, Rate / 1000) < 0.5f * top);
        QVERIFY(peak(*sound, sound->frames() - 5 * Rate / 1000) < 0.1f * top);
    }
    void melody() {
        const QString path = source + u"melody.mid"_qs;
        QVERIFY(readFile(path).startsWith("MThd"));
        if (MidiRenderer::soundFontPath().isEmpty()) QSKIP("no General MIDI sound font installed");
        const auto sound = MidiRenderer(44100).render(path);
        QVERIFY(sound);
        // Four bars at 112 beats a minute, and the ring of the last chord.
        QCOMPARE_GT(sound->lengthMs(), 8500);
        QCOMPARE_LT(sound->lengthMs(), 12000);
        QVERIFY2(peak(*sound) > 0.1f && peak(*sound) < 0.99f,
                 qPrintable(QString::number(peak(*sound))));
    }
};
QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
