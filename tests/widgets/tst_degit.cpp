// The digit display: its text rules, properties, drawing, design data and
// setting dialog.
#include "model/DigitText.h"
#include "widgets/QColorOf.h"
#include "widgets/SegmentDisplay.h"
#include "widgets/Typefaces.h"

#include "Fakes.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(DigitValue)

namespace {

const QStringList Properties{"BaseForeColor", "DegitForeColor", "FillZero",  "ZeroMode",
                             "Shift",         "Keta",           "DegitSize", "DegitStyle",
                             "Value",         "UserSet",        "BackColor"};

QRgb rgb(BgrColor c) {
    return toQColor(c).rgb();
}

// Pixels of exactly colour c inside area.
int countColour(const QImage& img, QRgb c, const QRect& area) {
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF)) ++n;
    return n;
}

int countColour(const QImage& img, QRgb c) {
    return countColour(img, c, img.rect());
}

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

// A fare cell as the panel has them.
std::unique_ptr<SegmentDisplay> fareCell() {
    auto d = std::make_unique<SegmentDisplay>();
    d->setDigitCount(3);
    d->setDigitSize(2);
    d->setDigitStyle(1);
    return d;
}

// Assigns one property by name.
void assign(SegmentDisplay& d, const QString& property, qint64 v) {
    const auto n = static_cast<qint16>(v);
    if (property == u"BaseForeColor")
        d.setUnlitColor(static_cast<BgrColor>(v));
    else if (property == u"DegitForeColor")
        d.setLitColor(static_cast<BgrColor>(v));
    else if (property == u"FillZero")
        d.setFillZero(n);
    else if (property == u"ZeroMode")
        d.setZeroMode(n);
    else if (property == u"Shift")
        d.setShift(n);
    else if (property == u"Keta")
        d.setDigitCount(n);
    else if (property == u"DegitSize")
        d.setDigitSize(n);
    else if (property == u"DegitStyle")
        d.setDigitStyle(n);
    else if (property == u"Value")
        d.setValue(DigitValue(v));
    else if (property == u"UserSet")
        d.setUserSettable(v != 0);
    else if (property == u"BackColor")
        d.setBackColor(static_cast<BgrColor>(v));
    else
        QFAIL("unknown property");
}

// Reads one property by name; a Value as its text.
QVariant read(const SegmentDisplay& d, const QString& property) {
    if (property == u"BaseForeColor") return d.unlitColor();
    if (property == u"DegitForeColor") return d.litColor();
    if (property == u"FillZero") return d.fillZero();
    if (property == u"ZeroMode") return d.zeroMode();
    if (property == u"Shift") return d.shift();
    if (property == u"Keta") return d.digitCount();
    if (property == u"DegitSize") return d.digitSize();
    if (property == u"DegitStyle") return d.digitStyle();
    if (property == u"Value") return d.value().toVariant();
    if (property == u"UserSet") return d.userSettable();
    if (property == u"BackColor") return d.backColor();
    return QVariant();
}

class PressRecorder : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

} // namespace

class TestDegit : public QObject {
    Q_OBJECT
private slots:
    // Text rules
    void shownText_data();
    void shownText();
    void valueFromVariant_data();
    void valueFromVariant();

    // Properties
    void setters_data();
    void setters();
    void sizeFollowsKetaAndSize_data();
    void sizeFollowsKetaAndSize();

    // Drawing
    void litOnlyInRightCell();
    void resetDegit();
    void backColorFillsTheRest();
    void digitsLieWithinEight_data();
    void digitsLieWithinEight();
    void everyCharacterTakesOneCell();
    void paintCopiesKeptImage();

    // Design data
    void loadedInstance();
    void loadedOddEntriesAreHarmless();
    void writeProperties();

    // Dialog and events
    void showSetDlg_data();
    void showSetDlg();
    void showSetDlgWithoutDialogs();
    void mouse();
};

// ---- Text rules ---------------------------------------------------------------------

