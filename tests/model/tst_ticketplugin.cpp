// The ticket plug-in reader: samples, what is no plug-in, placeholders, the NW-7 encoder.
#include "TestFiles.h"
#include "model/Codabar.h"
#include "model/TicketPlugin.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TicketPluginInfo)

// A JSON object written with single quotes.
static QJsonObject object(const QByteArray& json) {
    return QJsonDocument::fromJson(QByteArray(json).replace('\'', '"')).object();
}
// The smallest plug-in with the keys of patch, a JSON object written with
// single quotes, put over it: "element" its one element, put over a text
// element; null removes a key. What is no JSON object is taken as it is.
static QByteArray document(const QByteArray& patch) {
    if (object(patch).isEmpty() && patch != "{}") return patch;
    QJsonObject o =
        object("{'format': 'K40 ticket plug-in', 'version': 1, 'name': '小', "
               "'size': {'width': 1500, 'height': 750}, 'elements': [{'type': 'paper'}]}");
    const QJsonObject changes = object(patch);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        QJsonObject e =
            object("{'type': 'text', 'x': 0, 'y': 0, 'width': 90, 'height': 9, 'text': 'a'}");
        const QJsonObject element = it.value().toObject();
        for (auto k = element.begin(); k != element.end(); ++k) e[k.key()] = k.value();
        if (it.key() == u"element") o[u"elements"_qs] = QJsonArray{e};
        else if (it.value().isNull()) o.remove(it.key());
        else o[it.key()] = it.value();
    }
    return QJsonDocument(o).toJson();
}

