// What one row puts on the board.
#include "Fakes.h"
#include "model/FareRow.h"
#include "model/K40Error.h"

#include <QtTest>

using namespace FareData;
using FareRow::CellWrite;

Q_DECLARE_METATYPE(std::vector<CellWrite>)
Q_DECLARE_METATYPE(FareRow::Options)

namespace {

// Rows 1..3; v(k) of row r = 10 * r + k, ticket number r + 40, v(30) of row 2 = 7.
RouteTable sampleTable() {
    RouteTable t;
    for (int r = 1; r <= 3; ++r) {
        t.setCell(r, 1, QStringLiteral("停留所%1").arg(r));
        t.setCell(r, 2, r + 40);
        for (int k = 1; k <= 24; ++k) t.setCell(r, k + 2, 10 * r + k);
    }
    t.setCell(2, 32, 7);
    return t;
}

std::vector<CellWrite> faresFrom(int start, int row) {
    std::vector<CellWrite> w;
    for (int i = start; i <= 24; ++i) w.push_back({i, DigitValue(qint64{10 * row + i})});
    return w;
}

QString describe(const std::vector<CellWrite>& writes) {
    QStringList s;
    for (const CellWrite& w : writes) s << QStringLiteral("%1=%2").arg(w.cell).arg(w.value.toText());
    return s.join(u' ');
}

} // namespace

class TestFareRow : public QObject {
    Q_OBJECT
private slots:
    void fares_data();
    void fares();
    void lateNight_data();
    void lateNight();
    void informationDigits_data();
    void informationDigits();
    void dates_data();
    void dates();
    void ticketDrawing();
    void prefixHandling_data();
    void prefixHandling();
    void errors_data();
    void errors();
};

void TestFareRow::fares_data() {
    QTest::addColumn<int>("startSection");
    QTest::addColumn<int>("row");
    QTest::addColumn<std::vector<CellWrite>>("writes");
    QTest::newRow("start 1") << 1 << 2 << faresFrom(1, 2);
    QTest::newRow("start 10") << 10 << 3 << faresFrom(10, 3);
    QTest::newRow("start 24") << 24 << 2 << faresFrom(24, 2);
    QTest::newRow("start 25") << 25 << 2 << std::vector<CellWrite>{};
    QTest::newRow("start 300") << 300 << 1 << std::vector<CellWrite>{};
}

void TestFareRow::fares() {
    QFETCH(int, startSection);
    QFETCH(int, row);
    QFETCH(std::vector<CellWrite>, writes);
    RouteState st;
    st.startSection = static_cast<qint16>(startSection);
    FakeClock clock;
    const auto d = FareRow::compute(row, sampleTable(), st, {}, clock);
    QCOMPARE(describe(d.writes), describe(writes));
}

void TestFareRow::lateNight_data() {
    QTest::addColumn<int>("fare");
    QTest::addColumn<qint64>("shown");
    QTest::newRow("210") << 210 << qint64(420);
    QTest::newRow("-1 stays") << -1 << qint64(-1);
    QTest::newRow("0 stays") << 0 << qint64(0);
    QTest::newRow("-2 doubles") << -2 << qint64(-4);
    QTest::newRow("16384 widened") << 16384 << qint64(32768);
    QTest::newRow("32767 widened") << 32767 << qint64(65534);
    QTest::newRow("-32768 widened") << -32768 << qint64(-65536);
}

void TestFareRow::lateNight() {
    QFETCH(int, fare);
    QFETCH(qint64, shown);
    RouteTable t;
    t.setCell(2, 3, fare);  // v(1)
    t.setCell(2, 26, fare); // v(24)
    RouteState st;
    st.startSection = 1;
    FareRow::Options opt;
    opt.lateNight = true;
    FakeClock clock;
    const auto d = FareRow::compute(2, t, st, opt, clock);
    QCOMPARE(d.writes.size(), size_t(24));
    QCOMPARE(d.writes.front(), (CellWrite{1, DigitValue(shown)}));
    QCOMPARE(d.writes.back(), (CellWrite{24, DigitValue(shown)}));
    opt.lateNight = false;
    QCOMPARE(FareRow::compute(2, t, st, opt, clock).writes.front(),
             (CellWrite{1, DigitValue(qint64{fare})}));
}

void TestFareRow::informationDigits_data() {
    QTest::addColumn<FareRow::Options>("options");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("tail"); // the writes after the fares of start section 20
    FareRow::Options section;
    section.infoSectionOn = true;
    section.infoSectionCell = 23;
    QTest::newRow("section in cell 24") << section << 2 << u"24=2"_qs;
    FareRow::Options fromZero = section;
    fromZero.infoSectionFromZero = true;
    QTest::newRow("section from zero, row 1") << fromZero << 1 << u"24=0"_qs;
    FareRow::Options same = section;
    same.infoTicketOn = true;
    same.infoTicketCell = 23;
    QTest::newRow("ticket wins over section") << same << 2 << u"24=2 24=42"_qs;
    FareRow::Options all;
    all.infoSectionOn = all.infoTicketOn = all.infoRouteOn = all.infoColumnOn = true;
    all.infoSectionCell = 0;
    all.infoTicketCell = 1;
    all.infoRouteCell = 2;
    all.infoColumnCell = 21;
    all.infoColumnNo = 29;
    QTest::newRow("all four in order") << all << 2 << u"1=2 2=42 3=00012 22=7"_qs;
    FareRow::Options none;
    none.infoSectionOn = true;
    none.infoSectionCell = -1;
    QTest::newRow("no cell selected: the spare") << none << 3 << u"0=3"_qs;
}

