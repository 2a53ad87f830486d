// The ticket engine on real plug-in files: what it draws (barcodes that a
// reader decodes, texts kept inside their boxes), what it leaves alone, and
// that it follows a plug-in file that changes.
#include "TestFiles.h"
#include "widgets/PluginTicketEngine.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// An NW-7 reader, written from the symbology's published module patterns
// (1 a bar module, 0 a space module; a wide element is three modules, and
// each pattern ends with the narrow gap after the character).
const std::pair<char, const char*> Modules[] = {
    {'0', "101010001110"},   {'1', "101011100010"},   {'2', "101000101110"},
    {'3', "111000101010"},   {'4', "101110100010"},   {'5', "111010100010"},
    {'6', "100010101110"},   {'7', "100010111010"},   {'8', "100011101010"},
    {'9', "111010001010"},   {'-', "101000111010"},   {'$', "101110001010"},
    {':', "11101011101110"}, {'/', "11101110101110"}, {'.', "11101110111010"},
    {'+', "10111011101110"}, {'A', "10111000100010"}, {'B', "10001000101110"},
    {'C', "10100010001110"}, {'D', "10100011100010"},
};

// The narrow (n) and wide (w) elements of a module pattern, without the gap.
QString elementsOf(const QString& modules) {
    QString out;
    for (qsizetype i = 0; i + 1 < modules.size();) {
        qsizetype j = i;
        while (j < modules.size() && modules[j] == modules[i])
            ++j;
        out += j - i >= 3 ? u'w' : u'n';
        i = j;
    }
    return out;
}

// Reads the barcode across row y of image: the characters, or "?" for one
// the reader does not know.
QString readBarcode(const QImage& image, int y) {
    std::vector<int> runs; // bar, space, bar, ... from the first bar
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool d = qGray(image.pixel(x, y)) < 128;
        if (runs.empty() && !d) continue;
        if (runs.empty() || d != dark) runs.push_back(0);
        dark = d;
        ++runs.back();
    }
    if (!runs.empty() && !dark) runs.pop_back(); // the quiet zone after the last bar
    if (runs.empty()) return {};
    const int narrow = *std::min_element(runs.begin(), runs.end());
    QString text;
    for (size_t c = 0; c + 7 <= runs.size(); c += 8) {
        QString elements;
        for (size_t k = c; k < c + 7; ++k)
            elements += runs[k] > narrow * 3 / 2 ? u'w' : u'n';
        QChar found = u'?';
        for (const auto& [character, modules] : Modules)
            if (elementsOf(QString::fromLatin1(modules)) == elements) found = QChar(character);
        text += found;
    }
    return text;
}

QByteArray plugin(const QString& elements, int width = 3300, int height = 1395) {
    return QStringLiteral(R"({"format": "K40 ticket plug-in", "version": 1, "name": "t",
        "size": {"width": %1, "height": %2}, "companies": ["みなと交通"], "elements": [%3]})")
        .arg(width)
        .arg(height)
        .arg(elements)
        .toUtf8();
}

FareRow::TicketDrawing drawing(const QString& path) {
    FareRow::TicketDrawing t;
    t.pluginPath = path;
    t.stopName = u"みなと総合運動公園東入口"_qs;
    t.dateText = u"03-07-2024"_qs;
    t.timeText = u"14:05:09"_qs;
    t.routeNumber = 67890;
    t.ticketNumber = 345;
    t.section = 12;
    t.companyIndex = 0;
    return t;
}

// The ticket drawn by a plug-in of these elements (after its paper) on an
// image of size; t gets the plug-in's path.
QImage drawn(const QString& elements, FareRow::TicketDrawing& t, QSize size = {220, 93}) {
    QTemporaryDir dir;
    t.pluginPath = dir.filePath(u"t.4SP"_qs);
    if (!writeFile(t.pluginPath, plugin(uR"({"type": "paper"}, )"_qs + elements))) return {};
    QImage image(size, QImage::Format_RGB32);
    PluginTicketEngine().drawTicket(&image, t);
    return image;
}

