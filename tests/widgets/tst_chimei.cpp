// The stop-name display: properties and their design data, the dots of a
// character, the prefix, the placement of a name on the strip and what the
// control shows.
#include "Fakes.h"
#include "widgets/QColorOf.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/DotGlyph.h"
#include "model/StopNameLayout.h"
#include "widgets/PropertyBag.h"
#include "widgets/Typefaces.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QtTest>

using StopNameLayout::Face;

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

QRgb rgb(BgrColor c) {
    return toQColor(c).rgb();
}

// The dots of text as a glyph surface of its own gives them.
DotGlyph::Pattern dotsOf(const QString& text, Face face, bool bold = false,
                               double points = 14.25, int top = 0) {
    DotGlyph::Surface s;
    s.setFamily(StopNameLayout::faceFamily(face));
    s.setBold(bold);
    s.setPoints(points);
    s.setTop(top);
    return s.dots(text);
}

// The lit samples of the 54 × 54 cell at (x, 0) of the strip, read back
// from the dots' top-left pixels.
DotGlyph::Pattern readCell(const QImage& strip, int x, QRgb background) {
    DotGlyph::Pattern p;
    for (int r = 0; r < DotGlyph::Samples; ++r)
        for (int c = 0; c < DotGlyph::Samples; ++c) {
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
    StopNameDisplay fresh;
    PropertyBag bag;
    fresh.writeProperties(bag);
    // A new instance differs from the missing-key defaults in its colours only.
    QCOMPARE(bag.size(), 2);
    QCOMPARE(bag.read(u"BackColor"_qs).toLongLong(), 0x404040LL);
    QCOMPARE(bag.read(u"ForeColor"_qs).toLongLong(), 0x80C0FFLL);

    // Loaded without keys, it writes nothing, and the frame takes the loaded
    // back colour.
    const PropertyBag empty;
    StopNameDisplay loaded(nullptr, &empty);
    QCOMPARE(loaded.frameBackColor(), loaded.backColor());
    QCOMPARE(litPixels(loaded.stripImage(), rgb(loaded.backColor())), 0);
    PropertyBag out{{u"Speed"_qs, 99}};
    loaded.writeProperties(out);
    QCOMPARE(out.size(), 0); // a default removes a stale key
}

void TestChimei::roundTrip() {
    StopNameDisplay a;
    QSignalSpy spy(&a, &StopNameDisplay::propertyChanged);
    a.setBackColor(a.backColor()); // the same value notifies as well
    a.setDotColor(0x0A0B0C);
    a.setSpeed(1234);
    a.setScrollStartWait(0);
    a.setMode(2);
    a.setAppearance(0);
    a.setFontMode(4);
    a.setFontBold(true);
    a.setPrefixMode(1);
    a.setPrefixColor(0xFFFFFF);
    a.setPrefixFontMode(3);
    a.setPrefixBold(true);
    QStringList names;
    for (const auto& args : spy)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"BackColor", "ForeColor", "Speed", "ScrollStartWait", "Mode",
                                 "Appearance", "FontMode", "FontBold", "TsugiwaMode",
                                 "TsugiwaColor", "TsugiwaFontMode", "TsugiwaBold"}));
    PropertyBag bag;
    a.writeProperties(bag);
    QCOMPARE(bag.size(), 12);
    StopNameDisplay b(nullptr, &bag);
    PropertyBag again;
    b.writeProperties(again);
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
    StopNameDisplay c;
    c.setPrefixMode(1);
    c.setPrefixMode(static_cast<qint16>(value));
    QCOMPARE(int{c.prefixMode()}, stored);
}

void TestChimei::backColorErasesStrip() {
    StopNameDisplay c;
    c.setStopName(u"系統選別中"_qs);
    QVERIFY(litPixels(c.stripImage(), rgb(0x404040)) > 0);
    c.setBackColor(0x102030);
    QCOMPARE(c.backColor(), BgrColor{0x102030});
    QCOMPARE(c.frameBackColor(), BgrColor{0x102030});
    QCOMPARE(litPixels(c.stripImage(), rgb(0x102030)), 0);
    // The name is not drawn again until the next SetChimei.
    c.setStopName(u"系統選別中"_qs);
    QVERIFY(litPixels(c.stripImage(), rgb(0x102030)) > 0);
}

void TestChimei::foreColorFromNextCharacter() {
    StopNameDisplay c;
    c.setStopName(u"次"_qs);
    const QImage before = c.stripImage();
    c.setDotColor(0x00FF00);
    QCOMPARE(c.stripImage(), before);
    QCOMPARE(colourInCell(c.stripImage(), 188, rgb(0x404040)), rgb(0x80C0FF));
    c.drawCharacter(0, 0, u"次"_qs);
    QCOMPARE(colourInCell(c.stripImage(), 0, rgb(0x404040)), rgb(0x00FF00));
    QCOMPARE(colourInCell(c.stripImage(), 188, rgb(0x404040)), rgb(0x80C0FF));
}

