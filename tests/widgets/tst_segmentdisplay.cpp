// The segment display widget. The text rules it applies are tested on their
// own.
#include "widgets/SegmentDisplay.h"

#include "Fakes.h"
#include "Pixels.h"

#include <QSignalSpy>
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

// A fare cell as the board has them: three digits of 19 × 29 pixels.
std::unique_ptr<SegmentDisplay> fareCell() {
    auto d = std::make_unique<SegmentDisplay>();
    d->setDigitCount(3);
    d->setDigitSize(2);
    d->setDigitStyle(1);
    return d;
}

QImage onScreen(SegmentDisplay& d) {
    return d.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The properties whose setters keep them within a range.
struct RangedProperty {
    void (SegmentDisplay::*set)(qint16);
    qint16 (SegmentDisplay::*get)() const;
} const Ranged[] = {{&SegmentDisplay::setFillZero, &SegmentDisplay::fillZero},
                    {&SegmentDisplay::setShift, &SegmentDisplay::shift},
                    {&SegmentDisplay::setZeroMode, &SegmentDisplay::zeroMode},
                    {&SegmentDisplay::setDigitCount, &SegmentDisplay::digitCount},
                    {&SegmentDisplay::setDigitSize, &SegmentDisplay::digitSize},
                    {&SegmentDisplay::setDigitStyle, &SegmentDisplay::digitStyle}};
enum { FillZero, Shift, ZeroMode, DigitCount, DigitSize, DigitStyle };

class PressRecorder : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

} // namespace

class TestSegmentDisplay : public QObject {
    Q_OBJECT
private slots:
    void settersKeepRanges_data() {
        QTest::addColumn<int>("property");
        QTest::addColumn<int>("assigned");
        QTest::addColumn<int>("stored");
        // With 3 digits: the zero fill and the shift stay within the digit count.
        QTest::newRow("fill above the digits") << +FillZero << 9 << 3;
        QTest::newRow("fill below") << +FillZero << 2 << 2;
        QTest::newRow("fill negative stays") << +FillZero << -5 << -5;
        QTest::newRow("shift above the digits") << +Shift << 5 << 2;
        QTest::newRow("shift digits - 1") << +Shift << 2 << 2;
        QTest::newRow("shift negative") << +Shift << -2 << 0;
        // Zero modes from 4 up are mode 0.
        QTest::newRow("zero mode 4") << +ZeroMode << 4 << 0;
        QTest::newRow("zero mode 3") << +ZeroMode << 3 << 3;
        QTest::newRow("zero mode negative stays") << +ZeroMode << -32768 << -32768;
        // Digit counts 1 to 15, else 4; sizes 1 to 3, else 0; any style.
        QTest::newRow("count 0") << +DigitCount << 0 << 4;
        QTest::newRow("count 1") << +DigitCount << 1 << 1;
        QTest::newRow("count 15") << +DigitCount << 15 << 15;
        QTest::newRow("count 16") << +DigitCount << 16 << 4;
        QTest::newRow("size -1") << +DigitSize << -1 << 0;
        QTest::newRow("size 3") << +DigitSize << 3 << 3;
        QTest::newRow("size 4") << +DigitSize << 4 << 0;
        QTest::newRow("style 9 stays") << +DigitStyle << 9 << 9;
    }
    void settersKeepRanges() {
        QFETCH(int, property);
        QFETCH(int, assigned);
        SegmentDisplay d;
        d.setDigitCount(3);
        (d.*Ranged[property].set)(static_cast<qint16>(assigned));
        QTEST(int{(d.*Ranged[property].get)()}, "stored");
    }

