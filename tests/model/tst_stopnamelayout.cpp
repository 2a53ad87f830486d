// The stop-name strip's text model: units and places, width, scrolling, faces, substitutions.
#include "model/StopNameLayout.h"
#include "model/Cp932.h"
#include <QtTest>
#include <limits>

using namespace StopNameLayout;

class TestStopNameLayout : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<QString>("name"); QTest::addColumn<int>("prefixMode");
        QTest::addColumn<QList<int>>("x"); QTest::addColumn<int>("stripWidth"); // wider: scrolls
        using L = QList<int>;
        const QString nine = u"停留所前通り町一丁"_qs; // full-width characters, two bytes each
        const auto fullPitch = [](int x0, int n) {
            L x;
            for (int k = 0; k < n; ++k) x << x0 + CellWidth * k;
            return x;
        };
        // Short names centred about x = 216, or 270 right of "次は"; from 8 places (the prefix
        // taking 2) at the full pitch on a strip holding them all, scrolling from 9.
        const auto row = [&](int n, int prefixMode, const L& x) {
            const int places = n + (prefixMode ? 2 : 0);
            QTest::addRow("%d, prefix mode %d", n, prefixMode)
                << nine.left(n) << prefixMode << x << 54 * qMax(8, places);
        };
        row(1, 0, {188}); row(2, 0, {135, 243});
        row(3, 0, {81, 189, 297}); row(4, 0, {67, 148, 229, 310});
        row(5, 0, {27, 108, 189, 270, 351}); row(6, 0, {21, 87, 153, 219, 285, 351});
        row(7, 0, {18, 75, 132, 189, 246, 303, 360}); row(8, 0, fullPitch(0, 8));
        row(9, 0, fullPitch(0, 9)); row(1, 1, {242});
        row(2, 2, {188, 296}); row(3, 1, {162, 243, 324});
        row(4, 1, {135, 207, 279, 351}); row(5, 2, {135, 189, 243, 297, 351});
        for (int n = 6; n <= 9; ++n) row(n, 1 + n % 2, fullPitch(108, n));
        // Prefix modes read from saved data without the setter's check.
        QTest::newRow("prefix mode 3") << nine.left(2) << 3 << L{188, 296} << 432;
        QTest::newRow("prefix mode -1") << nine.left(7) << -1 << fullPitch(108, 7) << 486;
        // The empty text has no layout of its own: no prefix, no units.
        QTest::newRow("empty") << QString() << 1 << L{} << 432;
        // An odd byte count ends with a one-byte unit at the next place.
        QTest::newRow("two and a byte") << u"停留A"_qs << 0 << L{135, 243, 351} << 432;
        // One byte: no character places, the unit lands at x = 0.
        QTest::newRow("single byte") << u"A"_qs << 0 << L{0} << 432;
        // One character and a byte: the pitch of one place is 0.
        QTest::newRow("one and a byte") << u"停A"_qs << 0 << L{188, 188} << 432;
        QTest::newRow("half-width pair") << u"ｽｸﾛ"_qs << 0 << L{188, 188} << 432;
        // A one-byte character shifts the grid: the units cut the characters.
        QTest::newRow("straddling") << u"A停留所"_qs << 0 << L{81, 189, 297, 405} << 432;
    }
    void layout() {
        QFETCH(QString, name); QFETCH(int, prefixMode);
        const Layout l = layoutName(name, static_cast<qint16>(prefixMode));
        const QByteArray bytes = Cp932::encode(name);
        QCOMPARE(
            QList<qsizetype>({l.byteLength, l.count, l.prefix}),
            QList<qsizetype>({bytes.size(), bytes.size() / 2, prefixMode != 0 && !name.isEmpty()}));
        QTEST(l.stripWidth, "stripWidth");
        QCOMPARE(l.scrolls, l.stripWidth > 432); // from 9 places
        QCOMPARE(l.stripLeft, l.scrolls ? 432 : 0);
        // The units are the byte pairs of the name, at their places on the strip.
        QList<int> xs;
        for (int k = 0; k < l.units.size(); ++k) {
            QCOMPARE(Cp932::encode(l.units[k].text), bytes.mid(2 * k, 2));
            xs << l.units[k].x;
        }
        QTEST(xs, "x");
    }
    void overlongNameIsBounded() {
        const QString name(100000, u'停');
        for (qint16 mode : {qint16{0}, qint16{1}}) {
            const Layout l = layoutName(name, mode);
            QVERIFY(l.count == 100000 && l.scrolls && l.stripWidth == MaxStripWidth);
            QVERIFY(!l.units.isEmpty() && l.units.last().text == u"停"_qs);
            QVERIFY(l.units.last().x < l.stripWidth && l.units.last().x + l.pitch >= l.stripWidth);
        }
        // 600 places in all, the prefix taking two of them.
        QCOMPARE(placement(599, false).stripWidth, 599 * CellWidth);
        QCOMPARE(placement(598, true).stripWidth, 600 * CellWidth);
        QCOMPARE(placement(std::numeric_limits<qint32>::max(), true).stripWidth, MaxStripWidth);
    }
    // The face of a unit by its code, and of "次" and "は", in each mode: 0 and
    // modes without a rule all Gothic; 1 Mincho; 2 kana and symbols (0x8000 up
    // to the first kanji, 0x889F) Mincho, kanji and one-byte characters
    // Gothic; 3 the other way round; 4 full-width digits and Latin letters
    // (０ 824F to ｚ 829A) Gothic, everything else Mincho. The prefix: "-" for
    // a mode that leaves it as it is.
    void faces_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("faces"); // of Codes, then of the prefix
        const char* faces[] = {"GGGGGGGGG --", "GGGGGGGGG GG", "MMMMMMMMM GM", "GGMMMMMMG MM",
                               "MMGGGGGGM MG", "MMMMGGMMM --", "GGGGGGGGG --"};
        for (int m = -1; m <= 5; ++m)
            QTest::addRow("%d", m) << m << QString::fromLatin1(faces[m + 1]);
    }
    void faces() {
        QFETCH(int, mode);
        const qint16 m = static_cast<qint16>(mode);
        const auto letter = [](Face f) { return f == Face::Mincho ? u'M' : u'G'; };
        QString faces;
        for (quint16 code : {0x41, 0x7FFF, 0x8000, 0x824E, 0x824F, 0x829A, 0x829B, 0x889E, 0x889F})
            faces += letter(nameFace(m, code));
        faces += u' ';
        for (bool ha : {false, true})
            faces += prefixFace(m, ha) ? letter(*prefixFace(m, ha)) : u'-';
        QTEST(faces, "faces");
    }
    // A unit's code in code page 932, and what is drawn for it.
    void units_data() {
        QTest::addColumn<QString>("unit"); QTest::addColumn<int>("code");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("kanji") << u"次"_qs << 0x8E9F << u"次"_qs;
        QTest::newRow("full-width digit") << u"０"_qs << 0x824F << u"０"_qs;
        QTest::newRow("one byte") << u"A"_qs << 0x41 << u"A"_qs;
        QTest::newRow("half-width kana pair") << u"ｽｸ"_qs << 0xBD << u"ｽｸ"_qs;
        QTest::newRow("empty") << QString() << 0 << QString();
        QTest::newRow("cut lead byte") << Cp932::decode("A\x92") << 0x41 << Cp932::decode("A\x92");
        QTest::newRow("vertical line") << u"丨"_qs << 0xFA68 << u"ー"_qs;
        QTest::newRow("full-width bar") << u"｜"_qs << 0x8162 << u"－"_qs;
        QTest::newRow("down arrow") << u"↓"_qs << 0x81AB << u"→"_qs;
        QTest::newRow("up arrow") << u"↑"_qs << 0x81AA << u"←"_qs;
        QTest::newRow("pair") << u"ｱ↑"_qs << 0xB1 << u"ｱ←"_qs;
    }
    void units() {
        QFETCH(QString, unit);
        QTEST(int{unitCode(unit)}, "code"); QTEST(substitute(unit), "drawn");
    }
};
QTEST_APPLESS_MAIN(TestStopNameLayout)
#include "tst_stopnamelayout.moc"