class TestTicketPlugin : public QObject {
    Q_OBJECT
private slots:
    void samples_data() {
        QTest::addColumn<QString>("name"); QTest::addColumn<TicketPluginInfo>("info");
        QTest::addColumn<QStringList>("companies");
        QTest::newRow("standard") << u"standard.4SP"_qs
                                  << TicketPluginInfo{1, 3300, 1395, 1, 1, 1, 1,
                                                      0, 0,    0,    0, 0, 0, 2}
                                  << QStringList{u"みなと交通"_qs, u"山の手バス"_qs};
        QTest::newRow("barcodes") << u"barcode.4SP"_qs
                                  << TicketPluginInfo{1, 3300, 1395, 1, 0, 1,  1,
                                                      1, 2,    999,  1, 1, 99, 0}
                                  << QStringList{};
        QTest::newRow("number") << u"number.4SP"_qs << TicketPluginInfo{1, 3300, 1395}
                                << QStringList{};
    }
    void samples() {
        QFETCH(QString, name);
        QString error;
        const auto plugin = TicketPlugin::load(K40_SOURCE_DIR "/data/plugins/" + name, &error);
        QVERIFY2(plugin, qPrintable(error)); QTEST(plugin->info, "info");
        QTEST(plugin->companies, "companies");
        QVERIFY(!plugin->name.isEmpty() && !plugin->remarks.isEmpty());
    }
    // What is a plug-in, from its bytes and from a file, and why not; a special file is
    // refused at once, waiting for no writer.
    void documents_data() {
        QTest::addColumn<QByteArray>("document"); // FIFO, device, folder: a file of that kind
        QTest::addColumn<QString>("result");      // the look of its first element, or of the reason
        const auto row = [](const char* tag, const QByteArray& patch, const char* result) {
            QTest::newRow(tag) << document(patch) << QString::fromUtf8(result);
        };
        row("the smallest is one, its paper white", "{}", "normal ffffffff");
        row("bold", "{'element': {'weight': 'bold'}}", "bold ff000000");
        row("#rrggbb", "{'element': {'color': '#1a2b3c'}}", "normal ff1a2b3c");
        row("#rgb", "{'element': {'color': '#1a2'}}", "normal ff11aa22");
        row("not JSON", "{\"format\": ", "not JSON");
        row("binary", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), "not JSON");
        row("a list", "[1, 2]", "not a JSON object");
        row("another format", "{'format': 'KT4'}", "format");
        row("another version", "{'version': 2}", "version");
        row("no size", "{'size': null}", "width");
        row("no elements", "{'elements': null}", "elements");
        const QByteArray paper = "{'type': 'paper'}";
        row("1001 elements", "{'elements': [" + (paper + ',').repeated(1000) + paper + "]}",
            "1000");
        row("unknown element", "{'element': {'type': 'script'}}", "unknown type");
        row("unknown placeholder", "{'element': {'text': '{fare}'}}", "placeholder");
        row("stray brace", "{'element': {'text': 'a}b'}}", "placeholder");
        row("width with a blank", "{'element': {'text': '{day:5 }'}}", "placeholder");
        row("bad colour", "{'element': {'type': 'paper', 'color': 'red'}}", "colour");
        const auto barcode = [](const QByteArray& data) {
            return "{'element': {'type': 'barcode', 'data': '" + data + "'}}";
        };
        row("barcode of a stop name", barcode("A{stop}A"), "numbers");
        row("barcode padded with blanks", barcode("A{row:3}A"), "numbers");
        row("barcode without start", barcode("{row}A"), "start");
        row("barcode letter", barcode("A1X2A"), "NW-7");
        row("stop range", "{'barcode': {'count': 1, 'maxRoute': 9, 'stops': [5, 2]}}", "stops");
        const QByteArray route = "{route}";
        row("barcode of 255 characters", barcode('A' + route.repeated(23) + 'A'),
            "normal ff000000");
        row("barcode of up to 266 characters", barcode('A' + route.repeated(24) + 'A'), "256");
        row("over 1 MiB", "{'remarks': '" + QByteArray(TicketPlugin::MaxBytes, 'x') + "'}",
            "1 MiB");
        for (const char* kind : {"FIFO", "device", "folder"})
            QTest::newRow(kind) << QByteArray(kind) << QString::fromLatin1(kind);
    }
    void documents() {
        QFETCH(QByteArray, document); QFETCH(QString, result);
        const auto outcome = [](const std::optional<TicketPlugin>& p, const QString& error) {
            if (!p) return error;
            const TicketElement& e = p->elements.front();
            return QStringLiteral("%1 %2").arg(e.bold ? u"bold" : u"normal").arg(e.color, 0, 16);
        };
        QTemporaryDir dir; const QString path = dir.filePath(u"p.4SP"_qs);
        QVERIFY(document == "FIFO"     ? makeFifo(path)
                : document == "device" ? makeEndlessFile(path)
                : document == "folder" ? QDir().mkpath(path) : writeFile(path, document));
        QString error;
        if (QFileInfo(path).isFile())
            QVERIFY2(outcome(TicketPlugin::parse(document, &error), error).contains(result),
                     qPrintable(error));
        QVERIFY2(outcome(TicketPlugin::load(path, &error), error).contains(result),
                 qPrintable(error));
    }
    // A template filled: every placeholder; cut after MaxText characters, no pair parted.
    void placeholders_data() {
        QTest::addColumn<QString>("templateText"); QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("date"); QTest::addColumn<QString>("text");
        const auto row = [](const char* tag, const QString& templateText, const QString& text,
                            const QString& stop = u"市役所前"_qs,
                            const QString& date = u"03-07-2024"_qs) {
            QTest::newRow(tag) << templateText << stop << date << text;
        };
        row("stop, route, ticket, row", u"{stop} {route}系統 {ticket}番 {row}"_qs,
            u"市役所前 12系統 7番 3"_qs);
        row("zeros and blanks", u"[{ticket:03}][{row:4}][{route:1}]"_qs, u"[007][   3][12]"_qs);
        row("braces", u"{{ticket}} }}{{"_qs, u"{ticket} }{"_qs);
        row("system date", u"{date}: {year}年{month}月{day:02}日"_qs, u"03-07-2024: 2024年3月07日"_qs);
        row("fixed date", u"{year}.{month:02}.{day:02}"_qs, u"2024.03.07"_qs, {}, u"2024/03/07"_qs);
        row("date of no known form", u"[{year}][{date}]"_qs, u"[][7.3.24]"_qs, {}, u"7.3.24"_qs);
        row("time", u"{time} {hour}時{minute:02}分"_qs, u"09:05:07 9時05分"_qs);
        row("company", u"<{company}>"_qs, u"<山の手バス>"_qs);
        const int most = TicketPlugin::MaxText;
        const QString name = QString(32768, u'駅');
        row("a name of 32768 characters", u"{stop}"_qs, name.left(most), name);
        row("a name a thousand times", u"[{stop}]"_qs.repeated(1000),
            u"[市役所前]"_qs.repeated(1000).left(most));
        const QString pairs = u"a"_qs + u"𠮷"_qs.repeated(200); // a pair across the cut
        row("no pair parted", u"{stop}"_qs, pairs.left(most - 1), pairs);
        const QString xs(most - 3, u'x');
        row("a long literal, then the name", xs + u"xxx{stop}"_qs, xs + u"xxx"_qs);
        row("padded at the end", xs + u"{ticket:05}"_qs, xs + u"000"_qs);
    }
    void placeholders() {
        QFETCH(QString, templateText); QFETCH(QString, stop); QFETCH(QString, date);
        TicketPlugin plugin; plugin.companies = QStringList{u"みなと交通"_qs, u"山の手バス"_qs};
        // Route 12, ticket 7, row 3, company 1 (山の手バス).
        FareRow::TicketDrawing t{{}, stop, date, u"09:05:07"_qs, 12, 7, 3, 1};
        QVERIFY(TicketPlugin::isValidTemplate(templateText));
        QTEST(plugin.fill(templateText, t), "text");
        t.companyIndex = -1; // none chosen
        QCOMPARE(plugin.fill(u"<{company}>"_qs, t), u"<>"_qs);
    }
    // NW-7: every character four bars and three spaces, two or three of them
    // wide, a narrow space between characters; 0 elements when it cannot be.
    void codabar_data() {
        QTest::addColumn<QString>("data"); QTest::addColumn<int>("elements");
        QTest::newRow("digits") << u"A0123456789B"_qs << 12 * 8 - 1;
        QTest::newRow("signs, lower-case ends") << u"c-$:/.+d"_qs << 8 * 8 - 1;
        for (const char* bad : {"A123", "A1A2A", "A1E2A", "A"})
            QTest::newRow(bad) << QString::fromLatin1(bad) << 0;
    }
    void codabar() {
        QFETCH(QString, data);
        const auto encoded = Codabar::encode(data);
        QTEST(encoded ? int(encoded->size()) : 0, "elements");
        for (size_t c = 0; encoded && c < encoded->size(); c += 8) {
            int wide = 0;
            for (size_t k = 0; k < 7; ++k) {
                QCOMPARE((*encoded)[c + k].bar, k % 2 == 0);
                wide += (*encoded)[c + k].wide;
            }
            QVERIFY(wide == 2 || wide == 3);
            if (c + 7 < encoded->size()) QCOMPARE((*encoded)[c + 7], Codabar::Element{});
        }
    }
};
QTEST_GUILESS_MAIN(TestTicketPlugin)
#include "tst_ticketplugin.moc"
