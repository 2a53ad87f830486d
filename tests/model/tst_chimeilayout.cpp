// The stop-name text model: unit split, placement, strip width, scroll
// decision, typeface rules and substitutions.
#include "model/StopNameLayout.h"
#include "model/Cp932.h"

#include <QtTest>
#include <limits>

using namespace StopNameLayout;

class TestChimeiLayout : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void oddByteLastUnit_data();
    void oddByteLastUnit();
    void unitsStraddlingCharacters();
    void emptyName();
    void overlongNameIsBounded();
    void nameFace_data();
    void nameFace();
    void prefixFace_data();
    void prefixFace();
    void substitutions_data();
    void substitutions();
    void unitCode_data();
    void unitCode();
};

namespace {
const QString nine = u"停留所前通り町一丁"_qs; // nine full-width characters
QList<int> xs(const Layout& l) {
    QList<int> out;
    for (const Unit& u : l.units)
        out << u.x;
    return out;
}
} // namespace

void TestChimeiLayout::layout_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("tsugiwaMode");
    QTest::addColumn<QList<int>>("x");
    QTest::addColumn<int>("stripWidth");
    QTest::addColumn<bool>("scrolls");

    using L = QList<int>;
    QTest::newRow("1") << 1 << 0 << L{188} << 432 << false;
    QTest::newRow("2") << 2 << 0 << L{135, 243} << 432 << false;
    QTest::newRow("3") << 3 << 0 << L{81, 189, 297} << 432 << false;
    QTest::newRow("4") << 4 << 0 << L{67, 148, 229, 310} << 432 << false;
    QTest::newRow("5") << 5 << 0 << L{27, 108, 189, 270, 351} << 432 << false;
    QTest::newRow("6") << 6 << 0 << L{21, 87, 153, 219, 285, 351} << 432 << false;
    QTest::newRow("7") << 7 << 0 << L{18, 75, 132, 189, 246, 303, 360} << 432 << false;
    QTest::newRow("8 fills the frame")
        << 8 << 0 << L{0, 54, 108, 162, 216, 270, 324, 378} << 432 << false;
    QTest::newRow("9 scrolls") << 9 << 0 << L{0, 54, 108, 162, 216, 270, 324, 378, 432} << 486
                               << true;

    QTest::newRow("prefix 1") << 1 << 1 << L{242} << 432 << false;
    QTest::newRow("prefix 2") << 2 << 2 << L{188, 296} << 432 << false;
    QTest::newRow("prefix 3") << 3 << 1 << L{162, 243, 324} << 432 << false;
    QTest::newRow("prefix 4") << 4 << 1 << L{135, 207, 279, 351} << 432 << false;
    QTest::newRow("prefix 5") << 5 << 2 << L{135, 189, 243, 297, 351} << 432 << false;
    QTest::newRow("prefix 6 stands") << 6 << 1 << L{108, 162, 216, 270, 324, 378} << 432 << false;
    QTest::newRow("prefix 7 scrolls")
        << 7 << 1 << L{108, 162, 216, 270, 324, 378, 432} << 486 << true;
    QTest::newRow("prefix 8") << 8 << 2 << L{108, 162, 216, 270, 324, 378, 432, 486} << 540 << true;
    QTest::newRow("prefix 9") << 9 << 1 << L{108, 162, 216, 270, 324, 378, 432, 486, 540} << 594
                              << true;
    // A prefix mode read from saved data without the setter's check.
    QTest::newRow("prefix mode 3") << 2 << 3 << L{188, 296} << 432 << false;
    QTest::newRow("prefix mode -1")
        << 7 << -1 << L{108, 162, 216, 270, 324, 378, 432} << 486 << true;
}

void TestChimeiLayout::layout() {
    QFETCH(int, n);
    QFETCH(int, tsugiwaMode);
    QFETCH(QList<int>, x);
    QFETCH(int, stripWidth);
    QFETCH(bool, scrolls);
    const QString name = nine.left(n);
    const Layout l = layoutName(name, static_cast<qint16>(tsugiwaMode));
    QCOMPARE(l.byteLength, 2 * n);
    QCOMPARE(l.count, n);
    QCOMPARE(l.prefix, tsugiwaMode != 0);
    QCOMPARE(l.places, tsugiwaMode != 0 ? n + 2 : n);
    QCOMPARE(xs(l), x);
    QCOMPARE(l.stripWidth, stripWidth);
    QCOMPARE(l.scrolls, scrolls);
    QCOMPARE(l.stripLeft, scrolls ? 432 : 0);
    for (int k = 0; k < l.units.size(); ++k)
        QCOMPARE(l.units[k].text, name.mid(k, 1));
    // Every cell lies on the strip; a standing name never leaves the frame.
    for (int v : x)
        QVERIFY(v + CellWidth <= l.stripWidth);
}

