// The ticket plug-in reader: the shipped samples, what is no plug-in, the
// placeholders of the ticket's texts, and the NW-7 encoder.
#include "TestFiles.h"
#include "model/Codabar.h"
#include "model/TicketPlugin.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TicketPluginInfo)

namespace {

QString sample(const char* name) {
    return QStringLiteral(K40_SOURCE_DIR "/data/plugins/") + QString::fromLatin1(name);
}

// The smallest plug-in, with change applied to its JSON.
QByteArray minimal(const std::function<void(QJsonObject&)>& change = {}) {
    QJsonObject o{{u"format"_qs, u"K40 ticket plug-in"_qs},
                  {u"version"_qs, 1},
                  {u"name"_qs, u"小"_qs},
                  {u"size"_qs, QJsonObject{{u"width"_qs, 1500}, {u"height"_qs, 750}}},
                  {u"elements"_qs, QJsonArray{QJsonObject{{u"type"_qs, u"paper"_qs}}}}};
    if (change) change(o);
    return QJsonDocument(o).toJson();
}

// The smallest plug-in whose one element is given; a text or barcode element
// of the given contents when type is "text" or "barcode".
QByteArray withElement(QJsonObject element) {
    return minimal([&](QJsonObject& o) { o[u"elements"_qs] = QJsonArray{element}; });
}
QByteArray withContents(const QString& type, const QString& contents) {
    return withElement({{u"type"_qs, type}, {u"x"_qs, 0}, {u"y"_qs, 0}, {u"width"_qs, 90},
                        {u"height"_qs, 9}, {type == u"text" ? u"text"_qs : u"data"_qs, contents}});
}

} // namespace

class TestTicketPlugin : public QObject {
    Q_OBJECT
private slots:
    void samples_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<TicketPluginInfo>("info");
        QTest::addColumn<QStringList>("companies");
        QTest::newRow("standard") << sample("standard.4SP")
                                  << TicketPluginInfo{1, 3300, 1395, 1, 1, 1, 1,
                                                      0, 0,    0,    0, 0, 0, 2}
                                  << QStringList{u"みなと交通"_qs, u"山の手バス"_qs};
        QTest::newRow("barcodes") << sample("barcode.4SP")
                                  << TicketPluginInfo{1, 3300, 1395, 1, 0, 1,  1,
                                                      1, 2,    999,  1, 1, 99, 0}
                                  << QStringList{};
        QTest::newRow("number") << sample("number.4SP")
                                << TicketPluginInfo{1, 3300, 1395, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
                                << QStringList{};
    }

    void samples() {
        QFETCH(QString, path);
        QString error;
        const auto plugin = TicketPlugin::load(path, &error);
        QVERIFY2(plugin, qPrintable(error));
        QTEST(plugin->info, "info");
        QTEST(plugin->companies, "companies");
        QVERIFY(!plugin->name.isEmpty() && !plugin->remarks.isEmpty());
    }

    // What a text element's weight and colour come to.
    void textLooks_data() {
        QTest::addColumn<QJsonObject>("look");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<quint32>("color");
        QTest::newRow("defaults") << QJsonObject{} << false << 0xFF000000u;
        QTest::newRow("bold") << QJsonObject{{u"weight"_qs, u"bold"_qs}} << true << 0xFF000000u;
        QTest::newRow("#rrggbb") << QJsonObject{{u"color"_qs, u"#1a2b3c"_qs}} << false << 0xFF1A2B3Cu;
        QTest::newRow("#rgb") << QJsonObject{{u"color"_qs, u"#1a2"_qs}} << false << 0xFF11AA22u;
    }
    void textLooks() {
        QFETCH(QJsonObject, look);
        QJsonObject element = QJsonDocument::fromJson(withContents(u"text"_qs, u"a"_qs))
                                  .object()[u"elements"_qs].toArray()[0].toObject();
        for (auto it = look.begin(); it != look.end(); ++it) element[it.key()] = it.value();
        QString error;
        const auto plugin = TicketPlugin::parse(withElement(element), &error);
        QVERIFY2(plugin, qPrintable(error));
        QTEST(plugin->elements.front().bold, "bold");
        QTEST(plugin->elements.front().color, "color");
    }