void TestDegit::shownText_data() {
    QTest::addColumn<DigitValue>("value");
    QTest::addColumn<int>("zeroMode");
    QTest::addColumn<int>("fillZero");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("keta");
    QTest::addColumn<QString>("shown");

    const DigitValue empty{QString()};
    // Zero modes against 0, -1, the empty text and a number.
    const QString zero[] = {"", "0", "", "0"};
    const QString minusOne[] = {"-1", "-1", "0", "0"};
    for (int m = 0; m < 4; ++m) {
        QTest::addRow("mode %d, 0", m) << DigitValue(0) << m << 0 << 0 << 3 << zero[m];
        QTest::addRow("mode %d, -1", m) << DigitValue(-1) << m << 0 << 0 << 3 << minusOne[m];
        QTest::addRow("mode %d, empty", m) << empty << m << 0 << 0 << 3 << zero[m];
        QTest::addRow("mode %d, 10", m) << DigitValue(10) << m << 0 << 0 << 3 << "10";
    }
    for (int m : {4, -1}) {
        QTest::addRow("mode %d leaves 0", m) << DigitValue(0) << m << 0 << 0 << 3 << "0";
        QTest::addRow("mode %d leaves -1", m) << DigitValue(-1) << m << 0 << 0 << 3 << "-1";
        QTest::addRow("mode %d leaves empty", m) << empty << m << 0 << 0 << 3 << "";
    }
    // A text that reads as 0 or -1 counts as that number.
    QTest::newRow("text 0, mode 0") << DigitValue(u"0") << 0 << 0 << 0 << 3 << "";
    QTest::newRow("text 00, mode 1") << DigitValue(u"00") << 1 << 0 << 0 << 3 << "0";
    QTest::newRow("text 0.0, mode 2") << DigitValue(u"0.0") << 2 << 0 << 0 << 3 << "";
    QTest::newRow("text -1, mode 2") << DigitValue(u"-1") << 2 << 0 << 0 << 3 << "0";
    QTest::newRow("text ' -1 ', mode 3") << DigitValue(u" -1 ") << 3 << 0 << 0 << 3 << "0";
    QTest::newRow("text 0.4 is no zero") << DigitValue(u"0.4") << 0 << 0 << 0 << 3 << "0.4";
    QTest::newRow("text abc, mode 1") << DigitValue(u"abc") << 1 << 0 << 0 << 3 << "abc";
    QTest::newRow("spaces are no empty text") << DigitValue(u"  ") << 1 << 0 << 0 << 3 << "  ";

    // Zero fill, of numbers and of texts that read as numbers.
    QTest::newRow("fill 3, -5, cut") << DigitValue(-5) << 0 << 3 << 0 << 3 << "005";
    QTest::newRow("fill 3, -5, 4 digits") << DigitValue(-5) << 0 << 3 << 0 << 4 << "-005";
    QTest::newRow("fill 2, 1234") << DigitValue(1234) << 0 << 2 << 0 << 4 << "1234";
    QTest::newRow("mode 1, fill 3, 0") << DigitValue(0) << 1 << 3 << 0 << 3 << "000";
    QTest::newRow("mode 0, fill 3, 0") << DigitValue(0) << 0 << 3 << 0 << 3 << "";
    QTest::newRow("mode 2, fill 2, -1") << DigitValue(-1) << 2 << 2 << 0 << 3 << "00";
    QTest::newRow("negative fill draws as 0") << DigitValue(5) << 0 << -2 << 0 << 3 << "5";
    QTest::newRow("negative fill keeps text") << DigitValue(u"7.6") << 0 << -1 << 0 << 3 << "7.6";
    QTest::newRow("fill text ' +7 '") << DigitValue(u" +7 ") << 0 << 3 << 0 << 3 << "007";
    QTest::newRow("fill text 12.5 rounds up") << DigitValue(u"12.5") << 0 << 3 << 0 << 3 << "013";
    QTest::newRow("fill text -12.5") << DigitValue(u"-12.5") << 0 << 3 << 0 << 4 << "-013";
    QTest::newRow("fill text .5") << DigitValue(u".5") << 0 << 2 << 0 << 3 << "01";
    QTest::newRow("fill text -0.4 has no sign") << DigitValue(u"-0.4") << 0 << 2 << 0 << 3 << "00";
    QTest::newRow("fill text 1e2") << DigitValue(u"1e2") << 0 << 4 << 0 << 4 << "0100";
    QTest::newRow("fill long whole text")
        << DigitValue(u"-123456789012345678901234567890") << 0 << 1 << 0 << 15 << "678901234567890";
    QTest::newRow("fill smallest number")
        << DigitValue(std::numeric_limits<qint64>::min()) << 0 << 3 << 0 << 15 << "372036854775808";
    // Texts that are no number are left as they are.
    QTest::newRow("fill text abc") << DigitValue(u"abc") << 0 << 3 << 0 << 3 << "abc";
    QTest::newRow("fill empty text") << empty << 0 << 3 << 0 << 3 << "";
    for (const QString& t : {u"1.2.3"_qs, u"1e"_qs, u"-"_qs, u"1 2"_qs, u"１２"_qs, u"1e400"_qs})
        QTest::addRow("fill text %s", qPrintable(t)) << DigitValue(t) << 0 << 3 << 0 << 5 << t;

    // Shift.
    QTest::newRow("shift 1, 123") << DigitValue(123) << 0 << 0 << 1 << 3 << "23 ";
    QTest::newRow("shift 2, 5") << DigitValue(5) << 0 << 0 << 2 << 3 << "5  ";
    QTest::newRow("shift beyond keta") << DigitValue(5) << 0 << 0 << 5 << 3 << "   ";
    QTest::newRow("negative shift") << DigitValue(5) << 0 << 0 << -3 << 3 << "5";
    QTest::newRow("fill and shift") << DigitValue(5) << 0 << 2 << 1 << 3 << "05 ";
    QTest::newRow("mode 0 blank, shifted") << DigitValue(0) << 0 << 0 << 1 << 3 << " ";

    // Longer than Keta, odd Keta.
    QTest::newRow("1234 in 3") << DigitValue(1234) << 0 << 0 << 0 << 3 << "234";
    QTest::newRow("-1234 in 4") << DigitValue(-1234) << 0 << 0 << 0 << 4 << "1234";
    QTest::newRow("text in 3") << DigitValue(u"ABCDEFG") << 0 << 0 << 0 << 3 << "EFG";
    QTest::newRow("keta negative") << DigitValue(5) << 0 << 0 << 0 << -4 << "";
    QTest::newRow("astral character kept whole")
        << DigitValue(u"a😀") << 0 << 0 << 0 << 1 << u"😀"_qs;
    QTest::newRow("astral character counts once")
        << DigitValue(u"a😀") << 0 << 0 << 0 << 2 << u"a😀"_qs;
}