void TestChimeiLayout::oddByteLastUnit_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tsugiwaMode");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QList<int>>("x");

    QTest::newRow("two and a byte") << u"停留A"_qs << 0 << QStringList{u"停"_qs, u"留"_qs, u"A"_qs}
                                    << QList<int>{135, 243, 351};
    // One byte: no character places, the unit lands at x = 0; with the
    // prefix it lands on "次".
    QTest::newRow("single byte") << u"A"_qs << 0 << QStringList{u"A"_qs} << QList<int>{0};
    // One character and a byte: both units at the centre.
    QTest::newRow("one and a byte")
        << u"停A"_qs << 0 << QStringList{u"停"_qs, u"A"_qs} << QList<int>{188, 188};
    QTest::newRow("half-width pair")
        << u"ｽｸﾛ"_qs << 0 << QStringList{u"ｽｸ"_qs, u"ﾛ"_qs} << QList<int>{188, 188};
}

void TestChimeiLayout::oddByteLastUnit() {
    QFETCH(QString, name);
    QFETCH(int, tsugiwaMode);
    QFETCH(QStringList, units);
    QFETCH(QList<int>, x);
    const Layout l = layoutName(name, static_cast<qint16>(tsugiwaMode));
    QCOMPARE(l.byteLength % 2, 1);
    QStringList texts;
    for (const Unit& u : l.units)
        texts << u.text;
    QCOMPARE(texts, units);
    QCOMPARE(xs(l), x);
    QCOMPARE(l.prefix, tsugiwaMode != 0);
    QVERIFY(!l.scrolls);
}

void TestChimeiLayout::unitsStraddlingCharacters() {
    // A one-byte character shifts the two-byte grid: the units are the byte
    // pairs of the code-page-932 form, whatever characters they cut.
    const QString name = u"A停留所"_qs;
    const QByteArray bytes = Cp932::encode(name);
    QCOMPARE(bytes.size(), 7);
    const Layout l = layoutName(name, 0);
    QCOMPARE(l.count, 3);
    QCOMPARE(l.units.size(), 4);
    for (int k = 0; k < l.units.size(); ++k)
        QCOMPARE(Cp932::encode(l.units[k].text), bytes.mid(2 * k, 2));
    QCOMPARE(xs(l), (QList<int>{81, 189, 297, 405}));
}

void TestChimeiLayout::emptyName() {
    const Layout l = layoutName(QString(), 1);
    QCOMPARE(l.byteLength, 0);
    QCOMPARE(l.count, 0);
    QVERIFY(!l.prefix);
    QVERIFY(!l.scrolls);
    QVERIFY(l.units.isEmpty());
    QCOMPARE(l.stripWidth, FrameWidth);
    QCOMPARE(l.stripLeft, 0);
}

void TestChimeiLayout::overlongNameIsBounded() {
    const QString name(100000, u'停');
    for (qint16 mode : {qint16{0}, qint16{1}}) {
        const Layout l = layoutName(name, mode);
        QCOMPARE(l.count, 100000);
        QVERIFY(l.scrolls);
        QCOMPARE(l.stripWidth, MaxStripWidth);
        QVERIFY(!l.units.isEmpty());
        QVERIFY(l.units.last().x < l.stripWidth);
        QVERIFY(l.units.last().x + l.pitch >= l.stripWidth);
        QCOMPARE(l.units.last().text, u"停"_qs);
    }
    // 8 places without the prefix and 9 with it: the widest strips of
    // ordinary names are not cut.
    QCOMPARE(placement(599, false).stripWidth, 599 * CellWidth);
    QCOMPARE(placement(598, true).stripWidth, 600 * CellWidth);
    QCOMPARE(placement(std::numeric_limits<qint32>::max(), true).stripWidth, MaxStripWidth);
}