void TestChimei::appearanceKeepsSize() {
    StopNameDisplay c;
    c.setAppearance(0);
    QCOMPARE(c.appearance(), qint16{0});
    QCOMPARE(c.size(), QSize(432, 56));
    c.setAppearance(1);
    QCOMPARE(c.size(), QSize(432, 56));
}

// ------------------------------------------------------------ drawing

void TestChimei::typefacesSubstituted() {
    QCOMPARE(QFontInfo(DotGlyph::glyphFont(StopNameLayout::faceFamily(Face::Gothic), 14.25, false))
                 .family(),
             u"IPAGothic"_qs);
    QCOMPARE(QFontInfo(DotGlyph::glyphFont(StopNameLayout::faceFamily(Face::Mincho), 14, false))
                 .family(),
             u"IPAMincho"_qs);
    QCOMPARE(DotGlyph::pixelSize(14.25), 19);
    QCOMPARE(DotGlyph::pixelSize(14), 19);
    QCOMPARE(DotGlyph::pixelSize(12), 16);
    QCOMPARE(DotGlyph::glyphFont(u"x"_qs, 14.25, false).pixelSize(), 19);
}

void TestChimei::glyphDrawnWithoutSmoothing() {
    DotGlyph::Surface s;
    const DotGlyph::Pattern dots = s.dots(u"次"_qs);
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
    StopNameDisplay c;
    c.setFontBold(bold);
    c.setFontMode(static_cast<qint16>(fontMode));
    const QRgb bg = rgb(c.backColor());
    const QRgb fg = rgb(c.dotColor());
    c.drawCharacter(54, 0, text);
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
    StopNameDisplay c;
    c.setFontMode(static_cast<qint16>(fontMode));
    c.setStopName(name);
    const StopNameLayout::Layout l = StopNameLayout::layoutName(name, 0);
    for (int k = 0; k < name.size(); ++k) {
        const Face face = faces[k] == u'M' ? Face::Mincho : Face::Gothic;
        const Face other = face == Face::Mincho ? Face::Gothic : Face::Mincho;
        const auto shown = readCell(c.stripImage(), l.units[k].x, rgb(c.backColor()));
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
    StopNameDisplay a;
    StopNameDisplay b;
    a.setFontMode(static_cast<qint16>(fontMode));
    b.setFontMode(static_cast<qint16>(fontMode));
    a.drawCharacter(0, 0, unit);
    b.drawCharacter(0, 0, drawnAs);
    QCOMPARE(a.stripImage(), b.stripImage());
    QCOMPARE(a.glyphSurface().family(), b.glyphSurface().family());
    QVERIFY(litPixels(a.stripImage(), rgb(a.backColor())) > 0);
}

void TestChimei::cutCharacterDrawsWholePart() {
    // "A" followed by the lead byte of "停": the cut byte draws nothing.
    const StopNameLayout::Layout l = StopNameLayout::layoutName(u"A停"_qs, 0);
    QCOMPARE(l.units.size(), 2);
    StopNameDisplay a;
    StopNameDisplay b;
    a.drawCharacter(0, 0, l.units[0].text);
    b.drawCharacter(0, 0, u"A"_qs);
    QCOMPARE(a.stripImage(), b.stripImage());
    a.setStopName(u"A停"_qs);
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
    StopNameDisplay c;
    c.setPrefixMode(static_cast<qint16>(tsugiwaMode));
    c.setPrefixFontMode(static_cast<qint16>(tsugiwaFontMode));
    c.setPrefixColor(0x0000FF);
    c.setFontBold(true);
    c.setStopName(u"駅前"_qs);
    const QRgb bg = rgb(c.backColor());
    const Face tf = tsugiFace ? Face::Mincho : Face::Gothic;
    const Face hf = haFace ? Face::Mincho : Face::Gothic;
    QCOMPARE(readCell(c.stripImage(), 0, bg), dotsOf(u"次"_qs, tf, false, 14));
    const bool small = tsugiwaMode == 1;
    const auto ha = readCell(c.stripImage(), 54, bg);
    QCOMPARE(ha, dotsOf(u"は"_qs, hf, false, small ? 12 : 14, small ? 4 : 0));
    QCOMPARE(colourInCell(c.stripImage(), 0, bg), rgb(0x0000FF));
    QCOMPARE(colourInCell(c.stripImage(), 54, bg), rgb(0x0000FF));
    QCOMPARE(colourInCell(c.stripImage(), 188, bg), rgb(c.dotColor()));
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
    StopNameDisplay d;
    d.setPrefixMode(1);
    d.setPrefixBold(true);
    d.drawPrefix();
    QCOMPARE(d.glyphSurface().points(), 14.0);
    QCOMPARE(d.glyphSurface().top(), 0);
    QVERIFY(!d.glyphSurface().bold());
}

void TestChimei::prefixKeepsTypefaceForOtherModes() {
    StopNameDisplay c;
    c.setPrefixFontMode(4);
    c.setFontMode(1); // the name leaves the glyph surface at Mincho
    c.drawCharacter(0, 0, u"駅"_qs);
    QCOMPARE(c.glyphSurface().family(), StopNameLayout::faceFamily(Face::Mincho));
    c.setPrefixMode(2);
    c.setStopName(u"駅"_qs);
    const QRgb bg = rgb(c.backColor());
    QCOMPARE(readCell(c.stripImage(), 0, bg), dotsOf(u"次"_qs, Face::Mincho, false, 14));
    QCOMPARE(readCell(c.stripImage(), 54, bg), dotsOf(u"は"_qs, Face::Mincho, false, 14));
    // A new control's glyph surface starts with Gothic.
    StopNameDisplay fresh;
    fresh.setPrefixFontMode(-1);
    fresh.setPrefixMode(2);
    fresh.drawPrefix();
    QCOMPARE(readCell(fresh.stripImage(), 0, bg), dotsOf(u"次"_qs, Face::Gothic, false, 14));
}

void TestChimei::savedPrefixModeThreeDrawsSameSize() {
    const PropertyBag saved{{u"TsugiwaMode"_qs, 3}};
    StopNameDisplay three(nullptr, &saved);
    const PropertyBag two{{u"TsugiwaMode"_qs, 2}};
    StopNameDisplay same(nullptr, &two);
    three.setStopName(u"駅前"_qs);
    same.setStopName(u"駅前"_qs);
    QCOMPARE(three.prefixMode(), qint16{3});
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
    StopNameDisplay c;
    c.setPrefixMode(static_cast<qint16>(tsugiwaMode));
    c.setStopName(name);
    QVERIFY(!c.isScrolling());
    QCOMPARE(c.stripLeft(), 0);
    QCOMPARE(c.stripWidth(), 432);
    // The strip holds exactly the characters' dots at their places.
    QImage expect(432, 56, QImage::Format_RGB32);
    expect.fill(rgb(c.backColor()));
    if (tsugiwaMode) {
        DotGlyph::fillDots(expect, 0, 0, dotsOf(u"次"_qs, Face::Gothic, false, 14),
                              rgb(c.prefixColor()));
        DotGlyph::fillDots(expect, 54, 0,
                              dotsOf(u"は"_qs, Face::Gothic, false, tsugiwaMode == 1 ? 12 : 14,
                                     tsugiwaMode == 1 ? 4 : 0),
                              rgb(c.prefixColor()));
    }
    for (int k = 0; k < x.size(); ++k)
        DotGlyph::fillDots(expect, x[k], 0, dotsOf(name.mid(k, 1), Face::Gothic),
                              rgb(c.dotColor()));
    QCOMPARE(c.stripImage(), expect);
}

void TestChimei::emptyNameBlanks() {
    StopNameDisplay c;
    c.setStopName(u"系統選別中"_qs);
    c.setStopName(QString());
    QCOMPARE(litPixels(c.stripImage(), rgb(c.backColor())), 0);
    QCOMPARE(c.stripLeft(), 0);
    QVERIFY(!c.isScrolling());
}

void TestChimei::shownThroughFrame() {
    FakeClock clock;
    StopNameDisplay c(nullptr, nullptr, &clock);
    c.setSpeed(400);
    for (const QString& name : {u"系統選別中"_qs, u"停留所前通り町一丁"_qs}) {
        c.setStopName(name);
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
    StopNameDisplay c;
    c.setPrefixMode(1);
    c.setStopName(u"系統選別中"_qs);
    const int remembered = c.glyphSurface().remembered();
    QCOMPARE(remembered, 7); // 次, は and five characters
    const QImage first = c.stripImage();
    c.setStopName(u"系統選別中"_qs);
    QCOMPARE(c.glyphSurface().remembered(), remembered);
    QCOMPARE(c.stripImage(), first);
    c.setFontBold(true);
    c.setStopName(u"系統選別中"_qs);
    QCOMPARE(c.glyphSurface().remembered(), remembered + 5);
    QVERIFY(c.stripImage() != first);
}

QTEST_MAIN(TestChimei)
#include "tst_chimei.moc"
