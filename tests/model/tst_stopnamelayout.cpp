// The text model of the stop-name strip: a name's two-byte units and their
// places, the strip's width, the scroll decision, typefaces and substitutions.
#include "model/StopNameLayout.h"

#include "model/Cp932.h"

#include <QtTest>
#include <limits>

using namespace StopNameLayout;

class TestStopNameLayout : public QObject {
    Q_OBJECT
private slots:
    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("prefixMode");
        QTest::addColumn<QList<int>>("x");
        QTest::addColumn<int>("stripWidth");
        QTest::addColumn<bool>("scrolls");
        using L = QList<int>;
        const QString nine = u"停留所前通り町一丁"_qs; // full-width characters, two bytes each
        const auto fullPitch = [](int x0, int n) {
            L x;
            for (int k = 0; k < n; ++k)
                x << x0 + CellWidth * k;
            return x;
        };
        // The board's places: short names centred about x = 216, or about 270
        // right of "次は"; from 8 places (the prefix taking 2) at the full pitch
        // on a strip holding them all, scrolling from 9 places.
        const auto row = [&](int n, int prefixMode, const L& x) {
            const int places = n + (prefixMode ? 2 : 0);
            QTest::addRow("%d, prefix mode %d", n, prefixMode)
                << nine.left(n) << prefixMode << x << 54 * qMax(8, places) << (places >= 9);
        };
        row(1, 0, {188});
        row(2, 0, {135, 243});
        row(3, 0, {81, 189, 297});
        row(4, 0, {67, 148, 229, 310});
        row(5, 0, {27, 108, 189, 270, 351});
        row(6, 0, {21, 87, 153, 219, 285, 351});
        row(7, 0, {18, 75, 132, 189, 246, 303, 360});
        row(8, 0, fullPitch(0, 8));
        row(9, 0, fullPitch(0, 9));
        row(1, 1, {242});
        row(2, 2, {188, 296});
        row(3, 1, {162, 243, 324});
        row(4, 1, {135, 207, 279, 351});
        row(5, 2, {135, 189, 243, 297, 351});
        for (int n = 6; n <= 9; ++n)
            row(n, 1 + n % 2, fullPitch(108, n));
        // Prefix modes read from saved data without the setter's check.
        QTest::newRow("prefix mode 3") << nine.left(2) << 3 << L{188, 296} << 432 << false;
        QTest::newRow("prefix mode -1") << nine.left(7) << -1 << fullPitch(108, 7) << 486 << true;
        // The empty text has no layout of its own: no prefix, no units.
        QTest::newRow("empty") << QString() << 1 << L{} << 432 << false;
        // An odd byte count ends with a one-byte unit at the next place.
        QTest::newRow("two and a byte") << u"停留A"_qs << 0 << L{135, 243, 351} << 432 << false;
        // One byte: no character places, the unit lands at x = 0.
        QTest::newRow("single byte") << u"A"_qs << 0 << L{0} << 432 << false;
        // One character and a byte: the pitch of one place is 0.
        QTest::newRow("one and a byte") << u"停A"_qs << 0 << L{188, 188} << 432 << false;
        QTest::newRow("half-width pair") << u"ｽｸﾛ"_qs << 0 << L{188, 188} << 432 << false;
        // A one-byte character shifts the grid: the units cut the characters.
        QTest::newRow("straddling") << u"A停留所"_qs << 0 << L{81, 189, 297, 405} << 432 << false;
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(int, prefixMode);
        const Layout l = layoutName(name, static_cast<qint16>(prefixMode));
        const QByteArray bytes = Cp932::encode(name);
        QCOMPARE(l.byteLength, bytes.size());
        QCOMPARE(l.count, bytes.size() / 2);
        QCOMPARE(l.prefix, prefixMode != 0 && !name.isEmpty());
        QTEST(l.stripWidth, "stripWidth");
        QTEST(l.scrolls, "scrolls");
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
            QCOMPARE(l.count, 100000);
            QVERIFY(l.scrolls);
            QCOMPARE(l.stripWidth, MaxStripWidth);
            QVERIFY(!l.units.isEmpty());
            QVERIFY(l.units.last().x < l.stripWidth);
            QVERIFY(l.units.last().x + l.pitch >= l.stripWidth);
            QCOMPARE(l.units.last().text, u"停"_qs);
        }
        // 600 places in all, the prefix taking two of them.
        QCOMPARE(placement(599, false).stripWidth, 599 * CellWidth);
        QCOMPARE(placement(598, true).stripWidth, 600 * CellWidth);
        QCOMPARE(placement(std::numeric_limits<qint32>::max(), true).stripWidth, MaxStripWidth);
    }

    void nameFace_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("code"); // of the unit in code page 932
        QTest::addColumn<bool>("mincho");
        // 0 and modes without a rule: Gothic; 1: Mincho.
        for (int m : {0, -1, 5})
            QTest::addRow("mode %d", m) << m << 0x82A0 << false;
        // 2: kana and symbols (0x8000 up to the first kanji, 0x889F) Mincho,
        // kanji and one-byte characters Gothic; 3: the other way round. 4: full-width digits and Latin letters (０ 824F to ｚ 829A) Gothic,
        // everything else Mincho.
        const struct { int mode, code; bool mincho; } rows[] = {
            {1, 0x889F, true},  {2, 0x7FFF, false}, {2, 0x8000, true},  {2, 0x889E, true},
            {2, 0x889F, false}, {3, 0x41, true},    {3, 0x889E, false}, {3, 0x889F, true},
            {4, 0x824E, true},  {4, 0x824F, false}, {4, 0x829A, false}, {4, 0x829B, true}};
        for (const auto& r : rows)
            QTest::addRow("%d %04X", r.mode, r.code) << r.mode << r.code << r.mincho;
    }
    void nameFace() {
        QFETCH(int, mode);
        QFETCH(int, code);
        QTEST(StopNameLayout::nameFace(static_cast<qint16>(mode), static_cast<quint16>(code)) ==
                  Face::Mincho,
              "mincho");
    }

    void prefixFace_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("faces"); // of "次" and "は": Gothic, Mincho or unchanged
        const char* faces[] = {"--", "GG", "GM", "MM", "MG", "--"}; // modes -1..4
        for (int m = -1; m <= 4; ++m)
            QTest::addRow("%d", m) << m << QString::fromLatin1(faces[m + 1]);
    }
    void prefixFace() {
        QFETCH(int, mode);
        QString faces;
        for (bool ha : {false, true}) {
            const auto f = StopNameLayout::prefixFace(static_cast<qint16>(mode), ha);
            faces += !f ? u'-' : *f == Face::Mincho ? u'M' : u'G';
        }
        QTEST(faces, "faces");
    }

    void substitutions_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("vertical line") << u"丨"_qs << u"ー"_qs;
        QTest::newRow("full-width bar") << u"｜"_qs << u"－"_qs;
        QTest::newRow("down arrow") << u"↓"_qs << u"→"_qs;
        QTest::newRow("up arrow") << u"↑"_qs << u"←"_qs;
        QTest::newRow("kanji") << u"次"_qs << u"次"_qs;
        QTest::newRow("pair") << u"ｱ↑"_qs << u"ｱ←"_qs;
    }
    void substitutions() {
        QFETCH(QString, unit);
        QTEST(substitute(unit), "drawn");
    }

    void unitCode_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("code");
        QTest::newRow("次") << u"次"_qs << 0x8E9F;
        QTest::newRow("０") << u"０"_qs << 0x824F;
        QTest::newRow("one byte") << u"A"_qs << 0x41;
        QTest::newRow("half-width kana pair") << u"ｽｸ"_qs << 0xBD;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("byte then cut lead byte") << Cp932::decode(QByteArray("A\x92")) << 0x41;
    }
    void unitCode() {
        QFETCH(QString, unit);
        QTEST(int{StopNameLayout::unitCode(unit)}, "code");
    }
};

QTEST_APPLESS_MAIN(TestStopNameLayout)
#include "tst_stopnamelayout.moc"
