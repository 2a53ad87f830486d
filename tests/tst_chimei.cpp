// The stop-name display: properties and their design data, the dots of a
// character, the prefix, the placement of a name on the strip and what the
// control shows.
#include "Fakes.h"
#include "controls/ChimeiCtl_DX.h"
#include "controls/ChimeiGlyph.h"
#include "controls/ChimeiLayout.h"
#include "controls/PropertyBag.h"
#include "platform/Typefaces.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QtTest>

using ChimeiLayout::Face;

class TestChimei : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void writesOnlyNonDefaults();
    void roundTrip();
    void tsugiwaModeClamped_data();
    void tsugiwaModeClamped();
    void backColorErasesStrip();
    void foreColorFromNextCharacter();
    void appearanceKeepsSize();

    void typefacesSubstituted();
    void glyphDrawnWithoutSmoothing();
    void dotGeometry_data();
    void dotGeometry();
    void nameTypefaceRule_data();
    void nameTypefaceRule();
    void substitutionsDrawn_data();
    void substitutionsDrawn();
    void cutCharacterDrawsWholePart();
    void prefix_data();
    void prefix();
    void prefixKeepsTypefaceForOtherModes();
    void savedPrefixModeThreeDrawsSameSize();

    void standingNamePlacement_data();
    void standingNamePlacement();
    void emptyNameBlanks();
    void shownThroughFrame();
    void cacheRemembersCharacters();
};

namespace {

QRgb rgb(OleColor c) {
    return toQColor(c).rgb();
}

// The dots of text as a glyph surface of its own gives them.
ChimeiGlyph::DotPattern dotsOf(const QString& text, Face face, bool bold = false,
                               double points = 14.25, int top = 0) {
    ChimeiGlyphSurface s;
    s.setFamily(ChimeiLayout::faceFamily(face));
    s.setBold(bold);
    s.setPoints(points);
    s.setTop(top);
    return s.dots(text);
}

// The lit samples of the 54 × 54 cell at (x, 0) of the strip, read back
// from the dots' top-left pixels.
ChimeiGlyph::DotPattern readCell(const QImage& strip, int x, QRgb background) {
    ChimeiGlyph::DotPattern p;
    for (int r = 0; r < ChimeiGlyph::Samples; ++r)
        for (int c = 0; c < ChimeiGlyph::Samples; ++c) {
            const int px = x + 3 * c;
            const int py = 3 * r;
            if (px >= strip.width() || py >= strip.height()) continue;
            if (strip.pixel(px, py) != background) p.rows[size_t(r)] |= 1u << c;
        }
    return p;
}

QRgb colourInCell(const QImage& strip, int x, QRgb background) {
    for (int y = 0; y < strip.height(); ++y)
        for (int px = x; px < std::min(x + 54, strip.width()); ++px)
            if (strip.pixel(px, y) != background) return strip.pixel(px, y);
    return background;
}

int litPixels(const QImage& img, QRgb background) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) != background;
    return n;
}

} // namespace

void TestChimei::initTestCase() {
    Typefaces::registerSubstitutions();
}

// ------------------------------------------------------------ properties

void TestChimei::writesOnlyNonDefaults() {
    ChimeiCtl_DX fresh;
    PropertyBag bag;
    fresh.WriteProperties(bag);
    // A new instance differs from the missing-key defaults in its colours only.
    QCOMPARE(bag.size(), 2);
    QCOMPARE(bag.ReadProperty(u"BackColor"_qs).toLongLong(), 0x404040LL);
    QCOMPARE(bag.ReadProperty(u"ForeColor"_qs).toLongLong(), 0x80C0FFLL);

    // Loaded without keys, it writes nothing, and the frame takes the loaded
    // back colour.
    const PropertyBag empty;
    ChimeiCtl_DX loaded(nullptr, &empty);
    QCOMPARE(loaded.frameBackColor(), loaded.BackColor());
    QCOMPARE(litPixels(loaded.stripImage(), rgb(loaded.BackColor())), 0);
    PropertyBag out{{u"Speed"_qs, 99}};
    loaded.WriteProperties(out);
    QCOMPARE(out.size(), 0); // a default removes a stale key
}