    void settersThatChangeTheLookRedraw() {
        // Colours, style, size, count and value redraw at once; the zero fill,
        // shift, zero mode and UserSet wait for the next value.
        auto d = fareCell();
        d->setZeroMode(1);
        d->setValue(0); // shows 0 in the right-hand cell
        QStringList redrawn;
        QImage last = d->image().copy();
        const auto after = [&](const char* name) {
            if (d->image() != last) redrawn << QString::fromLatin1(name);
            last = d->image().copy();
        };
        d->setUnlitColor(0x0000FF), after("unlit");
        d->setLitColor(0x00FF00), after("lit");
        d->setBackColor(0x202020), after("back");
        d->setDigitStyle(2), after("style");
        d->setDigitSize(1), after("size");
        d->setDigitCount(5), after("count");
        d->setFillZero(3), after("fill"); // a redraw from here on would no longer show "0"
        d->setShift(1), after("shift");   // but "000", "00 " and then a blank
        d->setZeroMode(2), after("zero mode");
        d->setUserSettable(false), after("user");
        d->setValue(u"0"_qs), after("value");
        QCOMPARE(redrawn,
                 (QStringList{"unlit", "lit", "back", "style", "size", "count", "value"}));
    }

    void sizeFollowsDigitCountAndSize_data() {
        QTest::addColumn<int>("digits");
        QTest::addColumn<int>("digitSize");
        QTest::addColumn<QSize>("cellTwips"); // 15 twips to the pixel
        QTest::newRow("fare cell") << 3 << 2 << QSize(285, 435);
        QTest::newRow("size 1") << 15 << 1 << QSize(255, 390);
        QTest::newRow("size 3") << 1 << 3 << QSize(165, 225);
    }
    void sizeFollowsDigitCountAndSize() {
        QFETCH(int, digits);
        QFETCH(int, digitSize);
        QFETCH(QSize, cellTwips);
        const QSize size(digits * cellTwips.width() / 15, cellTwips.height() / 15);
        SegmentDisplay d, e; // set in either order
        d.setDigitCount(static_cast<qint16>(digits));
        d.setDigitSize(static_cast<qint16>(digitSize));
        e.setDigitSize(static_cast<qint16>(digitSize));
        e.setDigitCount(static_cast<qint16>(digits));
        QCOMPARE(d.size(), size);
        QCOMPARE(e.size(), size);
    }

    void newDisplayShowsItsBackColourUntilAValue() {
        // Only the back colour shows until a value is drawn with the rules:
        // fill 9 gives 000000005, cut to 005.
        QCOMPARE(countColour(SegmentDisplay().image(), rgb(SegmentDisplay::DefaultBackColor)),
                 52 * 20);
        auto d = fareCell();
        d->setFillZero(9);
        QCOMPARE(d->fillZero(), qint16(3)); // held to the digit count
        d->setValue(5);
        QCOMPARE(litCells(*d), u"###"_qs);
        QCOMPARE(d->value(), DigitValue(5)); // the rules never change the stored value
    }

