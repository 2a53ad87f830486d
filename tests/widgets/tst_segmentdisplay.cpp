// The segment display widget: ranges, sizes, cells, redraws (its text rules apart).
#include "widgets/SegmentDisplay.h"
#include "Fakes.h"
#include "Pixels.h"
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(DigitOptions)

namespace {
QRect cellRect(const SegmentDisplay& d, int cell) {
    const QSize c = SegmentDisplay::cellSize(d.digitSize());
    return QRect(cell * c.width(), 0, c.width(), c.height());
}
// Which cells show lit pixels: "#" for a cell with, "." for one without.
QString litCells(const SegmentDisplay& d) {
    QString out;
    for (int i = 0; i < d.digitCount(); ++i)
        out += countColour(d.image(), rgb(d.litColor()), cellRect(d, i)) > 0 ? u'#' : u'.';
    return out;
}
// A fare cell as the board has them: digits of 19 × 29 pixels, three unless told.
std::unique_ptr<SegmentDisplay> fareCell(int digits = 3, DigitOptions o = {}) {
    auto d = std::make_unique<SegmentDisplay>();
    d->setDigitCount(qint16(digits)), d->setDigitSize(2), d->setDigitStyle(1);
    d->setZeroMode(o.zeroMode), d->setShift(o.shift), d->setFillZero(o.fillZero);
    return d;
}
// The properties whose setters keep them within a range.
struct RangedProperty {
    const char* name;
    void (SegmentDisplay::*set)(qint16);
    qint16 (SegmentDisplay::*get)() const;
} const Ranged[] = {{"fill", &SegmentDisplay::setFillZero, &SegmentDisplay::fillZero},
                    {"shift", &SegmentDisplay::setShift, &SegmentDisplay::shift},
                    {"zero mode", &SegmentDisplay::setZeroMode, &SegmentDisplay::zeroMode},
                    {"count", &SegmentDisplay::setDigitCount, &SegmentDisplay::digitCount},
                    {"size", &SegmentDisplay::setDigitSize, &SegmentDisplay::digitSize},
                    {"style", &SegmentDisplay::setDigitStyle, &SegmentDisplay::digitStyle}};
enum { FillZero, Shift, ZeroMode, DigitCount, DigitSize, DigitStyle };
} // namespace
class TestSegmentDisplay : public QObject {
    Q_OBJECT
private slots:
    void settersKeepRanges_data() {
        QTest::addColumn<int>("property");
        QTest::addColumn<int>("assigned");
        QTest::addColumn<int>("stored");
        // With 3 digits the fill and the shift stay within the digit count; zero modes from 4 up
        // are 0; counts 1 to 15, else 4; sizes 1 to 3, else 0; any style.
        for (const auto& [p, assigned, stored] :
             {std::array<int, 3>{FillZero, 9, 3}, {FillZero, 2, 2}, {FillZero, -5, -5}, {Shift, 5, 2},
              {Shift, 2, 2}, {Shift, -2, 0}, {ZeroMode, 4, 0}, {ZeroMode, 3, 3},
              {ZeroMode, -32768, -32768}, {DigitCount, 0, 4}, {DigitCount, 1, 1},
              {DigitCount, 15, 15}, {DigitCount, 16, 4}, {DigitSize, -1, 0}, {DigitSize, 3, 3},
              {DigitSize, 4, 0}, {DigitStyle, 9, 9}})
            QTest::addRow("%s %d", Ranged[p].name, assigned) << p << assigned << stored;
    }
    void settersKeepRanges() {
        QFETCH(int, property);
        QFETCH(int, assigned);
        SegmentDisplay d;
        d.setDigitCount(3), (d.*Ranged[property].set)(qint16(assigned));
        QTEST(int{(d.*Ranged[property].get)()}, "stored");
    }
    void settersThatChangeTheLookRedraw() {
        // Colours, style, size, count and value redraw at once; fill, shift, zero mode, UserSet
        // wait.
        auto d = fareCell(3, {1, 0, 0});
        d->setValue(0); // shows 0 in the right-hand cell
        QStringList redrawn;
        QImage last = d->image().copy();
        const auto after = [&](const char* name) {
            if (d->image() != last) redrawn << QString::fromLatin1(name);
            last = d->image().copy();
        };
        d->setUnlitColor(0x0000FF), after("unlit"), d->setLitColor(0x00FF00), after("lit");
        d->setBackColor(0x202020), after("back"), d->setDigitStyle(2), after("style");
        d->setDigitSize(1), after("size"), d->setDigitCount(5), after("count");
        // A redraw from here on would no longer show "0" but "000", "00 " and then a blank.
        d->setFillZero(3), after("fill"), d->setShift(1), after("shift");
        d->setZeroMode(2), after("zero mode"), d->setUserSettable(false), after("user");
        d->setValue(u"0"_qs), after("value");
        QCOMPARE(redrawn, (QStringList{"unlit", "lit", "back", "style", "size", "count", "value"}));
        // The kept picture is painted, not a redraw; a larger surface shows the back colour beyond.
        const int w = last.width(), h = last.height();
        d->setFillZero(1), d->resize(w + 13, h);
        const QImage grown = d->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grown.copy(last.rect()), last);
        QCOMPARE(countColour(grown, rgb(d->backColor()), QRect(w, 0, 13, h)), 13 * h);
    }
    void cellsShowTheValue_data() {
        QTest::addColumn<DigitOptions>("options"); // zero mode, shift, fill
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("lit");
        QTest::newRow("right-aligned") << DigitOptions{} << QVariant(5) << "..#";
        QTest::newRow("a space lights nothing") << DigitOptions{} << QVariant(u"1 1"_qs) << "#.#";
        QTest::newRow("fill 9 held to 3") << DigitOptions{0, 0, 9} << QVariant(5) << "###";
        QTest::newRow("zero mode 0 blanks 0") << DigitOptions{} << QVariant(0) << "...";
        QTest::newRow("0 as 00, shifted") << DigitOptions{3, 1, 2} << QVariant(0) << "##.";
        QTest::newRow("zero mode 3 shows -1 as 0")
            << DigitOptions{3, 0, 0} << QVariant(-1) << "..#";
    }
    void cellsShowTheValue() {
        QFETCH(DigitOptions, options);
        QFETCH(QVariant, value);
        auto d = fareCell(3, options);
        d->setValue(DigitValue::fromVariant(value));
        QTEST(litCells(*d), "lit");
        QCOMPARE(d->value(), DigitValue::fromVariant(value)); // the rules never change it
    }
    void oneCellFurtherLeftIsTheSamePicture() {
        // Each character takes one cell; "x " shows x one cell to the left.
        auto blank = fareCell();
        blank->setValue(5);
        QCOMPARE(blank->image().copy(cellRect(*blank, 0)), blank->image().copy(cellRect(*blank, 1)));
        for (const QString& text : {u"-5"_qs, u"1 1"_qs, u"-"_qs, u"7"_qs}) {
            auto a = fareCell(4), b = fareCell(4);
            a->setValue(text), b->setValue(text + u' ');
            const int w = 19 * static_cast<int>(text.size());
            QCOMPARE(a->image().copy(QRect(76 - w, 0, w, 29)),
                     b->image().copy(QRect(57 - w, 0, w, 29)));
        }
    }
    void digitsLieWithinEight_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("digitSize");
        for (int style = 0; style <= 2; ++style)
            for (int size = 0; size <= 3; ++size)
                QTest::addRow("style %d, size %d", style, size) << style << size;
    }
    void digitsLieWithinEight() {
        // The 8 keeps off the edges; each character lights segments of it only, its own set.
        QFETCH(int, style);
        QFETCH(int, digitSize);
        SegmentDisplay d;
        d.setDigitCount(1), d.setDigitSize(qint16(digitSize)), d.setDigitStyle(qint16(style));
        d.setBackColor(0), d.setUnlitColor(0), d.setLitColor(0xFFFFFF),
            d.setZeroMode(-1); // "0" as it is
        d.setValue(8);
        const QImage eight = d.image().copy();
        const QRgb black = qRgb(0, 0, 0);
        QCOMPARE(countOther(eight, black), countOther(eight, black, eight.rect().adjusted(1, 1, -1, -1)));
        QSet<QByteArray> shapes;
        for (const QString c : {"0", "1", "2", "3", "4", "5", "6", "7", "9", "-"}) {
            d.setValue(c);
            const QImage& img = d.image();
            QVERIFY2(countOther(img, black) > 0, qPrintable(c));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    QVERIFY2(!(img.pixel(x, y) & 0xFFFFFF) || (eight.pixel(x, y) & 0xFFFFFF),
                             qPrintable(c + QStringLiteral(" outside the 8")));
            shapes.insert(QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(shapes.size(), 10);
    }
    void resetDigits() {
        // New: only the back colour; all lit: an eight in every cell, covering the unlit ones.
        QCOMPARE(countColour(SegmentDisplay().image(), rgb(SegmentDisplay::DefaultBackColor)),
                 52 * 20);
        auto d = fareCell(3, {1, 1, 3});
        d->setValue(7), d->resetDigits(true);
        QCOMPARE(d->value(), DigitValue(u"888"));
        QCOMPARE(litCells(*d), u"###"_qs);
        QCOMPARE(countColour(d->image(), rgb(d->unlitColor())), 0);
        // The rules apply again to the next value: 5 shows as "05 ".
        d->setValue(5);
        QCOMPARE(litCells(*d), u"##."_qs);
        d->resetDigits(false); // blank: only the unlit eight in every cell
        QCOMPARE(d->value(), DigitValue(QString()));
        QCOMPARE(countColour(d->image(), rgb(d->litColor())), 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY(countColour(d->image(), rgb(d->unlitColor()), cellRect(*d, i)) > 20);
    }
    void settingsDialog() {
        // The answer is taken as it is and drawn; without dialogs none opens (cancel: tst_console).
        FakeCompanionDialogs dialogs;
        auto d = fareCell();
        const auto options = [&] { return DigitOptions{d->zeroMode(), d->shift(), d->fillZero()}; };
        QVERIFY(!d->showSettingsDialog());
        d->setDialogs(&dialogs), d->setValue(0); // blank with zero mode 0
        for (const DigitOptions answer : {DigitOptions{0, 9, -4}, DigitOptions{3, 1, 2}}) {
            dialogs.digitAnswer = answer;
            QVERIFY(d->showSettingsDialog());
            QCOMPARE(options(), answer);
        }
        QCOMPARE(dialogs.calls, (QStringList{"digits:3,0,0,0", "digits:3,0,9,-4"}));
        QCOMPARE(litCells(*d), u"##."_qs); // 0 as "00 "
    }
};
QTEST_MAIN(TestSegmentDisplay)
#include "tst_segmentdisplay.moc"
