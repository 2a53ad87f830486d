#include "model/SettingsRecord.h"

#include "model/Cp932.h"
#include "model/K40Error.h"

#include <QtEndian>
#include <limits>

namespace {

class Writer {
public:
    void i16(const qint16& v) { put(v); }
    void i32(const qint32& v) { put(v); }
    void text(const QString& t) {
        const QByteArray b = Cp932::encode(t);
        if (b.size() > std::numeric_limits<quint16>::max()) throw K40Error(K40Error::Overflow);
        put(static_cast<quint16>(b.size()));
        out.append(b);
    }
    QByteArray out;

private:
    template <typename T> void put(T v) {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        out.append(b, sizeof(T));
    }
};

class Reader {
public:
    explicit Reader(const QByteArray& b) : in(b) {}
    void i16(qint16& v) { v = get<qint16>(); }
    void i32(qint32& v) { v = get<qint32>(); }
    void text(QString& t) {
        const quint16 len = get<quint16>();
        need(len);
        t = Cp932::decode(in.mid(pos, len));
        pos += len;
    }

private:
    void need(qsizetype n) {
        if (in.size() - pos < n) throw K40Error(K40Error::InputPastEnd);
    }
    template <typename T> T get() {
        need(sizeof(T));
        const T v = qFromLittleEndian<T>(in.constData() + pos);
        pos += sizeof(T);
        return v;
    }
    const QByteArray& in;
    qsizetype pos = 0;
};

// Every field of the record in file order, for both directions. R is
// SettingsRecord or const SettingsRecord.
template <typename IO, typename R> void transfer(IO& io, R& r) {
    // Block 1
    io.text(r.FareDataDir);
    io.text(r.TapeDataDir);
    // Block 2
    io.i16(r.UseSeiriNum);
    io.i32(r.SeiriNumColorOff);
    io.i32(r.SeiriNumColorOn1);
    io.i32(r.SeiriNumColorOn2);
    io.i16(r.SeiriNumStyle);
    io.i16(r.SeiriNumZeroPad);
    io.i16(r.PanelAuto);
    io.i16(r.PanelManual);
    io.i16(r.PanelOffBuiltIn);
    io.i16(r.PanelOffUser);
    io.i16(r.PanelOn1BuiltIn);
    io.i16(r.PanelOn1User);
    io.i16(r.PanelOn2BuiltIn);
    io.i16(r.PanelOn2User);
    io.text(r.PanelOffFile);
    io.text(r.PanelOn1File);
    io.text(r.PanelOn2File);
    // Block 3
    io.i32(r.DigitBackColor);
    io.i32(r.DigitBaseForeColor);
    io.i32(r.DigitForeColor);
    io.i16(r.InfoSectionOn);
    io.i16(r.InfoSectionCell);
    io.i16(r.InfoSectionFromZero);
    io.i16(r.InfoSeiriOn);
    io.i16(r.InfoSeiriCell);
    io.i16(r.InfoRouteOn);
    io.i16(r.InfoRouteCell);
    io.i16(r.InfoColumnOn);
    io.i16(r.InfoColumnNo);
    io.i16(r.InfoColumnCell);
    // Block 4
    io.i32(r.ChimeiBackColor);
    io.i32(r.ChimeiForeColor);
    io.i16(r.ChimeiFontMode);
    io.i16(r.ChimeiFontBold);
    io.i16(r.ChimeiTsugiwaMode);
    io.i32(r.ChimeiTsugiwaColor);
    io.i16(r.ChimeiTsugiwaFontMode);
    io.i16(r.ChimeiTsugiwaBold);
    // Block 5
    io.text(r.RouteSetSound);
    io.text(r.ResetSound);
    io.i16(r.StepSoundAlways);
    io.i16(r.StepSoundByColumn);
    io.i16(r.StepSoundSync);
    io.i16(r.StepSoundAsync);
    io.text(r.StepSoundFile);
    io.i16(r.StepSoundColumn);
    io.text(r.StepSound1);
    io.text(r.StepSound2);
    io.text(r.StepSound3);
    io.i16(r.TapeSoundAlways);
    io.i16(r.TapeSoundByFlag);
    io.i16(r.TapeSoundSync);
    io.i16(r.TapeSoundAsync);
    io.text(r.TapeSoundFile);
    io.text(r.TapeSound1);
    io.text(r.TapeSound2);
    io.text(r.TapeSound3);
    // Block 6
    io.i16(r.UseSeiriPrev);
    io.text(r.SeiriPlgFile);
    io.i16(r.DateEachPrint);
    io.i16(r.DateAtRouteSet);
    io.i16(r.DateFixed);
    io.text(r.FixedDate);
    // Block 7
    io.i16(r.CtrlPage);
    io.i32(r.ScrollSpeed);
    io.i32(r.ScrollWait);
    io.i16(r.LateNight);
    io.i16(r.PreviewOpen);
    io.i32(r.CtrlLeft);
    io.i32(r.CtrlTop);
    // Block 8
    io.i32(r.PanelLeft);
    io.i32(r.PanelTop);
    // Block 9
    for (auto& c : r.CustomColors) io.i32(c);
}

template <typename IO, typename R> void transferCells(IO& io, R& r) {
    for (auto& cell : r.DigitCellSettings) {
        io.i16(cell.Shift);
        io.i16(cell.ZeroMode);
        io.i16(cell.FillZero);
    }
}

} // namespace

namespace SettingsCodec {

QByteArray encode(const SettingsRecord& record) {
    Writer w;
    transfer(w, record);
    w.i16(24); // block 10: the number of cell entries
    transferCells(w, record);
    return w.out;
}

void decode(const QByteArray& bytes, SettingsRecord& record) {
    Reader r(bytes);
    transfer(r, record);
    qint16 count = 0; // block 10: 24 entries are read whatever it says
    r.i16(count);
    transferCells(r, record);
}

} // namespace SettingsCodec