void TestDegit::shownText() {
    QFETCH(DigitValue, value);
    QFETCH(int, zeroMode);
    QFETCH(int, fillZero);
    QFETCH(int, shift);
    QFETCH(int, keta);
    QFETCH(QString, shown);
    QCOMPARE(DigitText::shownText(value, static_cast<qint16>(zeroMode),
                                  static_cast<qint16>(fillZero), static_cast<qint16>(shift),
                                  static_cast<qint16>(keta)),
             shown);
}

void TestDegit::valueFromVariant_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<DigitValue>("value");
    QTest::newRow("missing") << QVariant() << DigitValue(0);
    QTest::newRow("text") << QVariant(u"0"_qs) << DigitValue(u"0");
    QTest::newRow("fraction") << QVariant(12.5) << DigitValue(u"12.5");
    QTest::newRow("True") << QVariant(true) << DigitValue(-1);
    QTest::newRow("huge unsigned")
        << QVariant(qulonglong{18446744073709551615ULL}) << DigitValue(u"18446744073709551615");
    QTest::newRow("unreadable") << QVariant(QPoint(1, 2)) << DigitValue(0);
}

void TestDegit::valueFromVariant() {
    QFETCH(QVariant, stored);
    QFETCH(DigitValue, value);
    QCOMPARE(DigitValue::fromVariant(stored), value);
    QCOMPARE(DigitValue::fromVariant(value.toVariant()), value);
}

// ---- Properties ----------------------------------------------------------------------