void TestChimei::roundTrip() {
    ChimeiCtl_DX a;
    QSignalSpy spy(&a, &ChimeiCtl_DX::PropertyChanged);
    a.setBackColor(a.BackColor()); // the same value notifies as well
    a.setForeColor(0x0A0B0C);
    a.setSpeed(1234);
    a.setScrollStartWait(0);
    a.setMode(2);
    a.setAppearance(0);
    a.setFontMode(4);
    a.setFontBold(true);
    a.setTsugiwaMode(1);
    a.setTsugiwaColor(0xFFFFFF);
    a.setTsugiwaFontMode(3);
    a.setTsugiwaBold(true);
    QStringList names;
    for (const auto& args : spy)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"BackColor", "ForeColor", "Speed", "ScrollStartWait", "Mode",
                                 "Appearance", "FontMode", "FontBold", "TsugiwaMode",
                                 "TsugiwaColor", "TsugiwaFontMode", "TsugiwaBold"}));
    PropertyBag bag;
    a.WriteProperties(bag);
    QCOMPARE(bag.size(), 12);
    ChimeiCtl_DX b(nullptr, &bag);
    PropertyBag again;
    b.WriteProperties(again);
    QCOMPARE(again, bag);
}

void TestChimei::tsugiwaModeClamped_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("2") << 2 << 2;
    QTest::newRow("3") << 3 << 0;
    QTest::newRow("32767") << 32767 << 0;
}

void TestChimei::tsugiwaModeClamped() {
    QFETCH(int, value);
    QFETCH(int, stored);
    ChimeiCtl_DX c;
    c.setTsugiwaMode(1);
    c.setTsugiwaMode(static_cast<qint16>(value));
    QCOMPARE(int{c.TsugiwaMode()}, stored);
}

void TestChimei::backColorErasesStrip() {
    ChimeiCtl_DX c;
    c.SetChimei(u"系統選別中"_qs);
    QVERIFY(litPixels(c.stripImage(), rgb(0x404040)) > 0);
    c.setBackColor(0x102030);
    QCOMPARE(c.BackColor(), OleColor{0x102030});
    QCOMPARE(c.frameBackColor(), OleColor{0x102030});
    QCOMPARE(litPixels(c.stripImage(), rgb(0x102030)), 0);
    // The name is not drawn again until the next SetChimei.
    c.SetChimei(u"系統選別中"_qs);
    QVERIFY(litPixels(c.stripImage(), rgb(0x102030)) > 0);
}

void TestChimei::foreColorFromNextCharacter() {
    ChimeiCtl_DX c;
    c.SetChimei(u"次"_qs);
    const QImage before = c.stripImage();
    c.setForeColor(0x00FF00);
    QCOMPARE(c.stripImage(), before);
    QCOMPARE(colourInCell(c.stripImage(), 188, rgb(0x404040)), rgb(0x80C0FF));
    c.DrawDot54(0, 0, u"次"_qs);
    QCOMPARE(colourInCell(c.stripImage(), 0, rgb(0x404040)), rgb(0x00FF00));
    QCOMPARE(colourInCell(c.stripImage(), 188, rgb(0x404040)), rgb(0x80C0FF));
}

void TestChimei::appearanceKeepsSize() {
    ChimeiCtl_DX c;
    c.setAppearance(0);
    QCOMPARE(c.Appearance(), qint16{0});
    QCOMPARE(c.size(), QSize(432, 56));
    c.setAppearance(1);
    QCOMPARE(c.size(), QSize(432, 56));
}

// ------------------------------------------------------------ drawing

void TestChimei::typefacesSubstituted() {
    QCOMPARE(QFontInfo(ChimeiGlyph::glyphFont(ChimeiLayout::faceFamily(Face::Gothic), 14.25, false))
                 .family(),
             u"IPAGothic"_qs);
    QCOMPARE(QFontInfo(ChimeiGlyph::glyphFont(ChimeiLayout::faceFamily(Face::Mincho), 14, false))
                 .family(),
             u"IPAMincho"_qs);
    QCOMPARE(ChimeiGlyph::pixelSize(14.25), 19);
    QCOMPARE(ChimeiGlyph::pixelSize(14), 19);
    QCOMPARE(ChimeiGlyph::pixelSize(12), 16);
    QCOMPARE(ChimeiGlyph::glyphFont(u"x"_qs, 14.25, false).pixelSize(), 19);
}

void TestChimei::glyphDrawnWithoutSmoothing() {
    ChimeiGlyphSurface s;
    const ChimeiGlyph::DotPattern dots = s.dots(u"次"_qs);
    QVERIFY(dots.count() > 30);
    const QImage& img = s.image();
    QCOMPARE(img.size(), QSize(18, 18));
    int black = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            QVERIFY2(p == 0 || p == 0xFFFFFF, "a grey pixel: the glyph was smoothed");
            black += p == 0;
        }
    QCOMPARE(black, dots.count());
}