void TestFareRow::informationDigits() {
    QFETCH(FareRow::Options, options);
    QFETCH(int, row);
    QFETCH(QString, tail);
    RouteState st;
    st.startSection = 20;
    st.routeText = u"00012"_qs;
    FakeClock clock;
    const auto d = FareRow::compute(row, sampleTable(), st, options, clock);
    const auto fares = faresFrom(20, row);
    QCOMPARE(describe({d.writes.begin(), d.writes.begin() + fares.size()}), describe(fares));
    QCOMPARE(describe({d.writes.begin() + fares.size(), d.writes.end()}), tail);
    for (auto it = d.writes.begin() + fares.size(); it != d.writes.end(); ++it)
        QCOMPARE(it->value.isText(), it->cell == 3); // only the route text is a text
}

void TestFareRow::dates_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("date");
    QTest::newRow("each print") << int(FareRow::DateMode::EachPrint) << u"03-05-2024"_qs;
    QTest::newRow("at route set") << int(FareRow::DateMode::AtRouteSet) << u"12-31-2023"_qs;
    QTest::newRow("fixed") << int(FareRow::DateMode::Fixed) << u"2024/03/07"_qs;
}

void TestFareRow::dates() {
    QFETCH(int, mode);
    QFETCH(QString, date);
    RouteState st;
    st.startSection = 1;
    st.ticketDateText = u"12-31-2023"_qs;
    FareRow::Options opt;
    opt.dateMode = FareRow::DateMode(mode);
    opt.fixedDate = u"2024/03/07"_qs;
    FakeClock clock; // 2024-03-05 09:05:07
    const auto d = FareRow::compute(1, sampleTable(), st, opt, clock);
    QCOMPARE(d.dateText, date);
    QCOMPARE(d.timeText, u"09:05:07"_qs);
    clock.current = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    QCOMPARE(FareRow::compute(1, sampleTable(), st, opt, clock).timeText, u"23:59:59"_qs);
    QCOMPARE(FareRow::ticketDate(clock), u"12-31-2024"_qs);
}

void TestFareRow::ticketDrawing() {
    RouteState st;
    st.startSection = 1;
    st.routeText = u"00012"_qs;
    FareRow::Options opt;
    FakeClock clock;
    QVERIFY(!FareRow::compute(2, sampleTable(), st, opt, clock).drawTicket);
    opt.usePreview = true;
    opt.pluginPath = u"/plugins/みなと.4SP"_qs;
    opt.companyIndex = 2;
    const auto d = FareRow::compute(2, sampleTable(), st, opt, clock);
    QVERIFY(d.drawTicket);
    QCOMPARE(d.ticket.pluginPath, opt.pluginPath);
    QCOMPARE(d.ticket.stopName, u"停留所2"_qs);
    QCOMPARE(d.ticket.dateText, u"03-05-2024"_qs);
    QCOMPARE(d.ticket.timeText, u"09:05:07"_qs);
    QCOMPARE(d.ticket.routeNumber, 12);
    QCOMPARE(d.ticket.ticketNumber, qint16(42));
    QCOMPARE(d.ticket.section, qint16(2));
    QCOMPARE(d.ticket.companyIndex, qint16(2));
    st.routeText.clear();
    QCOMPARE(FareRow::compute(2, sampleTable(), st, opt, clock).ticket.routeNumber, 0);
}

void TestFareRow::prefixHandling_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("during");
    QTest::addColumn<bool>("saved");
    QTest::newRow("row 1, prefix asked") << 1 << 1 << 0 << true;
    QTest::newRow("row 1, no selection") << 1 << -1 << 0 << true;
    QTest::newRow("row 2, small") << 2 << 1 << 1 << false;
    QTest::newRow("row 2, same size") << 2 << 2 << 2 << false;
    QTest::newRow("row 3, none") << 3 << 0 << 0 << false;
}

void TestFareRow::prefixHandling() {
    QFETCH(int, row);
    QFETCH(int, option);
    QFETCH(int, during);
    QFETCH(bool, saved);
    RouteState st;
    st.startSection = 1;
    FareRow::Options opt;
    opt.prefixMode = static_cast<qint16>(option);
    FakeClock clock;
    const auto d = FareRow::compute(row, sampleTable(), st, opt, clock);
    QCOMPARE(d.stopName, QStringLiteral("停留所%1").arg(row));
    QCOMPARE(int(d.namePrefixMode), during);
    QCOMPARE(int(d.prefixModeAfter), option);
    QCOMPARE(d.updateSavedPrefixMode, saved);
}

void TestFareRow::errors_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<FareRow::Options>("options");
    QTest::newRow("row 0") << 0 << FareRow::Options{};
    QTest::newRow("row 302") << 302 << FareRow::Options{};
    FareRow::Options cell;
    cell.infoTicketOn = true;
    cell.infoTicketCell = 24;
    QTest::newRow("cell 25") << 1 << cell;
    FareRow::Options column;
    column.infoColumnOn = true;
    column.infoColumnNo = 150;
    QTest::newRow("column 151") << 1 << column;
}

void TestFareRow::errors() {
    QFETCH(int, row);
    QFETCH(FareRow::Options, options);
    RouteState st;
    st.startSection = 1;
    FakeClock clock;
    try {
        FareRow::compute(row, sampleTable(), st, options, clock);
        QFAIL("no error raised");
    } catch (const K40Error& e) {
        QCOMPARE(e.number(), 9);
    }
    QCOMPARE(FareRow::compute(301, sampleTable(), st, {}, clock).writes.size(), size_t(24));
}

QTEST_GUILESS_MAIN(TestFareRow)
#include "tst_farerow.moc"