    void everyCharacterTakesOneCell() {
        // Right-aligned, a cell to each character, a space lighting nothing.
        auto d = fareCell();
        d->setValue(5);
        QCOMPARE(litCells(*d), u"..#"_qs);
        QCOMPARE(d->image().copy(cellRect(*d, 0)), d->image().copy(cellRect(*d, 1)));
        d->setValue(u"1 1"_qs);
        QCOMPARE(litCells(*d), u"#.#"_qs);
        // One cell further left is the same picture moved by exactly one cell.
        for (const QString& text : {u"-5"_qs, u"1 1"_qs, u"-"_qs, u"7"_qs}) {
            auto a = fareCell(), b = fareCell();
            a->setDigitCount(4);
            b->setDigitCount(4);
            a->setValue(text);
            b->setValue(text + u' ');
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
        // The 8 keeps off the edges; each character lights segments of it only.
        QFETCH(int, style);
        QFETCH(int, digitSize);
        SegmentDisplay d;
        d.setDigitCount(1);
        d.setDigitSize(static_cast<qint16>(digitSize));
        d.setDigitStyle(static_cast<qint16>(style));
        d.setBackColor(0x000000);
        d.setUnlitColor(0x000000);
        d.setLitColor(0xFFFFFF);
        d.setZeroMode(-1); // "0" as it is
        d.setValue(8);
        const QImage eight = d.image().copy();
        const QRect inner = eight.rect().adjusted(1, 1, -1, -1);
        QCOMPARE(countOther(eight, qRgb(0, 0, 0)), countOther(eight, qRgb(0, 0, 0), inner));
        QSet<QByteArray> shapes;
        for (const QString c : {"0", "1", "2", "3", "4", "5", "6", "7", "9", "-"}) {
            d.setValue(c);
            const QImage& img = d.image();
            QVERIFY2(countOther(img, qRgb(0, 0, 0)) > 0, qPrintable(c));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    QVERIFY2(!(img.pixel(x, y) & 0xFFFFFF) || (eight.pixel(x, y) & 0xFFFFFF),
                             qPrintable(c + QStringLiteral(" outside the 8")));
            shapes.insert(
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(shapes.size(), 10);
    }

    void resetDigits() {
        // All lit: an eight in every cell, covering the unlit ones.
        auto d = fareCell();
        d->setZeroMode(1);
        d->setFillZero(3);
        d->setShift(1);
        d->setValue(7);
        d->resetDigits(true);
        QCOMPARE(d->value(), DigitValue(u"888"));
        QCOMPARE(litCells(*d), u"###"_qs);
        QCOMPARE(countColour(d->image(), rgb(d->unlitColor())), 0);
        // The rules apply again to the next value: 5 shows as "05 ".
        d->setValue(5);
        QCOMPARE(litCells(*d), u"##."_qs);
        // Blank: only the unlit eight in every cell.
        d->resetDigits(false);
        QCOMPARE(d->value(), DigitValue(QString()));
        QCOMPARE(countColour(d->image(), rgb(d->litColor())), 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY(countColour(d->image(), rgb(d->unlitColor()), cellRect(*d, i)) > 20);
    }

    void paintCopiesKeptImage() {
        auto d = fareCell();
        d->setValue(42);
        const QImage before = d->image().copy();
        // Painting copies the kept image: a setting that does not redraw shows nothing new.
        d->setFillZero(3);
        QCOMPARE(onScreen(*d), before);
        // A larger surface keeps its picture and shows the back colour beyond it.
        d->resize(70, 29);
        const QImage grown = onScreen(*d);
        QCOMPARE(grown.copy(0, 0, 57, 29), before);
        QCOMPARE(countColour(grown, rgb(d->backColor()), QRect(57, 0, 13, 29)), 13 * 29);
    }

    void settingsDialog_data() {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<DigitOptions>("answer"); // zero mode, shift, fill
        QTest::addColumn<QString>("lit");
        QTest::newRow("accepted") << true << DigitOptions{3, 1, 2} << "##."; // 0 as "00 "
        QTest::newRow("taken unclamped") << true << DigitOptions{0, 9, -4} << "...";
        QTest::newRow("cancelled") << false << DigitOptions{3, 1, 2} << "...";
    }
    void settingsDialog() {
        QFETCH(bool, accepted);
        QFETCH(DigitOptions, answer);
        FakeCompanionDialogs dialogs;
        if (accepted) dialogs.digitAnswer = answer;
        auto d = fareCell();
        d->setDialogs(&dialogs);
        d->setValue(0); // blank with zero mode 0
        QCOMPARE(d->showSettingsDialog(), accepted);
        QCOMPARE(dialogs.calls, QStringList{u"digits:3,0,0,0"_qs});
        const DigitOptions now{d->zeroMode(), d->shift(), d->fillZero()};
        QCOMPARE(now, accepted ? answer : DigitOptions{});
        QTEST(litCells(*d), "lit"); // redrawn with what came back
        // Without a dialog service nothing happens.
        d->setDialogs(nullptr);
        QVERIFY(!d->showSettingsDialog());
        QCOMPARE((DigitOptions{d->zeroMode(), d->shift(), d->fillZero()}), now);
    }

    void mouse() {
        // A double click is told even without UserSet; a press stays with the display.
        PressRecorder host;
        auto* d = new SegmentDisplay(&host);
        d->move(10, 10);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QSignalSpy clicks(d, &SegmentDisplay::doubleClicked);
        d->setUserSettable(false);
        QTest::mouseDClick(d, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(d, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(d, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(host.presses, 0);
        QTest::mousePress(&host, Qt::LeftButton, {}, QPoint(150, 80));
        QCOMPARE(host.presses, 1);
    }
};

QTEST_MAIN(TestSegmentDisplay)
#include "tst_segmentdisplay.moc"