void TestChimei::dotGeometry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("fontMode");
    QTest::newRow("次") << u"次"_qs << false << 0;
    QTest::newRow("Ｗ bold mincho") << u"Ｗ"_qs << true << 1;
    QTest::newRow("█ box") << u"█"_qs << true << 0;
}

void TestChimei::dotGeometry() {
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(int, fontMode);
    ChimeiCtl_DX c;
    c.setFontBold(bold);
    c.setFontMode(static_cast<qint16>(fontMode));
    const QRgb bg = rgb(c.BackColor());
    const QRgb fg = rgb(c.ForeColor());
    c.DrawDot54(54, 0, text);
    const QImage& strip = c.stripImage();
    int dots = 0;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb p = strip.pixel(x, y);
            if (p == bg) continue;
            QCOMPARE(p, fg);
            // Inside the cell, on the 2 × 2 squares of a 3-pixel pitch, never
            // in sample column or row 18.
            QVERIFY(x >= 54 && x < 108);
            QVERIFY(y < 54);
            const int cx = (x - 54) % 3, cy = y % 3;
            QVERIFY(cx < 2 && cy < 2);
            QVERIFY((x - 54) / 3 < 18 && y / 3 < 18);
            if (cx == 0 && cy == 0) {
                ++dots;
                QCOMPARE(strip.pixel(x + 1, y), fg);
                QCOMPARE(strip.pixel(x, y + 1), fg);
                QCOMPARE(strip.pixel(x + 1, y + 1), fg);
            }
        }
    QVERIFY(dots > 0);
    QVERIFY(dots <= 18 * 18);
}