void TestDegit::setters_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("keta");
    QTest::addColumn<qint64>("assigned");
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<bool>("redraws");
    const auto row = [](const char* name, const char* property, int keta, qint64 assigned,
                        qint64 stored, bool redraws) {
        QTest::newRow(name) << QString::fromLatin1(property) << keta << assigned << stored
                            << redraws;
    };
    row("FillZero above keta", "FillZero", 3, 9, 3, false);
    row("FillZero below", "FillZero", 3, 2, 2, false);
    row("FillZero negative stays", "FillZero", 3, -5, -5, false);
    row("FillZero largest", "FillZero", 15, 32767, 15, false);
    row("ZeroMode 4", "ZeroMode", 3, 4, 0, false);
    row("ZeroMode 3", "ZeroMode", 3, 3, 3, false);
    row("ZeroMode negative stays", "ZeroMode", 3, -32768, -32768, false);
    row("Shift above keta", "Shift", 3, 5, 2, false);
    row("Shift keta - 1", "Shift", 3, 2, 2, false);
    row("Shift negative", "Shift", 3, -2, 0, false);
    row("Shift, one digit", "Shift", 1, 1, 0, false);
    row("Keta 0", "Keta", 3, 0, 4, true);
    row("Keta 16", "Keta", 3, 16, 4, true);
    row("Keta negative", "Keta", 3, -3, 4, true);
    row("Keta 1", "Keta", 3, 1, 1, true);
    row("Keta 15", "Keta", 3, 15, 15, true);
    row("DegitSize 7", "DegitSize", 3, 7, 0, true);
    row("DegitSize -1", "DegitSize", 3, -1, 0, true);
    row("DegitSize 3", "DegitSize", 3, 3, 3, true);
    row("DegitStyle 9 stays", "DegitStyle", 3, 9, 9, true);
    row("DegitStyle negative stays", "DegitStyle", 3, -4, -4, true);
    row("BaseForeColor", "BaseForeColor", 3, 0x0000FF, 0x0000FF, true);
    row("DegitForeColor", "DegitForeColor", 3, 0x00FF00, 0x00FF00, true);
    row("BackColor", "BackColor", 3, 0x202020, 0x202020, true);
    row("Value", "Value", 3, 7, 7, true);
    row("UserSet", "UserSet", 3, 0, 0, false);
}

void TestDegit::setters() {
    QFETCH(QString, property);
    QFETCH(int, keta);
    QFETCH(qint64, assigned);
    QFETCH(qint64, stored);
    QFETCH(bool, redraws);
    auto d = fareCell();
    d->setDigitCount(static_cast<qint16>(keta));
    d->setZeroMode(1);
    d->setValue(0); // shows 0 in the right-hand cell
    const QImage before = d->image().copy();
    QSignalSpy changed(d.get(), &SegmentDisplay::propertyChanged);
    assign(*d, property, assigned);
    QCOMPARE(read(*d, property).toLongLong(), stored);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), property);
    QCOMPARE(d->image() != before, redraws);
}

void TestDegit::sizeFollowsKetaAndSize_data() {
    QTest::addColumn<int>("keta");
    QTest::addColumn<int>("degitSize");
    QTest::addColumn<QSize>("size");
    QTest::newRow("fare cell") << 3 << 2 << QSize(57, 29);
    QTest::newRow("defaults") << 4 << 0 << QSize(52, 20);
    QTest::newRow("size 1") << 15 << 1 << QSize(255, 26);
    QTest::newRow("size 3") << 1 << 3 << QSize(11, 15);
    QTest::newRow("size 7 is size 0") << 3 << 7 << QSize(39, 20);
}

void TestDegit::sizeFollowsKetaAndSize() {
    QFETCH(int, keta);
    QFETCH(int, degitSize);
    QFETCH(QSize, size);
    SegmentDisplay d;
    d.setDigitCount(static_cast<qint16>(keta));
    d.setDigitSize(static_cast<qint16>(degitSize));
    QCOMPARE(d.size(), size);
    QCOMPARE(d.image().size(), size);
    // The other order gives the same.
    SegmentDisplay e;
    e.setDigitSize(static_cast<qint16>(degitSize));
    e.setDigitCount(static_cast<qint16>(keta));
    QCOMPARE(e.size(), size);
}

// ---- Drawing ---------------------------------------------------------------------------

void TestDegit::litOnlyInRightCell() {
    auto d = fareCell();
    d->setValue(5);
    const QImage& img = d->image();
    const QRgb lit = rgb(d->litColor());
    const QRgb unlit = rgb(d->unlitColor());
    QCOMPARE(countColour(img, lit, QRect(0, 0, 38, 29)), 0);
    QVERIFY(countColour(img, lit, QRect(38, 0, 19, 29)) > 20);
    // Every cell carries its unlit eight.
    for (int i = 0; i < 3; ++i)
        QVERIFY(countColour(img, unlit, cellRect(*d, i)) > 20);
    // Cells that show the same thing are drawn the same, one cell apart.
    QCOMPARE(img.copy(cellRect(*d, 0)), img.copy(cellRect(*d, 1)));
}

