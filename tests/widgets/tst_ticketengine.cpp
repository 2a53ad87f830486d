// The ticket engine on real plug-in files: barcodes read back, texts boxed, files followed.
#include "TestFiles.h"
#include "widgets/PluginTicketEngine.h"
#include <QtTest>

namespace {
// An NW-7 reader from the symbology's published patterns (1 a bar module, 0 a space one; wide is
// three modules; each pattern ends with the narrow gap after its character).
const std::pair<char, const char*> Modules[] = {
    {'0', "101010001110"}, {'1', "101011100010"}, {'2', "101000101110"}, {'3', "111000101010"},
    {'4', "101110100010"}, {'5', "111010100010"}, {'6', "100010101110"}, {'7', "100010111010"},
    {'8', "100011101010"}, {'9', "111010001010"}, {'-', "101000111010"}, {'$', "101110001010"},
    {':', "11101011101110"}, {'/', "11101110101110"}, {'.', "11101110111010"},
    {'+', "10111011101110"}, {'A', "10111000100010"}, {'B', "10001000101110"},
    {'C', "10100010001110"}, {'D', "10100011100010"}};

// Reads the barcode across row y of image: the characters, or "?" for one the reader does not know.
QString readBarcode(const QImage& image, int y) {
    std::vector<int> runs; // bar, space, bar, ... from the first bar
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool d = qGray(image.pixel(x, y)) < 128;
        if (runs.empty() ? d : d != dark) runs.push_back(0);
        if (!runs.empty()) ++runs.back(), dark = d;
    }
    if (runs.empty()) return {};
    const int narrow = *std::min_element(runs.begin(), runs.end());
    QString text;
    for (size_t c = 0; c + 7 <= runs.size(); c += 8) {
        QByteArray modules; // the character's elements as modules, then its gap
        for (size_t k = c; k < c + 7; ++k)
            modules += QByteArray(runs[k] > narrow * 3 / 2 ? 3 : 1, k % 2 ? '0' : '1');
        modules += '0';
        const auto* known =
            std::ranges::find_if(Modules, [&](auto& m) { return modules == m.second; });
        text += known == std::end(Modules) ? u'?' : QChar(known->first);
    }
    return text;
}
QByteArray plugin(const QString& elements, int width = 3300) {
    return QStringLiteral(R"({"format": "K40 ticket plug-in", "version": 1, "name": "t",
        "size": {"width": %1, "height": 1395}, "companies": ["みなと交通"], "elements": [%2]})")
        .arg(width).arg(elements).toUtf8();
}
FareRow::TicketDrawing drawing(const QString& stop = u"みなと総合運動公園東入口"_qs) {
    return {QString(), stop, u"03-07-2024"_qs, u"14:05:09"_qs, 67890, 345, 12, 0};
}
// The ticket t drawn by a plug-in of these elements (after its paper) on an image of size.
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
        QTest::newRow("zeros, ratio 2.5") << u"B{row:04}{ticket:05}C"_qs << u"B001200345C"_qs << 2.5;
    }
    void barcodesReadBack() {
        // Read across the middle; the bars stay in their box.
        QFETCH(QString, data);
        QFETCH(double, ratio);
        FareRow::TicketDrawing t = drawing();
        const QImage image = drawn(QStringLiteral(R"({"type": "barcode", "x": 10, "y": 20,
            "width": 240, "height": 30, "data": "%1", "ratio": %2})").arg(data).arg(ratio), t, {260, 93});
        QTEST(readBarcode(image, 35), "read");
        QCOMPARE(readBarcode(image, 19) + readBarcode(image, 50), QString());
    }
    void sampleBarcodesReadBack() {
        // The shipped ticket's two barcodes fit its preview and read back.
        QImage image(220, 93, QImage::Format_RGB32);
        FareRow::TicketDrawing t{QStringLiteral(K40_SOURCE_DIR "/data/plugins/barcode.4SP"), {},
                                 u"03-07-2024"_qs, u"14:05:09"_qs, 12, 9, 9, 0};
        PluginTicketEngine().drawTicket(&image, t);
        image = image.copy(66, 0, 154, 93);
        QCOMPARE(readBarcode(image, 50) + u' ' + readBarcode(image, 76), u"A01209A B0090307B"_qs);
    }
    void textsStayInTheirBoxes_data() {
        QTest::addColumn<QString>("align");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stop");  // empty: the usual name
        QTest::addColumn<QString>("edges"); // the sides of its box the text reaches, "C" centred
        QTest::newRow("long name, condensed") << "left" << "{stop}" << QString() << "LR";
        QTest::newRow("a name of 32768 characters, eight times")
            << "left" << u"{stop}"_qs.repeated(8) << QString(32768, u'駅') << "LR";
        QTest::newRow("short, left") << "left" << "{ticket}" << QString() << "L";
        QTest::newRow("short, right") << "right" << "{company}" << QString() << "R";
        QTest::newRow("short, centre") << "center" << "{time}" << QString() << "C";
    }
    void textsStayInTheirBoxes() {
        QFETCH(QString, align);
        QFETCH(QString, text);
        QFETCH(QString, stop);
        QFETCH(QString, edges);
        FareRow::TicketDrawing t = stop.isEmpty() ? drawing() : drawing(stop);
        const QRect ink = inkOf(drawn(QStringLiteral(R"({"type": "text", "x": 60, "y": 10,
            "width": 100, "height": 30, "text": "%1", "size": 24, "align": "%2"})")
                                          .arg(text, align), t));
        QVERIFY2(!ink.isEmpty() && QRect(60, 10, 101, 31).contains(ink),
                 qPrintable(QDebug::toString(ink)));
        if (edges.contains(u'L')) QCOMPARE_LE(ink.left(), edges.size() == 2 ? 62 : 63);
        if (edges.contains(u'R')) QCOMPARE_GE(ink.right(), 156);
        if (edges == u"C") QCOMPARE_LE(std::abs((ink.left() + ink.right()) / 2 - 110), 3);
        // The drawing leaves the stop name and the date as they were.
        QCOMPARE(t.stopName + t.dateText,
                 (stop.isEmpty() ? drawing().stopName : stop) + u"03-07-2024"_qs);
    }
    void ticketDrawsItsShareOfText_data() {
        QTest::addColumn<int>("longTexts"); // of TicketPlugin::MaxText characters each
        QTest::addColumn<bool>("lastDrawn");
        const int most = TicketPlugin::MaxTicketText / TicketPlugin::MaxText;
        QTest::newRow("within") << most - 1 << true;
        QTest::newRow("beyond") << most << false;
    }
    void ticketDrawsItsShareOfText() {
        // Long texts, then a short one on the right: drawn while the ticket's share of text lasts.
        QFETCH(int, longTexts);
        const QString text = uR"({"type": "text", "x": 0, "y": 10, "width": 100, "height": 30,
            "text": "{stop}"}, )"_qs;
        FareRow::TicketDrawing t = drawing(QString(32768, u'駅'));
        const QImage image = drawn(text.repeated(longTexts) + uR"({"type": "text", "x": 160,
            "y": 10, "width": 50, "height": 30, "text": "{ticket}", "size": 24})"_qs, t);
        QTEST(!inkOf(image.copy(150, 0, 70, 93)).isEmpty(), "lastDrawn");
    }
    void followsThePluginFile() {
        // Read again as it changes; a file that is none gives no ticket.
        QTemporaryDir dir;
        FareRow::TicketDrawing t = drawing();
        const QString& path = t.pluginPath = dir.filePath(u"p.4SP"_qs);
        const QString paper = uR"({"type": "paper", "color": "#00ff00"})"_qs;
        PluginTicketEngine engine;
        TicketPluginInfo info{};
        QVERIFY(writeFile(path, plugin(paper)) && engine.pluginInfo(path, info));
        QCOMPARE(info[1], 3300);
        QCOMPARE(engine.companyNames(path), QStringList{u"みなと交通"_qs});
        QVERIFY(writeFile(path, plugin(paper, 4500) + "\n") && engine.pluginInfo(path, info));
        QCOMPARE(info[1], 4500);
        QVERIFY(writeFile(path, "not a plug-in") && !engine.pluginInfo(path, info));
        QCOMPARE(engine.remarks(path), QString());
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        engine.drawTicket(&image, t);
        QCOMPARE(image.pixel(5, 5), qRgb(255, 255, 255));
        QVERIFY(QFile::remove(path) && !engine.pluginInfo(path, info));
    }
};
QTEST_MAIN(TestTicketEngine)
#include "tst_ticketengine.moc"