void TestChimei::nameTypefaceRule_data() {
    QTest::addColumn<int>("fontMode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("faces"); // G or M per character
    QTest::newRow("2 バス停") << 2 << u"バス停"_qs << u"MMG"_qs;
    QTest::newRow("4 Ａあ") << 4 << u"Ａあ"_qs << u"GM"_qs;
}

void TestChimei::nameTypefaceRule() {
    QFETCH(int, fontMode);
    QFETCH(QString, name);
    QFETCH(QString, faces);
    ChimeiCtl_DX c;
    c.setFontMode(static_cast<qint16>(fontMode));
    c.SetChimei(name);
    const ChimeiLayout::Layout l = ChimeiLayout::layoutName(name, 0);
    for (int k = 0; k < name.size(); ++k) {
        const Face face = faces[k] == u'M' ? Face::Mincho : Face::Gothic;
        const Face other = face == Face::Mincho ? Face::Gothic : Face::Mincho;
        const auto shown = readCell(c.stripImage(), l.units[k].x, rgb(c.BackColor()));
        QCOMPARE(shown, dotsOf(name.mid(k, 1), face));
        QVERIFY(shown != dotsOf(name.mid(k, 1), other));
    }
}

void TestChimei::substitutionsDrawn_data() {
    QTest::addColumn<int>("fontMode");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("drawnAs");
    QTest::newRow("↓") << 0 << u"↓"_qs << u"→"_qs;
    // The typeface follows the character drawn: "ー" is no kanji.
    QTest::newRow("丨 mode 2") << 2 << u"丨"_qs << u"ー"_qs;
}

void TestChimei::substitutionsDrawn() {
    QFETCH(int, fontMode);
    QFETCH(QString, unit);
    QFETCH(QString, drawnAs);
    ChimeiCtl_DX a;
    ChimeiCtl_DX b;
    a.setFontMode(static_cast<qint16>(fontMode));
    b.setFontMode(static_cast<qint16>(fontMode));
    a.DrawDot54(0, 0, unit);
    b.DrawDot54(0, 0, drawnAs);
    QCOMPARE(a.stripImage(), b.stripImage());
    QCOMPARE(a.glyphSurface().family(), b.glyphSurface().family());
    QVERIFY(litPixels(a.stripImage(), rgb(a.BackColor())) > 0);
}

void TestChimei::cutCharacterDrawsWholePart() {
    // "A" followed by the lead byte of "停": the cut byte draws nothing.
    const ChimeiLayout::Layout l = ChimeiLayout::layoutName(u"A停"_qs, 0);
    QCOMPARE(l.units.size(), 2);
    ChimeiCtl_DX a;
    ChimeiCtl_DX b;
    a.DrawDot54(0, 0, l.units[0].text);
    b.DrawDot54(0, 0, u"A"_qs);
    QCOMPARE(a.stripImage(), b.stripImage());
    a.SetChimei(u"A停"_qs);
    QVERIFY(!a.isScrolling());
}

void TestChimei::prefix_data() {
    QTest::addColumn<int>("tsugiwaMode");
    QTest::addColumn<int>("tsugiwaFontMode");
    QTest::addColumn<int>("tsugiFace");
    QTest::addColumn<int>("haFace");
    QTest::newRow("1, all gothic") << 1 << 0 << 0 << 0;
    QTest::newRow("2, は mincho") << 2 << 1 << 0 << 1;
    QTest::newRow("2, は gothic") << 2 << 3 << 1 << 0;
}

void TestChimei::prefix() {
    QFETCH(int, tsugiwaMode);
    QFETCH(int, tsugiwaFontMode);
    QFETCH(int, tsugiFace);
    QFETCH(int, haFace);
    ChimeiCtl_DX c;
    c.setTsugiwaMode(static_cast<qint16>(tsugiwaMode));
    c.setTsugiwaFontMode(static_cast<qint16>(tsugiwaFontMode));
    c.setTsugiwaColor(0x0000FF);
    c.setFontBold(true);
    c.SetChimei(u"駅前"_qs);
    const QRgb bg = rgb(c.BackColor());
    const Face tf = tsugiFace ? Face::Mincho : Face::Gothic;
    const Face hf = haFace ? Face::Mincho : Face::Gothic;
    QCOMPARE(readCell(c.stripImage(), 0, bg), dotsOf(u"次"_qs, tf, false, 14));
    const bool small = tsugiwaMode == 1;
    const auto ha = readCell(c.stripImage(), 54, bg);
    QCOMPARE(ha, dotsOf(u"は"_qs, hf, false, small ? 12 : 14, small ? 4 : 0));
    QCOMPARE(colourInCell(c.stripImage(), 0, bg), rgb(0x0000FF));
    QCOMPARE(colourInCell(c.stripImage(), 54, bg), rgb(0x0000FF));
    QCOMPARE(colourInCell(c.stripImage(), 188, bg), rgb(c.ForeColor()));
    // The prefix stays regular while the name is bold.
    QCOMPARE(readCell(c.stripImage(), 188, bg), dotsOf(u"駅"_qs, Face::Gothic, true));
    QVERIFY(dotsOf(u"次"_qs, tf, true, 14) != dotsOf(u"次"_qs, tf, false, 14));
    if (small) {
        // Smaller and lower than a full-size "は": no dot in the top rows.
        const auto full = dotsOf(u"は"_qs, hf, false, 14, 0);
        QVERIFY(ha.count() < full.count());
        int top = 0;
        while (top < 19 && !ha.rows[size_t(top)])
            ++top;
        int fullTop = 0;
        while (fullTop < 19 && !full.rows[size_t(fullTop)])
            ++fullTop;
        QVERIFY(top >= fullTop + 3);
    }
    // The glyph surface is reset afterwards: 14 points, start 0, not bold.
    ChimeiCtl_DX d;
    d.setTsugiwaMode(1);
    d.setTsugiwaBold(true);
    d.DrawTsugiwa();
    QCOMPARE(d.glyphSurface().points(), 14.0);
    QCOMPARE(d.glyphSurface().top(), 0);
    QVERIFY(!d.glyphSurface().bold());
}

void TestChimei::prefixKeepsTypefaceForOtherModes() {
    ChimeiCtl_DX c;
    c.setTsugiwaFontMode(4);
    c.setFontMode(1); // the name leaves the glyph surface at Mincho
    c.DrawDot54(0, 0, u"駅"_qs);
    QCOMPARE(c.glyphSurface().family(), ChimeiLayout::faceFamily(Face::Mincho));
    c.setTsugiwaMode(2);
    c.SetChimei(u"駅"_qs);
    const QRgb bg = rgb(c.BackColor());
    QCOMPARE(readCell(c.stripImage(), 0, bg), dotsOf(u"次"_qs, Face::Mincho, false, 14));
    QCOMPARE(readCell(c.stripImage(), 54, bg), dotsOf(u"は"_qs, Face::Mincho, false, 14));
    // A new control's glyph surface starts with Gothic.
    ChimeiCtl_DX fresh;
    fresh.setTsugiwaFontMode(-1);
    fresh.setTsugiwaMode(2);
    fresh.DrawTsugiwa();
    QCOMPARE(readCell(fresh.stripImage(), 0, bg), dotsOf(u"次"_qs, Face::Gothic, false, 14));
}

void TestChimei::savedPrefixModeThreeDrawsSameSize() {
    const PropertyBag saved{{u"TsugiwaMode"_qs, 3}};
    ChimeiCtl_DX three(nullptr, &saved);
    const PropertyBag two{{u"TsugiwaMode"_qs, 2}};
    ChimeiCtl_DX same(nullptr, &two);
    three.SetChimei(u"駅前"_qs);
    same.SetChimei(u"駅前"_qs);
    QCOMPARE(three.TsugiwaMode(), qint16{3});
    QCOMPARE(three.stripImage(), same.stripImage());
}

void TestChimei::standingNamePlacement_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tsugiwaMode");
    QTest::addColumn<QList<int>>("x");
    QTest::newRow("系統選別中") << u"系統選別中"_qs << 0 << QList<int>{27, 108, 189, 270, 351};
    QTest::newRow("one, prefix") << u"駅"_qs << 1 << QList<int>{242};
    QTest::newRow("six, prefix") << u"中央通り一丁"_qs << 2
                                 << QList<int>{108, 162, 216, 270, 324, 378};
}