void TestChimeiLayout::nameFace_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("mincho");

    // 0 and modes without a rule: Gothic; 1: Mincho.
    for (int m : {0, -1, 5})
        QTest::addRow("mode %d", m) << m << 0x82A0 << false;
    QTest::newRow("1 one byte") << 1 << 0x41 << true;
    QTest::newRow("1 kanji") << 1 << 0x889F << true;
    // 2: kana and symbols Mincho, kanji and one-byte characters Gothic.
    QTest::newRow("2 7FFF") << 2 << 0x7FFF << false;
    QTest::newRow("2 8000") << 2 << 0x8000 << true;
    QTest::newRow("2 889E") << 2 << 0x889E << true;
    QTest::newRow("2 889F") << 2 << 0x889F << false;
    // 3: the other way round.
    QTest::newRow("3 one byte") << 3 << 0x41 << true;
    QTest::newRow("3 889E") << 3 << 0x889E << false;
    QTest::newRow("3 889F") << 3 << 0x889F << true;
    // 4: full-width digits and Latin letters Gothic, everything else Mincho.
    QTest::newRow("4 824E") << 4 << 0x824E << true;
    QTest::newRow("4 824F") << 4 << 0x824F << false;
    QTest::newRow("4 829A") << 4 << 0x829A << false;
    QTest::newRow("4 829B") << 4 << 0x829B << true;
    QTest::newRow("4 kanji") << 4 << 0x92E2 << true;
}

void TestChimeiLayout::nameFace() {
    QFETCH(int, mode);
    QFETCH(int, code);
    QFETCH(bool, mincho);
    QCOMPARE(StopNameLayout::nameFace(static_cast<qint16>(mode), static_cast<quint16>(code)),
             mincho ? Face::Mincho : Face::Gothic);
}

void TestChimeiLayout::prefixFace_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("tsugi"); // 0 Gothic, 1 Mincho, -1 unchanged
    QTest::addColumn<int>("ha");
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("1") << 1 << 0 << 1;
    QTest::newRow("2") << 2 << 1 << 1;
    QTest::newRow("3") << 3 << 1 << 0;
    QTest::newRow("4") << 4 << -1 << -1;
    QTest::newRow("-1") << -1 << -1 << -1;
}

void TestChimeiLayout::prefixFace() {
    QFETCH(int, mode);
    QFETCH(int, tsugi);
    QFETCH(int, ha);
    const auto expect = [](int v) -> std::optional<Face> {
        if (v < 0) return std::nullopt;
        return v ? Face::Mincho : Face::Gothic;
    };
    QCOMPARE(StopNameLayout::prefixFace(static_cast<qint16>(mode), false), expect(tsugi));
    QCOMPARE(StopNameLayout::prefixFace(static_cast<qint16>(mode), true), expect(ha));
}

void TestChimeiLayout::substitutions_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("drawn");
    QTest::newRow("vertical line") << u"丨"_qs << u"ー"_qs;
    QTest::newRow("full-width bar") << u"｜"_qs << u"－"_qs;
    QTest::newRow("down arrow") << u"↓"_qs << u"→"_qs;
    QTest::newRow("up arrow") << u"↑"_qs << u"←"_qs;
    QTest::newRow("kanji") << u"次"_qs << u"次"_qs;
    QTest::newRow("pair") << u"ｱ↑"_qs << u"ｱ←"_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestChimeiLayout::substitutions() {
    QFETCH(QString, unit);
    QFETCH(QString, drawn);
    QCOMPARE(substitute(unit), drawn);
}

void TestChimeiLayout::unitCode_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("code");
    QTest::newRow("次") << u"次"_qs << 0x8E9F;
    QTest::newRow("０") << u"０"_qs << 0x824F;
    QTest::newRow("one byte") << u"A"_qs << 0x41;
    QTest::newRow("half-width kana pair") << u"ｽｸ"_qs << 0xBD;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("byte then cut lead byte") << Cp932::decode(QByteArray("A\x92")) << 0x41;
}

void TestChimeiLayout::unitCode() {
    QFETCH(QString, unit);
    QFETCH(int, code);
    QCOMPARE(int{StopNameLayout::unitCode(unit)}, code);
}

QTEST_APPLESS_MAIN(TestChimeiLayout)
#include "tst_chimeilayout.moc"