void TestDegit::resetDegit() {
    // True: an eight in every cell, the lit eights covering the unlit ones.
    auto d = fareCell();
    d->setZeroMode(1);
    d->setFillZero(3);
    d->setShift(1);
    d->setValue(7);
    d->resetDigits(true);
    QCOMPARE(d->value(), DigitValue(u"888"));
    QCOMPARE(litCells(*d), u"###"_qs);
    QCOMPARE(countColour(d->image(), rgb(d->unlitColor())), 0);
    QCOMPARE(d->image().copy(cellRect(*d, 0)), d->image().copy(cellRect(*d, 2)));
    // Zero mode, fill and shift are kept and apply again to the next value:
    // 5 shows as "05 ".
    QCOMPARE(d->zeroMode(), qint16{1});
    QCOMPARE(d->fillZero(), qint16{3});
    QCOMPARE(d->shift(), qint16{1});
    d->setValue(5);
    QCOMPARE(litCells(*d), u"##."_qs);

    // False: only the unlit eights, greys between the back colour and the
    // unlit colour.
    d->resetDigits(false);
    QCOMPARE(d->value(), DigitValue(QString()));
    const QImage& img = d->image();
    QCOMPARE(countColour(img, rgb(d->litColor())), 0);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            QVERIFY(c.red() == c.green() && c.green() == c.blue());
            QVERIFY(c.red() >= 0x80 && c.red() <= 0x96);
        }
    }
    for (int i = 0; i < 3; ++i)
        QVERIFY(countColour(img, rgb(d->unlitColor()), cellRect(*d, i)) > 20);

    // Restoring goes through the setters and their clamping.
    PropertyBag bag{{"Keta", 3}, {"FillZero", 9}, {"Shift", 7}, {"ZeroMode", 6}};
    SegmentDisplay loaded(nullptr, &bag);
    loaded.resetDigits(false);
    QCOMPARE(loaded.fillZero(), qint16{3});
    QCOMPARE(loaded.shift(), qint16{2});
    QCOMPARE(loaded.zeroMode(), qint16{0});
}

void TestDegit::backColorFillsTheRest() {
    auto d = fareCell();
    d->setBackColor(0x0000FF); // red
    d->setValue(888);
    const QImage& img = d->image();
    const QRgb back = rgb(0x0000FF);
    // The bottom row and the first column of every cell stay background.
    QCOMPARE(countColour(img, back, QRect(0, img.height() - 1, img.width(), 1)), img.width());
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(countColour(img, back, QRect(i * 19, 0, 1, img.height())), img.height());
        QVERIFY(countColour(img, back, cellRect(*d, i)) > 19 * 29 / 3);
    }
    // No other colour but the three and their blends: no trace of the old grey.
    QCOMPARE(countColour(img, rgb(0x808080)), 0);
}

void TestDegit::digitsLieWithinEight_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("degitSize");
    for (int style = 0; style <= 2; ++style)
        for (int size = 0; size <= 3; ++size)
            QTest::addRow("style %d, size %d", style, size) << style << size;
}

void TestDegit::digitsLieWithinEight() {
    QFETCH(int, style);
    QFETCH(int, degitSize);
    SegmentDisplay d;
    d.setDigitCount(1);
    d.setDigitSize(static_cast<qint16>(degitSize));
    d.setDigitStyle(static_cast<qint16>(style));
    d.setBackColor(0x000000);
    d.setUnlitColor(0x000000); // unlit segments invisible
    d.setLitColor(0xFFFFFF);
    d.setZeroMode(-1); // "0" as it is
    d.setValue(8);
    const QImage eight = d.image().copy();
    QVERIFY(countColour(eight, qRgb(0, 0, 0)) < eight.width() * eight.height());
    QSet<QByteArray> shapes;
    for (const QString& c : QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "9", "-"}) {
        d.setValue(c);
        const QImage img = d.image();
        int ink = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if ((img.pixel(x, y) & 0xFFFFFF) == 0) continue;
                ++ink;
                QVERIFY2(
                    (eight.pixel(x, y) & 0xFFFFFF) != 0,
                    qPrintable(QStringLiteral("%1 outside the 8 at %2,%3").arg(c).arg(x).arg(y)));
            }
        }
        QVERIFY2(ink > 0, qPrintable(c));
        shapes.insert(
            QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
    }
    QCOMPARE(shapes.size(), 10); // every character looks different
}