    void notPlugins_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("reason"); // a part of the reason given
        using O = QJsonObject;
        QTest::newRow("the smallest is one") << minimal() << QString();
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << u"not JSON"_qs;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << u"not JSON"_qs;
        QTest::newRow("a list") << QByteArray("[1, 2]") << u"not a JSON object"_qs;
        QTest::newRow("another format")
            << minimal([](O& o) { o[u"format"_qs] = u"KT4"_qs; }) << u"format"_qs;
        QTest::newRow("another version")
            << minimal([](O& o) { o[u"version"_qs] = 2; }) << u"version"_qs;
        QTest::newRow("no size") << minimal([](O& o) { o.remove(u"size"_qs); }) << u"width"_qs;
        QTest::newRow("no elements")
            << minimal([](O& o) { o.remove(u"elements"_qs); }) << u"elements"_qs;
        QTest::newRow("1001 elements") << minimal([](O& o) {
            QJsonArray many;
            for (int i = 0; i < 1001; ++i)
                many.append(O{{u"type"_qs, u"paper"_qs}});
            o[u"elements"_qs] = many;
        }) << u"1000"_qs;
        QTest::newRow("unknown element")
            << withElement({{u"type"_qs, u"script"_qs}}) << u"unknown type"_qs;
        QTest::newRow("unknown placeholder") << withContents(u"text"_qs, u"{fare}"_qs)
                                             << u"placeholder"_qs;
        QTest::newRow("stray brace") << withContents(u"text"_qs, u"a}b"_qs) << u"placeholder"_qs;
        QTest::newRow("bad colour")
            << withElement({{u"type"_qs, u"paper"_qs}, {u"color"_qs, u"red"_qs}}) << u"colour"_qs;
        QTest::newRow("barcode of a stop name") << withContents(u"barcode"_qs, u"A{stop}A"_qs)
                                                << u"numbers"_qs;
        QTest::newRow("barcode padded with blanks")
            << withContents(u"barcode"_qs, u"A{row:3}A"_qs) << u"numbers"_qs;
        QTest::newRow("width with a blank") << withContents(u"text"_qs, u"{day:5 }"_qs)
                                            << u"placeholder"_qs;
        QTest::newRow("barcode without start") << withContents(u"barcode"_qs, u"{row}A"_qs)
                                               << u"start"_qs;
        QTest::newRow("barcode letter") << withContents(u"barcode"_qs, u"A1X2A"_qs) << u"NW-7"_qs;
        QTest::newRow("stop range") << minimal([](O& o) {
            o[u"barcode"_qs] =
                O{{u"count"_qs, 1}, {u"maxRoute"_qs, 9}, {u"stops"_qs, QJsonArray{5, 2}}};
        }) << u"stops"_qs;
        const auto routes = [](int n) { return u"A"_qs + u"{route}"_qs.repeated(n) + u"A"_qs; };
        QTest::newRow("barcode of 255 characters at most")
            << withContents(u"barcode"_qs, routes(23)) << QString();
        QTest::newRow("barcode of up to 266 characters")
            << withContents(u"barcode"_qs, routes(24)) << u"256"_qs;
        QTest::newRow("over 1 MiB")
            << minimal([](O& o) { o[u"remarks"_qs] = QString(TicketPlugin::MaxBytes, u'x'); })
            << u"1 MiB"_qs;
    }

    void notPlugins() {
        QFETCH(QByteArray, document);
        QFETCH(QString, reason);
        QString error;
        const auto plugin = TicketPlugin::parse(document, &error);
        QCOMPARE(!plugin, !reason.isEmpty());
        QVERIFY2(error.contains(reason), qPrintable(error));
        // The same from a file.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.4SP"_qs);
        QVERIFY(writeFile(path, document));
        QCOMPARE(!TicketPlugin::load(path), !reason.isEmpty());
    }

    void placeholders_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("text");
        const QString today = u"03-07-2024"_qs;
        QTest::newRow("stop, route, ticket, row")
            << u"{stop} {route}系統 {ticket}番 {row}"_qs << today << u"市役所前 12系統 7番 3"_qs;
        QTest::newRow("zeros and blanks")
            << u"[{ticket:03}][{row:4}][{route:1}]"_qs << today << u"[007][   3][12]"_qs;
        QTest::newRow("braces") << u"{{ticket}} }}{{"_qs << today << u"{ticket} }{"_qs;
        QTest::newRow("system date") << u"{date}: {year}年{month}月{day:02}日"_qs << today
                                     << u"03-07-2024: 2024年3月07日"_qs;
        QTest::newRow("fixed date")
            << u"{year}.{month:02}.{day:02}"_qs << u"2024/03/07"_qs << u"2024.03.07"_qs;
        QTest::newRow("date of no known form")
            << u"[{year}][{date}]"_qs << u"7.3.24"_qs << u"[][7.3.24]"_qs;
        QTest::newRow("time") << u"{time} {hour}時{minute:02}分"_qs << today
                              << u"09:05:07 9時05分"_qs;
        QTest::newRow("company") << u"<{company}>"_qs << today << u"<山の手バス>"_qs;
    }

    void placeholders() {
        QFETCH(QString, templateText);
        QFETCH(QString, date);
        TicketPlugin plugin;
        plugin.companies = QStringList{u"みなと交通"_qs, u"山の手バス"_qs};
        FareRow::TicketDrawing t;
        t.stopName = u"市役所前"_qs;
        t.dateText = date;
        t.timeText = u"09:05:07"_qs;
        t.routeNumber = 12;
        t.ticketNumber = 7;
        t.section = 3;
        t.companyIndex = 1;
        QVERIFY(TicketPlugin::isValidTemplate(templateText));
        QTEST(plugin.fill(templateText, t), "text");
        t.companyIndex = -1; // none chosen
        QCOMPARE(plugin.fill(u"<{company}>"_qs, t), u"<>"_qs);
    }

    void notPluginFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << u"FIFO"_qs;
        QTest::newRow("link to /dev/zero") << u"device"_qs;
        QTest::newRow("folder") << u"folder"_qs;
    }

    void notPluginFiles() {
        // Refused at once: reading waits for no writer and takes nothing in.
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"p.4SP"_qs);
        QVERIFY(kind == u"FIFO"     ? makeFifo(path)
                : kind == u"device" ? makeEndlessFile(path)
                                    : QDir().mkpath(path));
        QString error;
        QVERIFY(!TicketPlugin::load(path, &error));
        QVERIFY2(error.contains(kind), qPrintable(error));
    }

    void longTexts_data() {
        QTest::addColumn<QString>("templateText");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("text");
        const int most = TicketPlugin::MaxText;
        const QString name = QString(32768, u'駅');
        QTest::newRow("a name of 32768 characters") << u"{stop}"_qs << name << name.left(most);
        const QString many = u"[市役所前]"_qs.repeated(1000);
        QTest::newRow("a name a thousand times")
            << u"[{stop}]"_qs.repeated(1000) << u"市役所前"_qs << many.left(most);
        const QString pairs = u"a"_qs + u"𠮷"_qs.repeated(200); // a pair across the cut
        QTest::newRow("no pair parted") << u"{stop}"_qs << pairs << pairs.left(most - 1);
        QTest::newRow("a long literal, then the name")
            << QString(most, u'x') + u"{stop}"_qs << u"港"_qs << QString(most, u'x');
        QTest::newRow("padded at the end") << QString(most - 3, u'x') + u"{ticket:05}"_qs
                                           << u"港"_qs << QString(most - 3, u'x') + u"000"_qs;
    }

    void longTexts() {
        QFETCH(QString, templateText);
        FareRow::TicketDrawing t;
        QFETCH(QString, stop);
        t.stopName = stop;
        t.ticketNumber = 7;
        QVERIFY(TicketPlugin::isValidTemplate(templateText));
        QTEST(TicketPlugin().fill(templateText, t), "text");
    }

    void codabar_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("elements"); // 0: cannot be encoded
        QTest::newRow("digits") << u"A0123456789B"_qs << 12 * 8 - 1;
        QTest::newRow("signs, lower-case ends") << u"c-$:/.+d"_qs << 8 * 8 - 1;
        QTest::newRow("no stop character") << u"A123"_qs << 0;
        QTest::newRow("start inside") << u"A1A2A"_qs << 0;
        QTest::newRow("a letter") << u"A1E2A"_qs << 0;
        QTest::newRow("too short") << u"A"_qs << 0;
    }

    void codabar() {
        QFETCH(QString, data);
        QFETCH(int, elements);
        const auto encoded = Codabar::encode(data);
        QCOMPARE(encoded ? int(encoded->size()) : 0, elements);
        if (!encoded) return;
        // Every character: four bars and three spaces; two or three of them wide.
        for (size_t c = 0; c < encoded->size(); c += 8) {
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
