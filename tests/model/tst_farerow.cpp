// What one row of the route table puts on the board and the ticket.
#include "Fakes.h"
#include "model/FareRow.h"
#include "model/K40Error.h"
#include <QtTest>

using namespace FareData;
using FareRow::CellWrite;
using Options = FareRow::Options;
Q_DECLARE_METATYPE(FareRow::Options)
// Options left out of a designated initializer keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Options that show the information digits in cells at these list positions
// (cell = position + 1, -1: the spare); -2 leaves one out. The data column is v(30).
Options info(int section, int ticket = -2, int route = -2, int column = -2) {
    return {.infoSectionOn = section != -2,
            .infoSectionCell = section,
            .infoTicketOn = ticket != -2,
            .infoTicketCell = ticket,
            .infoRouteOn = route != -2,
            .infoRouteCell = route,
            .infoColumnOn = column != -2,
            .infoColumnCell = column,
            .infoColumnNo = 29};
}

class TestFareRow : public QObject {
    Q_OBJECT
    auto show(int r, const Options& o = {}) {
        return FareRow::compute(r, table_, state_, o, clock_);
    }
    RouteTable table_;
    RouteState state_;
    FakeClock clock_;
private slots:
    // Rows 1..3 of route "00012" from section 1: stops 停留所1..3, ticket number r + 40,
    // v(k) = 10 r + k; v(30) of row 2 is 7. The clock: 2024-03-05 09:05:07.
    void init() {
        table_.clear();
        for (int r = 1; r <= 3; ++r) {
            table_.setCell(r, 1, QStringLiteral("停留所%1").arg(r)); table_.setCell(r, 2, r + 40);
            for (int k = 1; k <= 24; ++k) table_.setCell(r, k + 2, 10 * r + k);
        }
        table_.setCell(2, 32, 7);
        state_ = {.routeText = u"00012"_qs, .startSection = 1, .ticketDateText = u"12-31-2023"_qs};
        clock_.current = QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7));
    }
    void writes_data() {
        QTest::addColumn<int>("row"); QTest::addColumn<int>("start");
        QTest::addColumn<Options>("options"); QTest::addColumn<QString>("tail"); // after the fares
        Options fromZero = info(23); fromZero.infoSectionFromZero = true;
        QTest::newRow("start 1") << 2 << 1 << Options{} << QString();
        QTest::newRow("start 24") << 3 << 24 << Options{} << QString();
        QTest::newRow("start 25") << 2 << 25 << Options{} << QString();
        QTest::newRow("section in cell 24") << 2 << 20 << info(23) << u"24=2"_qs;
        QTest::newRow("section from zero, row 1") << 1 << 20 << fromZero << u"24=0"_qs;
        QTest::newRow("ticket over section") << 2 << 20 << info(23, 23) << u"24=2 24=42"_qs;
        QTest::newRow("all four in order")
            << 2 << 20 << info(0, 1, 2, 21) << u"1=2 2=42 3=00012 22=7"_qs;
        QTest::newRow("no cell selected: the spare") << 3 << 20 << info(-1) << u"0=3"_qs;
    }
    void writes() {
        QFETCH(int, row); QFETCH(int, start); QFETCH(Options, options); QFETCH(QString, tail);
        state_.startSection = static_cast<qint16>(start); QStringList expected, got;
        for (int i = start; i <= 24; ++i)
            expected << QStringLiteral("%1=%2").arg(i).arg(10 * row + i);
        if (!tail.isEmpty()) expected << tail;
        for (const CellWrite& w : show(row, options).writes) {
            got << QStringLiteral("%1=%2").arg(w.cell).arg(w.value.toText());
            QCOMPARE(w.value.isText(), options.infoRouteOn && w.cell == 3); // only the route text
        }
        QCOMPARE(got.join(u' '), expected.join(u' '));
    }
    void lateNight_data() {
        QTest::addColumn<int>("fare"); QTest::addColumn<qint64>("shown");
        QTest::newRow("210") << 210 << qint64(420);
        QTest::newRow("-1 stays") << -1 << qint64(-1);
        QTest::newRow("-2 doubles") << -2 << qint64(-4);
        QTest::newRow("32767, beyond 16 bits") << 32767 << qint64(65534);
    }
    void lateNight() {
        QFETCH(int, fare); QFETCH(qint64, shown);
        table_.setCell(2, 3, fare);  // v(1)
        table_.setCell(2, 26, fare); // v(24)
        const auto d = show(2, {.lateNight = true});
        QCOMPARE(d.writes.front(), (CellWrite{1, DigitValue(shown)}));
        QCOMPARE(d.writes.back(), (CellWrite{24, DigitValue(shown)}));
        QCOMPARE(show(2).writes.front(), (CellWrite{1, DigitValue(qint64{fare})}));
    }
    void ticketDrawing() {
        clock_.current = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
        Options options{.pluginPath = u"/plugins/みなと.4SP"_qs, .companyIndex = 2};
        QVERIFY(!show(2, options).drawTicket);
        options.usePreview = true; const auto d = show(2, options);
        const FareRow::TicketDrawing& t = d.ticket; QVERIFY(d.drawTicket);
        QCOMPARE(QStringList({t.pluginPath, t.stopName, t.dateText, t.timeText}).join(u'|') +
                     QStringLiteral("|%1|%2|%3|%4").arg(t.routeNumber).arg(t.ticketNumber)
                         .arg(t.section).arg(t.companyIndex),
                 u"/plugins/みなと.4SP|停留所2|12-31-2024|23:59:59|12|42|2|2"_qs);
        state_.routeText.clear(); QCOMPARE(show(2, options).ticket.routeNumber, 0);
    }
    // A row's stop name, or its error: "name during>after" (the prefix modes while the
    // name shows and after), " saved": the saved prefix mode updated (row 1, no prefix).
    void outcome_data() {
        QTest::addColumn<int>("row"); QTest::addColumn<Options>("options");
        QTest::addColumn<QString>("outcome");
        const auto column = [](int no) { return Options{.infoColumnOn = true, .infoColumnNo = no}; };
        QTest::newRow("row 1: without the prefix") << 1 << Options{.prefixMode = 1} << "停留所1 0>1 saved";
        QTest::newRow("row 2") << 2 << Options{.prefixMode = 2} << "停留所2 2>2";
        QTest::newRow("row 3, none") << 3 << Options{} << "停留所3 -1>-1";
        QTest::newRow("row 0") << 0 << Options{} << "error 9";
        QTest::newRow("row 301") << 301 << Options{} << " -1>-1";
        QTest::newRow("row 302") << 302 << Options{} << "error 9";
        QTest::newRow("cell 25") << 1 << info(-2, 24) << "error 9";
        QTest::newRow("column 0") << 1 << column(-1) << "error 9";
        QTest::newRow("column 150") << 1 << column(149) << "停留所1 0>-1 saved";
        QTest::newRow("column 151") << 1 << column(150) << "error 9";
    }
    void outcome() {
        QFETCH(int, row); QFETCH(Options, options);
        QString outcome;
        try {
            const auto d = show(row, options);
            outcome = QStringLiteral("%1 %2>%3").arg(d.stopName).arg(d.namePrefixMode)
                          .arg(d.prefixModeAfter) + (d.updateSavedPrefixMode ? u" saved"_qs : QString());
        } catch (const K40Error& e) {
            outcome = QStringLiteral("error %1").arg(e.number());
        }
        QTEST(outcome, "outcome");
    }
};
QTEST_GUILESS_MAIN(TestFareRow)
#include "tst_farerow.moc"