void TestDegit::everyCharacterTakesOneCell() {
    // The same characters shifted by one cell are the same picture moved by
    // exactly one cell width, whatever the face's own advances are.
    for (const QString& text : {u"-5"_qs, u"1 1"_qs, u"-"_qs, u"7"_qs}) {
        auto a = fareCell();
        auto b = fareCell();
        a->setDigitCount(4);
        b->setDigitCount(4);
        a->setValue(text);
        b->setValue(text + u' ');
        const int w = 19 * static_cast<int>(text.size());
        QCOMPARE(a->image().copy(QRect(76 - w, 0, w, 29)),
                 b->image().copy(QRect(57 - w, 0, w, 29)));
    }
    // A space lights nothing and takes its cell.
    auto d = fareCell();
    d->setValue(u"1 1"_qs);
    QCOMPARE(litCells(*d), u"#.#"_qs);
}

void TestDegit::paintCopiesKeptImage() {
    auto d = fareCell();
    d->setValue(42);
    QCOMPARE(d->grab().toImage().convertToFormat(QImage::Format_RGB32), d->image());
    // A setting that does not redraw changes nothing on the screen either:
    // painting does not recompute the digits.
    const QImage before = d->image().copy();
    d->setFillZero(3);
    d->setShift(1);
    QCOMPARE(d->grab().toImage().convertToFormat(QImage::Format_RGB32), before);
    // A larger surface keeps its picture and shows the back colour beyond it.
    d->resize(70, 29);
    const QImage grown = d->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grown.copy(0, 0, 57, 29), before);
    QCOMPARE(countColour(grown, rgb(d->backColor()), QRect(57, 0, 13, 29)), 13 * 29);
}

// ---- Design data -----------------------------------------------------------------------

void TestDegit::loadedInstance() {
    // Keys in any letter case, values taken without the setters' clamping; a
    // missing key takes the value a new instance has.
    const PropertyBag bag{{"keta", 3},     {"DEGITSIZE", 2}, {"FillZero", 9},
                          {"ZeroMode", 7}, {"Shift", -2},    {"BackColor", 0x00FF00u}};
    SegmentDisplay d(nullptr, &bag);
    const SegmentDisplay fresh;
    for (const QString& p : Properties)
        QCOMPARE(read(d, p).toLongLong(),
                 (bag.contains(p) ? bag.read(p) : read(fresh, p)).toLongLong());
    QCOMPARE(d.size(), QSize(57, 29));
    // Not drawn: only the loaded back colour, as a new instance shows only its own.
    QCOMPARE(countColour(d.image(), rgb(0x00FF00)), 57 * 29);
    QCOMPARE(countColour(fresh.image(), rgb(fresh.backColor())), 52 * 20);
    // The first assignment that redraws draws it, with the loaded settings:
    // FillZero 9 gives 000000005, cut to 005.
    d.setValue(5);
    QCOMPARE(litCells(d), u"###"_qs);
    QCOMPARE(d.value(), DigitValue(5)); // the stored value is never changed by the rules
}

void TestDegit::loadedOddEntriesAreHarmless() {
    // Stored values beyond the setters' ranges stay as they are and draw
    // harmlessly: size 7 as size 0, a shift of 32767 with everything out of
    // sight. (Unreadable entries read as defaults, as every typed read of the
    // property bag does.)
    const PropertyBag bag{{"DegitSize", 7}, {"Shift", 32767}};
    SegmentDisplay d(nullptr, &bag);
    QCOMPARE(d.digitSize(), qint16{7});
    QCOMPARE(d.shift(), qint16{32767});
    QCOMPARE(d.size(), QSize(52, 20));
    d.setValue(12);
    QCOMPARE(litCells(d), u"...."_qs);

    // A huge stored digit count draws only what fits.
    const PropertyBag wide{{"Keta", 32767}, {"FillZero", 32767}};
    SegmentDisplay w(nullptr, &wide);
    w.setValue(7);
    QCOMPARE(w.image().size(), QSize(52, 20));
    QVERIFY(countColour(w.image(), rgb(w.litColor()), QRect(0, 0, 39, 20)) > 0);
    w.resetDigits(true);
    QCOMPARE(w.value().text().size(), 32767);

    // A negative stored digit count draws nothing at all.
    const PropertyBag none{{"Keta", -5}};
    SegmentDisplay n(nullptr, &none);
    n.setValue(8);
    QCOMPARE(countColour(n.image(), rgb(n.backColor())), 52 * 20);
    n.resetDigits(true);
    QCOMPARE(n.value(), DigitValue(QString()));
}