void TestChimei::standingNamePlacement() {
    QFETCH(QString, name);
    QFETCH(int, tsugiwaMode);
    QFETCH(QList<int>, x);
    ChimeiCtl_DX c;
    c.setTsugiwaMode(static_cast<qint16>(tsugiwaMode));
    c.SetChimei(name);
    QVERIFY(!c.isScrolling());
    QCOMPARE(c.stripLeft(), 0);
    QCOMPARE(c.stripWidth(), 432);
    // The strip holds exactly the characters' dots at their places.
    QImage expect(432, 56, QImage::Format_RGB32);
    expect.fill(rgb(c.BackColor()));
    if (tsugiwaMode) {
        ChimeiGlyph::fillDots(expect, 0, 0, dotsOf(u"次"_qs, Face::Gothic, false, 14),
                              rgb(c.TsugiwaColor()));
        ChimeiGlyph::fillDots(expect, 54, 0,
                              dotsOf(u"は"_qs, Face::Gothic, false, tsugiwaMode == 1 ? 12 : 14,
                                     tsugiwaMode == 1 ? 4 : 0),
                              rgb(c.TsugiwaColor()));
    }
    for (int k = 0; k < x.size(); ++k)
        ChimeiGlyph::fillDots(expect, x[k], 0, dotsOf(name.mid(k, 1), Face::Gothic),
                              rgb(c.ForeColor()));
    QCOMPARE(c.stripImage(), expect);
}

void TestChimei::emptyNameBlanks() {
    ChimeiCtl_DX c;
    c.SetChimei(u"系統選別中"_qs);
    c.SetChimei(QString());
    QCOMPARE(litPixels(c.stripImage(), rgb(c.BackColor())), 0);
    QCOMPARE(c.stripLeft(), 0);
    QVERIFY(!c.isScrolling());
}

void TestChimei::shownThroughFrame() {
    FakeClock clock;
    ChimeiCtl_DX c(nullptr, nullptr, &clock);
    c.setSpeed(400);
    for (const QString& name : {u"系統選別中"_qs, u"停留所前通り町一丁"_qs}) {
        c.SetChimei(name);
        clock.advance(150);
        c.advanceScroll();
        const QImage shown = c.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(432, 56));
        const QImage& strip = c.stripImage();
        const int left = c.stripLeft();
        QCOMPARE(left, c.isScrolling() ? 434 - 600 : 0);
        // The strip's row 0 lies above the frame; the frame's last row shows
        // the frame's background.
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 432; ++x) {
                const int sx = x - left, sy = y + 1;
                const QRgb want = sx >= 0 && sx < strip.width() && sy < 56
                                      ? strip.pixel(sx, sy)
                                      : rgb(c.frameBackColor());
                QCOMPARE(shown.pixel(x, y), want);
            }
    }
}

void TestChimei::cacheRemembersCharacters() {
    ChimeiCtl_DX c;
    c.setTsugiwaMode(1);
    c.SetChimei(u"系統選別中"_qs);
    const int remembered = c.glyphSurface().remembered();
    QCOMPARE(remembered, 7); // 次, は and five characters
    const QImage first = c.stripImage();
    c.SetChimei(u"系統選別中"_qs);
    QCOMPARE(c.glyphSurface().remembered(), remembered);
    QCOMPARE(c.stripImage(), first);
    c.setFontBold(true);
    c.SetChimei(u"系統選別中"_qs);
    QCOMPARE(c.glyphSurface().remembered(), remembered + 5);
    QVERIFY(c.stripImage() != first);
}

QTEST_MAIN(TestChimei)
#include "tst_chimei.moc"
