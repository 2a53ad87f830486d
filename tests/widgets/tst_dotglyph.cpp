// The dots of the stop-name strip's characters: on the grid and nothing lost,
// strokes of the designed Gothic one dot wide, bold heavier but still open,
// and the sampled Mincho fitting every JIS kanji onto the grid.
#include "model/Cp932.h"
#include "widgets/DotGlyph.h"

#include <QtTest>
#include <functional>

using StopNameLayout::Face;

namespace {

const QStringList Names{u"系統選別中"_qs, u"市役所前・文化会館"_qs, u"議事堂前"_qs,
                        u"鶴見駅東口"_qs, u"局別崎黒電"_qs,         u"響駅前"_qs};

DotGlyph::Pattern dots(const QString& ch, Face face, bool bold) {
    DotGlyph::Surface s;
    s.setFace(face);
    s.setBold(bold);
    return s.dots(ch);
}

// Regions of unlit dots that do not reach the grid's edge.
int holes(const DotGlyph::Pattern& p) {
    constexpr int N = 20; // the grid with a border of unlit dots
    std::array<std::array<bool, N>, N> seen{};
    const auto open = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < N && y < N && !seen[size_t(y)][size_t(x)] &&
               !p.lit(x - 1, y - 1);
    };
    const std::function<void(int, int)> flood = [&](int x, int y) {
        if (!open(x, y)) return;
        seen[size_t(y)][size_t(x)] = true;
        flood(x + 1, y), flood(x - 1, y), flood(x, y + 1), flood(x, y - 1);
    };
    flood(0, 0);
    int n = 0;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            if (open(x, y)) ++n, flood(x, y);
    return n;
}

// The JIS X 0208 kanji, level 1 and 2 (rows 0x30 to 0x74).
QStringList jisKanji() {
    QStringList out;
    for (int j1 = 0x30; j1 <= 0x74; ++j1)
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            const int s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
            const int s2 = j2 + (j1 & 1 ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E);
            const QString ch = Cp932::decode(QByteArray().append(char(s1)).append(char(s2)));
            if (ch.size() == 1 && !ch[0].isSurrogate() && ch[0].isLetter()) out << ch;
        }
    return out;
}

} // namespace

class TestDotGlyph : public QObject {
    Q_OBJECT
private slots:
    // A pattern has 19 x 19 samples, whatever else its rows or the memory
    // after them hold.
    void nothingLitOffTheGrid() {
        struct {
            DotGlyph::Pattern pattern;
            std::array<quint32, 1> after;
        } memory;
        memory.pattern.rows.fill(~0u);
        memory.after.fill(~0u);
        const DotGlyph::Pattern& p = memory.pattern;
        QVERIFY(p.lit(0, 0) && p.lit(18, 18));
        QVERIFY(!p.lit(19, 0) && !p.lit(0, 19) && !p.lit(-1, 0) && !p.lit(0, -1));
    }

    void namesStayOnTheGrid_data() {
        QTest::addColumn<Face>("face");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Gothic") << Face::Gothic << false;
        QTest::newRow("Gothic bold") << Face::Gothic << true;
        QTest::newRow("Mincho") << Face::Mincho << false;
        QTest::newRow("Mincho bold") << Face::Mincho << true;
    }

    void namesStayOnTheGrid() {
        QFETCH(Face, face);
        QFETCH(bool, bold);
        for (const QString& name : Names)
            for (const QChar ch : name) {
                const DotGlyph::Pattern p = dots(ch, face, bold);
                QVERIFY2(p.count() > 0, qPrintable(QString(ch)));
                // Nothing on the 19th row or column, nor beyond.
                QCOMPARE(p.rows[18], 0u);
                for (quint32 row : p.rows)
                    QCOMPARE(row >> 18, 0u);
                if (face == Face::Mincho) {
                    const auto s = DotGlyph::sampleOutline(StopNameLayout::faceFamily(face), 19,
                                                           false, 0, QString(ch));
                    QVERIFY2(s.lost == 0, qPrintable(QString(ch)));
                }
            }
    }

    void designedStrokesAreOneDotWide_data() {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("strokes");
        QTest::newRow("一") << u"一"_qs << 1;
        QTest::newRow("二") << u"二"_qs << 2;
        QTest::newRow("三") << u"三"_qs << 3;
    }

    void designedStrokesAreOneDotWide() {
        QFETCH(QString, character);
        const DotGlyph::Pattern p = dots(character, Face::Gothic, false);
        int litRows = 0;
        for (int r = 0; r < 18; ++r) {
            litRows += p.rows[size_t(r)] != 0;
            QCOMPARE(p.rows[size_t(r)] & p.rows[size_t(r + 1)], 0u); // nothing above another
        }
        QTEST(litRows, "strokes");
    }

    void boldIsHeavierAndStillOpen_data() {
        QTest::addColumn<Face>("face");
        QTest::addColumn<QString>("character");
        for (const auto& [face, name] :
             {std::pair{Face::Gothic, "Gothic"}, {Face::Mincho, "Mincho"}})
            for (const QString& ch : {u"駅"_qs, u"議"_qs})
                QTest::addRow("%s %s", name, qPrintable(ch)) << face << ch;
    }

    void boldIsHeavierAndStillOpen() {
        QFETCH(Face, face);
        QFETCH(QString, character);
        const DotGlyph::Pattern regular = dots(character, face, false);
        const DotGlyph::Pattern bold = dots(character, face, true);
        QCOMPARE_GT(bold.count(), regular.count() * 6 / 5);
        QCOMPARE_LE(bold.count(), regular.count() * 2);
        QCOMPARE_GE(holes(regular), 2);
        QCOMPARE_GE(holes(bold), 1);
    }

    void everyJisKanjiFits() {
        // The designed Gothic has every kanji; the sampled Mincho loses no
        // dot of any off the grid.
        const QStringList kanji = jisKanji();
        QCOMPARE(kanji.size(), 6355);
        int lost = 0, lostKanji = 0, smaller = 0;
        for (const QString& k : kanji) {
            QVERIFY2(DotGlyph::designed(Face::Gothic, 19, false, 0, k), qPrintable(k));
            QVERIFY2(DotGlyph::designed(Face::Gothic, 19, true, 0, k), qPrintable(k));
            const auto s =
                DotGlyph::sampleOutline(StopNameLayout::faceFamily(Face::Mincho), 19, false, 0, k);
            lost += s.lost;
            lostKanji += s.lost > 0;
            smaller += s.pixelSize < 19;
        }
        qInfo("Mincho: %d of %lld kanji drawn smaller to fit; %d dots lost in %d kanji", smaller,
              kanji.size(), lost, lostKanji);
        QCOMPARE(lost, 0);
    }
};

QTEST_MAIN(TestDotGlyph)
#include "tst_dotglyph.moc"
