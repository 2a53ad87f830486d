// The stop-name strip: its characters' dots, and the widget that draws and scrolls them.
#include "widgets/StopNameDisplay.h"
#include "Fakes.h"
#include "Pixels.h"
#include "model/Cp932.h"
#include "model/StopNameLayout.h"
#include "widgets/Typefaces.h"
#include <QFontInfo>
#include <QPainter>
#include <QtTest>
#include <functional>
#include <numeric>

using StopNameLayout::Face;

namespace {
const QString Five = u"系統選別中"_qs;         // stands
const QString Nine = u"停留所前通り町一丁"_qs; // scrolls on a strip of 486 pixels

// The dots of text as a glyph surface of its own gives them.
DotGlyph::Pattern dotsOf(const QString& text, Face face, bool bold = false, double pt = 14.25,
                         int top = 0) {
    DotGlyph::Surface s;
    s.setFace(face), s.setBold(bold), s.setPoints(pt), s.setTop(top);
    return s.dots(text);
}
QList<int> litRows(const DotGlyph::Pattern& p) {
    QList<int> lit;
    for (int r = 0; r < DotGlyph::Samples; ++r)
        if (p.rows[size_t(r)]) lit << r;
    return lit;
}
// Regions of unlit dots that do not reach the grid's edge.
int holes(const DotGlyph::Pattern& p) {
    constexpr int N = 20; // the grid with a border of unlit dots
    std::array<std::array<bool, N>, N> seen{};
    const std::function<bool(int, int)> flood = [&](int x, int y) { // false if not open
        if (x < 0 || y < 0 || x >= N || y >= N || seen[size_t(y)][size_t(x)] || p.lit(x - 1, y - 1))
            return false;
        seen[size_t(y)][size_t(x)] = true;
        flood(x + 1, y), flood(x - 1, y), flood(x, y + 1), flood(x, y - 1);
        return true;
    };
    flood(0, 0); // the outside
    int n = 0;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            n += flood(x, y);
    return n;
}
// A strip as the display should draw it: its background, and each lit sample
// (c, r) of a character at x as a 2 × 2 dot at (x + 3c, 3r).
struct Expected {
    QImage strip;
    explicit Expected(const StopNameDisplay& c) : strip(432, 56, QImage::Format_RGB32) {
        strip.fill(rgb(c.backColor()));
    }
    Expected& put(int x, const DotGlyph::Pattern& dots, BgrColor colour) {
        QPainter p(&strip);
        for (int r = 0; r < DotGlyph::Samples; ++r)
            for (int col = 0; col < DotGlyph::Samples; ++col)
                if (dots.lit(col, r)) p.fillRect(x + 3 * col, 3 * r, 2, 2, QColor(rgb(colour)));
        return *this;
    }
};
bool stripIsBlank(const StopNameDisplay& c) {
    return !countOther(c.stripImage(), rgb(c.backColor()));
}
QImage shown(StopNameDisplay& c) {
    return c.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A display on a clock that stands still until a test moves it.
struct Board {
    FakeClock clock;
    StopNameDisplay ctl{nullptr, &clock};
    void at(qint64 ms) { clock.monotonic = ms, ctl.advanceScroll(); } // and lets a frame run
    QList<int> strip() const { return {ctl.stripLeft(), ctl.stripWidth()}; }
};
} // namespace
class TestStopNameDisplay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Typefaces::registerSubstitutions(); }

    void nothingLitOffTheGrid() {
        // 19 x 19 samples, whatever else the rows or the memory after them hold.
        struct { DotGlyph::Pattern p; std::array<quint32, 1> after; } m;
        m.p.rows.fill(~0u), m.after.fill(~0u);
        QVERIFY(m.p.lit(0, 0) && m.p.lit(18, 18));
        QVERIFY(!m.p.lit(19, 0) && !m.p.lit(0, 19) && !m.p.lit(-1, 0) && !m.p.lit(0, -1));
    }
    void glyphs_data() {
        QTest::addColumn<Face>("face");
        QTest::addColumn<bool>("bold");
        for (Face face : {Face::Gothic, Face::Mincho})
            for (bool bold : {false, true})
                QTest::addRow("%s%s", face == Face::Gothic ? "Gothic" : "Mincho",
                              bold ? " bold" : "")
                    << face << bold;
    }
    void glyphs() {
        // Characters light something, nothing on the 19th row or column; bold is heavier, still
        // open.
        QFETCH(Face, face);
        QFETCH(bool, bold);
        const QString family = StopNameLayout::faceFamily(face);
        for (const QChar ch : u"系統選別中市役所前・文化会館議事堂鶴見駅東口局崎黒電響"_qs) {
            const DotGlyph::Pattern p = dotsOf(ch, face, bold);
            const quint32 columns =
                std::accumulate(p.rows.begin(), p.rows.end(), 0u, std::bit_or<>());
            QVERIFY2(p.count() > 0 && p.rows[18] == 0 && columns >> 18 == 0, qPrintable(QString(ch)));
            if (face == Face::Mincho)
                QCOMPARE(DotGlyph::sampleOutline(family, 19, bold, 0, QString(ch)).lost, 0);
        }
        for (const QString& ch : {u"駅"_qs, u"議"_qs}) {
            const DotGlyph::Pattern regular = dotsOf(ch, face), heavy = dotsOf(ch, face, true);
            QCOMPARE_GT(heavy.count(), regular.count() * 6 / 5);
            QCOMPARE_LE(heavy.count(), regular.count() * 2);
            QCOMPARE_GE(holes(bold ? heavy : regular), bold ? 1 : 2);
        }
        // The IPA face stands for the board's; 14.25 and 14 points are 19 pixels at 96 dpi. Smaller
        // and lower, "は" has fewer dots, starting no higher, ending on the grid's last row 17.
        QCOMPARE(QFontInfo(DotGlyph::glyphFont(family, 14, bold)).family(),
                 face == Face::Gothic ? u"IPAGothic"_qs : u"IPAMincho"_qs);
        QCOMPARE((QList<int>{DotGlyph::glyphFont(family, 14.25, bold).pixelSize(), DotGlyph::pixelSize(14)}),
                 (QList<int>{19, 19}));
        const auto small = dotsOf(u"は"_qs, face, false, 12, 4), full = dotsOf(u"は"_qs, face, false, 14);
        QVERIFY(small.count() < full.count());
        QCOMPARE_GE(litRows(small).first(), litRows(full).first());
        QCOMPARE(litRows(small).last(), 17);
    }
    void designedStrokesAreOneDotWide() {
        // As many lit rows as strokes, none lit above another.
        for (int strokes = 1; strokes <= 3; ++strokes) {
            const DotGlyph::Pattern p = dotsOf(u"一二三"_qs.mid(strokes - 1, 1), Face::Gothic);
            for (int r = 0; r < 18; ++r)
                QCOMPARE(p.rows[size_t(r)] & p.rows[size_t(r + 1)], 0u);
            QCOMPARE(litRows(p).size(), strokes);
        }
    }
    void everyJisKanjiFits() {
        // Each JIS X 0208 kanji (rows 0x30 to 0x74) is in the designed Gothic, regular and bold;
        // the sampled Mincho loses no dot of any.
        const QString mincho = StopNameLayout::faceFamily(Face::Mincho);
        int kanji = 0;
        for (int j1 = 0x30; j1 <= 0x74; ++j1)
            for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
                const char sjis[] = {char(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0)),
                                     char(j2 + (j1 & 1 ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E))};
                const QString k = Cp932::decode(QByteArray(sjis, 2));
                if (k.size() != 1 || !k[0].isLetter()) continue;
                ++kanji;
                QVERIFY2(DotGlyph::designed(Face::Gothic, 19, false, 0, k) &&
                             DotGlyph::designed(Face::Gothic, 19, true, 0, k) &&
                             DotGlyph::sampleOutline(mincho, 19, false, 0, k).lost == 0,
                         qPrintable(k));
            }
        QCOMPARE(kanji, 6355);
    }
    void drawingCharacters() {
        // A new strip is blank; the prefix mode is 0 to 2 by either setter.
        StopNameDisplay c;
        QVERIFY(stripIsBlank(c));
        for (const auto& [value, stored] : {std::pair{-1, 0}, {2, 2}, {3, 0}}) {
            c.setPrefixMode(qint16(value));
            QCOMPARE(int{c.prefixMode()}, stored);
            StopNameDisplay::Look look = c.look();
            c.setPrefixMode(1), look.prefixMode = qint16(value), c.setLook(look);
            QCOMPARE(int{c.prefixMode()}, stored);
        }
        // A new back colour erases strip and frame until the next name; a new dot colour colours
        // the next character only; bold is another set of dots, for a name drawn before too.
        c.setStopName(Five), c.setBackColor(0x102030);
        QCOMPARE(c.frameBackColor(), BgrColor{0x102030});
        QVERIFY(stripIsBlank(c));
        c.setStopName(u"次"_qs); // one character stands at x = 188
        c.setDotColor(0x00FF00), c.drawCharacter(0, 0, u"次"_qs);
        const auto ji = dotsOf(u"次"_qs, Face::Gothic);
        QCOMPARE(c.stripImage(), Expected(c).put(0, ji, 0x00FF00).put(188, ji, 0x80C0FF).strip);
        c.setFontBold(true), c.setStopName(u"次"_qs);
        QCOMPARE(c.stripImage(), Expected(c).put(188, dotsOf(u"次"_qs, Face::Gothic, true), 0x00FF00).strip);
        // "A" with the lead byte of "停" that the unit split cut off: only "A".
        StopNameDisplay cut, whole;
        cut.drawCharacter(0, 0, StopNameLayout::layoutName(u"A停"_qs, 0).units[0].text);
        whole.drawCharacter(0, 0, u"A"_qs);
        QVERIFY(!stripIsBlank(whole));
        QCOMPARE(cut.stripImage(), whole.stripImage());
    }
    void standingNameAtItsPlaces() {
        // Exactly: the prefix of mode 1 in its colour, regular while the name is bold, "は" smaller
        // and lower, in the faces of prefix font mode 1; each unit at its place in the face of font
        // mode 2 (kana Mincho, kanji Gothic); "丨" drawn as "ー" in the face of "ー".
        const QString name = u"中丨バス停"_qs, drawn = u"中ーバス停"_qs;
        const Face faces[] = {Face::Gothic, Face::Mincho, Face::Mincho, Face::Mincho, Face::Gothic};
        StopNameDisplay c;
        c.setPrefixMode(1), c.setPrefixFontMode(1), c.setFontMode(2), c.setFontBold(true);
        c.setStopName(name);
        Expected expect(c);
        expect.put(0, dotsOf(u"次"_qs, Face::Gothic, false, 14), c.prefixColor())
            .put(54, dotsOf(u"は"_qs, Face::Mincho, false, 12, 4), c.prefixColor());
        const auto layout = StopNameLayout::layoutName(name, 1);
        QCOMPARE(layout.units.size(), name.size());
        for (int k = 0; k < name.size(); ++k)
            expect.put(layout.units[k].x, dotsOf(drawn.mid(k, 1), faces[k], true), c.dotColor());
        QCOMPARE(c.stripImage(), expect.strip);
        // The faces told apart here do look different.
        for (const QString& ch : {u"ー"_qs, u"バ"_qs, u"は"_qs})
            QVERIFY(dotsOf(ch, Face::Mincho) != dotsOf(ch, Face::Gothic));
        // A prefix font mode without a rule keeps the surface's face: Gothic, then the last name's.
        StopNameDisplay d;
        d.setPrefixMode(2), d.setPrefixFontMode(4), d.setFontMode(1);
        for (Face face : {Face::Gothic, Face::Mincho}) {
            d.setStopName(u"駅"_qs);
            QCOMPARE(d.stripImage().copy(0, 0, 108, 56),
                     Expected(d)
                         .put(0, dotsOf(u"次"_qs, face, false, 14), d.prefixColor())
                         .put(54, dotsOf(u"は"_qs, face, false, 14), d.prefixColor())
                         .strip.copy(0, 0, 108, 56));
        }
    }
    void everyRowOfDotsShowsWhole_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("150 %") << 1.5;
        QTest::newRow("300 %") << 3.0;
    }
    void everyRowOfDotsShowsWhole() {
        // "前" and "次" fill their cells from the first row of dots to the eighteenth: in the window
        // every dot of both is a whole 2 x 2 square, with the top row and the bottom row inside it;
        // at another size every dot is a square of that size, at that pitch.
        QFETCH(double, scale);
        StopNameDisplay c;
        c.setScale(scale), c.setPrefixMode(2), c.setStopName(u"前"_qs);
        const QImage window = shown(c);
        QCOMPARE(window.size(), QSize(qRound(432 * scale), qRound(56 * scale)));
        const int dot = qRound(2 * scale), top = qRound(scale), bottom = qRound(55 * scale) - 1;
        const QRgb name = rgb(c.dotColor()), prefix = rgb(c.prefixColor());
        const auto ji = dotsOf(u"次"_qs, Face::Gothic), mae = dotsOf(u"前"_qs, Face::Gothic);
        QVERIFY(ji.rows[0] && ji.rows[17] && mae.rows[0] && mae.rows[17]);
        QCOMPARE(countColour(window, name), dot * dot * mae.count());
        QCOMPARE(countColour(window, prefix, QRect(0, 0, qRound(54 * scale), window.height())),
                 dot * dot * ji.count());
        int first = window.height(), last = -1;
        for (int y = 0; y < window.height(); ++y)
            if (countColour(window, name, QRect(0, y, window.width(), 1)))
                first = std::min(first, y), last = y;
        QCOMPARE(last - first + 1, qRound(3 * 17 * scale) + dot);
        QVERIFY2(first >= top && last <= bottom, qPrintable(u"dots on rows %1..%2"_qs.arg(first).arg(last)));
    }
    void scrolling() {
        // Beyond the right edge, frames running; speed 0 becomes 1.
        Board b;
        b.ctl.setSpeed(0), b.ctl.setStopName(Nine);
        QVERIFY(b.ctl.frameTimerActive());
        QCOMPARE(b.strip() << b.ctl.speed(), (QList<int>{432, 486, 1}));
        // A frame applies the steps due, each reading the settings: at 200 the strip stands at
        // 433 - 2k after step k; at 400, 4 less a step.
        b.ctl.setSpeed(200), b.at(10);
        QCOMPARE(b.ctl.stripLeft(), 433 - 20);
        b.ctl.setSpeed(400), b.at(11);
        QCOMPARE(b.ctl.stripLeft(), 412 - 2);
        // The frame shows the strip at (stripLeft, its top), elsewhere its background.
        const QImage window = shown(b.ctl);
        QCOMPARE(window.size(), QSize(432, 56));
        const int top = StopNameLayout::StripTop;
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 432; ++x)
                QCOMPARE(window.pixel(x, y), x >= 410 && y >= top
                                                 ? b.ctl.stripImage().pixel(x - 410, y - top)
                                                 : rgb(b.ctl.frameBackColor()));
        // From 410 the strip is gone at step 235, and the pause begins.
        b.ctl.setScrollStartWait(100);
        for (const auto& [ms, pausing] : {std::pair{235, true}, {235 + 99, true}, {235 + 100, false}}) {
            b.at(ms);
            QCOMPARE(b.ctl.isScrollPausing(), pausing);
            if (pausing) QCOMPARE(b.ctl.stripLeft(), 432);
        }
        Board n; // where a new name ends the scroll
        n.ctl.setSpeed(400), n.ctl.setStopName(Nine),
            n.at(50); // the strip at 434 - 4k after step k
        QCOMPARE(n.ctl.stripLeft(), 434 - 4 * 50);
        // The empty name blanks the strip at once; the blank strip goes on.
        n.ctl.setStopName(QString());
        QVERIFY(stripIsBlank(n.ctl));
        n.at(60);
        QCOMPARE(n.strip(), (QList<int>{434 - 4 * 60, 486}));
        // A new long name starts over, its steps counted from the new start.
        n.ctl.setStopName(Nine + u"前"_qs);
        QCOMPARE(n.strip(), (QList<int>{432, 540}));
        n.at(61);
        QCOMPARE(n.ctl.stripLeft(), 430);
        // A standing name ends the scroll; the empty name after it only blanks.
        for (const QString& name : {Five, QString()}) {
            n.ctl.setStopName(name);
            QVERIFY(!n.ctl.isScrolling() && !n.ctl.frameTimerActive());
            QCOMPARE(n.strip(), (QList<int>{0, 432}));
            QCOMPARE(stripIsBlank(n.ctl), name.isEmpty());
            n.at(n.clock.monotonic + 5000);
            QCOMPARE(n.ctl.stripLeft(), 0);
        }
    }
};
QTEST_MAIN(TestStopNameDisplay)
#include "tst_stopnamedisplay.moc"