// The bounds of the ink (grey under 160) in image, empty without any.
QRect inkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class TestTicketEngine : public QObject {
    Q_OBJECT
private slots:
    void barcodesReadBack_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("read");
        QTest::addColumn<double>("ratio");
        QTest::newRow("every data character")
            << u"A{route}-$:/.+{row}{ticket}D"_qs << u"A67890-$:/.+12345D"_qs << 3.0;
        QTest::newRow("zeros, ratio 2.5")
            << u"B{row:04}{ticket:05}C"_qs << u"B001200345C"_qs << 2.5;
    }

    void barcodesReadBack() {
        QFETCH(QString, data);
        QFETCH(double, ratio);
        FareRow::TicketDrawing t = drawing({});
        const QImage image = drawn(QStringLiteral(R"({"type": "barcode", "x": 10, "y": 20,
            "width": 240, "height": 30, "data": "%1", "ratio": %2})")
                                       .arg(data)
                                       .arg(ratio),
                                   t, {260, 93});
        QTEST(readBarcode(image, 35), "read");
        // The bars stay in their box.
        QCOMPARE(readBarcode(image, 19), QString());
        QCOMPARE(readBarcode(image, 50), QString());
    }

    void sampleBarcodesReadBack() {
        // The shipped ticket's two barcodes fit its preview and read back.
        PluginTicketEngine engine;
        QImage image(220, 93, QImage::Format_RGB32);
        FareRow::TicketDrawing t =
            drawing(QStringLiteral(K40_SOURCE_DIR "/data/plugins/barcode.4SP"));
        t.routeNumber = 12;
        t.section = 9;
        t.ticketNumber = 9;
        engine.drawTicket(&image, t);
        QCOMPARE(readBarcode(image.copy(66, 0, 154, 93), 50), u"A01209A"_qs);
        QCOMPARE(readBarcode(image.copy(66, 0, 154, 93), 76), u"B0090307B"_qs);
    }

    void textsStayInTheirBoxes_data() {
        QTest::addColumn<QString>("align");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fills");   // the text reaches both sides of its box
        QTest::addColumn<QString>("stop"); // empty: the usual name
        QTest::newRow("long name, condensed") << u"left"_qs << u"{stop}"_qs << true << QString();
        QTest::newRow("a name of 32768 characters, eight times")
            << u"left"_qs << u"{stop}"_qs.repeated(8) << true << QString(32768, u'駅');
        QTest::newRow("short, left") << u"left"_qs << u"{ticket}"_qs << false << QString();
        QTest::newRow("short, right") << u"right"_qs << u"{company}"_qs << false << QString();
        QTest::newRow("short, centre") << u"center"_qs << u"{time}"_qs << false << QString();
    }

    void textsStayInTheirBoxes() {
        QFETCH(QString, align);
        QFETCH(QString, text);
        QFETCH(bool, fills);
        QFETCH(QString, stop);
        FareRow::TicketDrawing t = drawing({});
        if (!stop.isEmpty()) t.stopName = stop;
        const QRect ink = inkOf(drawn(QStringLiteral(R"({"type": "text", "x": 60, "y": 10,
            "width": 100, "height": 30, "text": "%1", "size": 24, "align": "%2"})")
                                          .arg(text, align),
                                      t));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(QRect(60, 10, 101, 31).contains(ink), qPrintable(QDebug::toString(ink)));
        const int left = ink.left(), right = ink.right(), middle = (left + right) / 2;
        if (fills) {
            QCOMPARE_LE(left, 62);
            QCOMPARE_GE(right, 156);
        } else if (align == u"left") {
            QCOMPARE_LE(left, 63);
        } else if (align == u"right") {
            QCOMPARE_GE(right, 156);
        } else {
            QCOMPARE_LE(std::abs(middle - 110), 3);
        }
        // The drawing leaves the stop name and the date as they were.
        QCOMPARE(t.stopName, stop.isEmpty() ? drawing({}).stopName : stop);
        QCOMPARE(t.dateText, drawing({}).dateText);
    }

    void ticketDrawsItsShareOfText_data() {
        QTest::addColumn<int>("longTexts"); // of TicketPlugin::MaxText characters each
        QTest::addColumn<bool>("lastDrawn");
        const int most = TicketPlugin::MaxTicketText / TicketPlugin::MaxText;
        QTest::newRow("within") << most - 1 << true;
        QTest::newRow("beyond") << most << false;
    }

    void ticketDrawsItsShareOfText() {
        // Long texts on the left, then a short one on the right: drawn only
        // while the ticket's share of characters lasts.
        QFETCH(int, longTexts);
        QString elements;
        for (int i = 0; i < longTexts; ++i)
            elements += uR"({"type": "text", "x": 0, "y": 10, "width": 100, "height": 30,
                "text": "{stop}"}, )"_qs;
        elements += uR"({"type": "text", "x": 160, "y": 10, "width": 50, "height": 30,
            "text": "{ticket}", "size": 24})"_qs;
        FareRow::TicketDrawing t = drawing({});
        t.stopName = QString(32768, u'駅');
        QTEST(!inkOf(drawn(elements, t).copy(150, 0, 70, 93)).isEmpty(), "lastDrawn");
    }

    void followsThePluginFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.4SP"_qs);
        const QString paper = uR"({"type": "paper", "color": "#00ff00"})"_qs;
        QVERIFY(writeFile(path, plugin(paper)));
        PluginTicketEngine engine;
        TicketPluginInfo info{};
        QVERIFY(engine.pluginInfo(path, info));
        QCOMPARE(info[1], 3300);
        QCOMPARE(engine.companyNames(path), QStringList{u"みなと交通"_qs});
        QVERIFY(writeFile(path, plugin(paper, 4500, 1500) + "\n"));
        QVERIFY(engine.pluginInfo(path, info));
        QCOMPARE(info[1], 4500);
        QVERIFY(writeFile(path, "not a plug-in"));
        QVERIFY(!engine.pluginInfo(path, info));
        QCOMPARE(engine.remarks(path), QString());
        // A ticket of a file that is none is not drawn.
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        FareRow::TicketDrawing t = drawing(path);
        engine.drawTicket(&image, t);
        QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));
        QVERIFY(QFile::remove(path));
        QVERIFY(!engine.pluginInfo(path, info));
    }
};

QTEST_MAIN(TestTicketEngine)
#include "tst_ticketengine.moc"