void TestDegit::writeProperties() {
    SegmentDisplay d;
    PropertyBag bag;
    d.writeProperties(bag);
    QCOMPARE(bag.size(), 0); // every property at its default
    const qint64 changed[] = {0x112233, 0x445566, 2, 1, 1, 3, 2, 1, 0, 0, 0x778899};
    for (int i = 0; i < Properties.size(); ++i)
        assign(d, Properties[i], changed[i]);
    d.setValue(u"0"_qs);
    d.writeProperties(bag);
    QStringList keys = bag.keys();
    keys.sort();
    QStringList all = Properties;
    all.sort();
    QCOMPARE(keys, all);
    const SegmentDisplay back(nullptr, &bag);
    for (const QString& p : Properties)
        QCOMPARE(read(back, p), read(d, p));
    QCOMPARE(back.value(), DigitValue(u"0")); // still a text

    // Back at a default, a key goes away.
    d.setDigitCount(4);
    d.setValue(0);
    d.writeProperties(bag);
    QVERIFY(!bag.contains("keta"));
    QVERIFY(!bag.contains("value"));
}

// ---- Dialog and events ------------------------------------------------------------------

void TestDegit::showSetDlg_data() {
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("zeroMode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("fillZero");
    QTest::addColumn<QString>("lit");
    QTest::newRow("accepted") << true << 3 << 1 << 2 << "##.";
    QTest::newRow("taken unclamped") << true << 0 << 9 << -4 << "...";
    QTest::newRow("cancelled") << false << 3 << 1 << 2 << "...";
}

void TestDegit::showSetDlg() {
    QFETCH(bool, accepted);
    QFETCH(int, zeroMode);
    QFETCH(int, shift);
    QFETCH(int, fillZero);
    FakeCompanionDialogs dialogs;
    if (accepted)
        dialogs.digitAnswer = DigitOptions{static_cast<qint16>(zeroMode), static_cast<qint16>(shift),
                                           static_cast<qint16>(fillZero)};
    auto d = fareCell();
    d->setDialogs(&dialogs);
    d->setValue(0); // blank with ZeroMode 0
    QSignalSpy changed(d.get(), &SegmentDisplay::propertyChanged);
    QCOMPARE(d->showSettingsDialog(), accepted);
    QCOMPARE(dialogs.calls, QStringList{u"digits:3,0,0,0"_qs});
    QCOMPARE(changed.count(), 0);
    const bool taken = accepted;
    QCOMPARE(d->zeroMode(), qint16(taken ? zeroMode : 0));
    QCOMPARE(d->shift(), qint16(taken ? shift : 0));
    QCOMPARE(d->fillZero(), qint16(taken ? fillZero : 0));
    // Redrawn with what came back: 0 with mode 3, shift 1, fill 2 is "00 ".
    QTEST(litCells(*d), "lit");
}

void TestDegit::showSetDlgWithoutDialogs() {
    auto d = fareCell();
    d->setZeroMode(2);
    QVERIFY(!d->showSettingsDialog());
    QCOMPARE(d->zeroMode(), qint16{2});
}

void TestDegit::mouse() {
    // A double click is reported whatever UserSet says; a press stays with
    // the control and does not reach the window beneath.
    PressRecorder host;
    host.resize(200, 100);
    auto* d = new SegmentDisplay(&host);
    d->move(10, 10);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QSignalSpy clicks(d, &SegmentDisplay::doubleClicked);
    for (bool userSet : {true, false}) {
        d->setUserSettable(userSet);
        QTest::mouseDClick(d, Qt::LeftButton, {}, QPoint(5, 5));
    }
    QCOMPARE(clicks.count(), 2);
    QTest::mousePress(d, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(d, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(host.presses, 0);
    QTest::mousePress(&host, Qt::LeftButton, {}, QPoint(150, 80));
    QCOMPARE(host.presses, 1);
}

QTEST_MAIN(TestDegit)
#include "tst_degit.moc"
