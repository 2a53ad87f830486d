#include "model/SettingsRecord.h"

#include "model/Cp932.h"
#include "model/K40Error.h"

#include <QtEndian>
#include <algorithm>
#include <initializer_list>
#include <limits>
#include <vector>

namespace {

// Writes every field as it is stored.
class Writer {
public:
    void text(const char*, int, const QString& t) {
        const QByteArray b = Cp932::encode(t);
        if (b.size() > std::numeric_limits<quint16>::max()) throw K40Error(K40Error::Overflow);
        put(static_cast<quint16>(b.size()));
        out.append(b);
    }
    void color(const char*, int, BgrColor c) { put(static_cast<qint32>(c)); }
    void check(const char*, int, Check c) { put(static_cast<qint16>(c)); }
    void tick(const char*, int, bool on) { put(qint16(on ? 1 : 0)); }
    void onOff(const char*, int, bool on) { put(qint16(on ? 1 : 0)); }
    void nonZero(const char*, int, bool on) { put(qint16(on ? 1 : 0)); }
    void position(const char*, int, const ListPosition& p, int) { put(positionOrNone(p)); }
    void number(const char*, int, qint32 n, qint32, qint32) { put(n); }
    void coordinate(const char*, int, qint32 n) { put(n); }
    template <typename E>
    void group(std::initializer_list<const char*> names, int, const std::optional<E>& chosen) {
        for (int i = 0; i < int(names.size()); ++i)
            put(qint16(chosen && int(*chosen) == i ? -1 : 0));
    }
    void cellCount(int) { put(qint16(24)); }
    void cell(int, int, const DigitCellOptions& c) {
        put(c.shift);
        put(c.zeroMode);
        put(c.fillZero);
    }
    QByteArray out;

private:
    template <typename T> void put(T v) {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        out.append(b, sizeof(T));
    }
};

// Reads every field; a value no control would take is left out and told, and
// the fields before the first such one are counted.
class Reader {
public:
    Reader(const QByteArray& b, SettingsCodec::Decoded& d) : in_(b), d_(d) {}

    void text(const char*, int, QString& t) {
        const quint16 len = get<quint16>();
        need(len);
        t = Cp932::decode(in_.mid(pos_, len));
        pos_ += len;
        taken();
    }
    void color(const char*, int, BgrColor& c) {
        c = static_cast<BgrColor>(get<qint32>());
        taken();
    }
    void check(const char* name, int, Check& c) {
        const qint16 v = get<qint16>();
        if (within(name, v, 0, 2)) c = Check(v);
    }
    void tick(const char* name, int, bool& on) {
        const qint16 v = get<qint16>();
        if (within(name, v, 0, 2)) on = v == 1;
    }
    void onOff(const char* name, int, bool& on) {
        const qint16 v = get<qint16>();
        if (within(name, v, 0, 1)) on = v == 1;
    }
    void nonZero(const char*, int, bool& on) {
        on = get<qint16>() != 0;
        taken();
    }
    void position(const char* name, int, ListPosition& p, int count) {
        const qint16 v = get<qint16>();
        if (within(name, v, -1, count - 1)) p = v < 0 ? std::nullopt : ListPosition(v);
    }
    void number(const char* name, int, qint32& n, qint32 low, qint32 high) {
        const qint32 v = get<qint32>();
        if (within(name, v, low, high)) n = v;
    }
    void coordinate(const char*, int, qint32& n) {
        n = get<qint32>();
        taken();
    }
    template <typename E>
    void group(std::initializer_list<const char*> names, int, std::optional<E>& chosen) {
        // The last button whose flag is not 0 is the chosen one; all 0, none.
        chosen.reset();
        for (int i = 0; i < int(names.size()); ++i)
            if (get<qint16>() != 0) chosen = E(i);
        taken();
    }
    void cellCount(int) {
        get<qint16>(); // 24 entries follow, whatever it says
        taken();
    }
    void cell(int, int, DigitCellOptions& c) {
        c.shift = get<qint16>();
        c.zeroMode = get<qint16>();
        c.fillZero = get<qint16>();
        taken();
    }

private:
    void taken() {
        if (!d_.problem) ++d_.fieldsTaken;
    }
    bool within(const char* name, qint32 v, qint32 low, qint32 high) {
        if (v >= low && v <= high) {
            taken();
            return true;
        }
        if (!d_.problem) d_.problem = SettingsProblem{QString::fromLatin1(name), v};
        return false;
    }
    void need(qsizetype n) {
        if (in_.size() - pos_ < n) throw K40Error(K40Error::InputPastEnd);
    }
    template <typename T> T get() {
        need(sizeof(T));
        const T v = qFromLittleEndian<T>(in_.constData() + pos_);
        pos_ += sizeof(T);
        return v;
    }
    const QByteArray& in_;
    SettingsCodec::Decoded& d_;
    qsizetype pos_ = 0;
};

// Counts the fields, and finds one by its stored name.
class Names {
public:
    explicit Names(const QString& wanted = {}) : wanted_(wanted) {}
    template <typename... A> void text(const char* n, A&&...) { visit(n); }
    template <typename... A> void color(const char* n, A&&...) { visit(n); }
    template <typename... A> void check(const char* n, A&&...) { visit(n); }
    template <typename... A> void tick(const char* n, A&&...) { visit(n); }
    template <typename... A> void onOff(const char* n, A&&...) { visit(n); }
    template <typename... A> void nonZero(const char* n, A&&...) { visit(n); }
    template <typename... A> void position(const char* n, A&&...) { visit(n); }
    template <typename... A> void number(const char* n, A&&...) { visit(n); }
    template <typename... A> void coordinate(const char* n, A&&...) { visit(n); }
    template <typename... A> void group(std::initializer_list<const char*> names, A&&...) {
        for (const char* n : names)
            if (found_ < 0 && wanted_ == QLatin1StringView(n)) found_ = count_;
        ++count_;
    }
    void cellCount(int) { visit("Block10"); }
    template <typename... A> void cell(A&&...) { visit("DigitCell"); }
    int count_ = 0;
    int found_ = -1;

private:
    void visit(const char* n) {
        if (found_ < 0 && wanted_ == QLatin1StringView(n)) found_ = count_;
        ++count_;
    }
    QString wanted_;
};

// Collects the address of every field of a record, in order.
struct Addresses {
    std::vector<const void*> at;
    template <typename T> void add(const T& field) { at.push_back(&field); }
    template <typename N, typename T> void text(N, int, const T& f) { add(f); }
    template <typename N, typename T> void color(N, int, const T& f) { add(f); }
    template <typename N, typename T> void check(N, int, const T& f) { add(f); }
    template <typename N, typename T> void tick(N, int, const T& f) { add(f); }
    template <typename N, typename T> void onOff(N, int, const T& f) { add(f); }
    template <typename N, typename T> void nonZero(N, int, const T& f) { add(f); }
    template <typename N, typename T> void position(N, int, const T& f, int) { add(f); }
    template <typename N, typename T> void number(N, int, const T& f, qint32, qint32) { add(f); }
    template <typename N, typename T> void coordinate(N, int, const T& f) { add(f); }
    template <typename T> void group(std::initializer_list<const char*>, int, const T& f) { add(f); }
    void cellCount(int) { at.push_back(nullptr); }
    template <typename T> void cell(int, int, const T& f) { add(f); }
};

// Assigns the fields of a record from the addresses of another's.
struct Copier {
    const std::vector<const void*>& from;
    int count;
    std::initializer_list<int> blocks;
    int index = 0;
    template <typename T> void take(int block, T& field) {
        const int i = index++;
        if (i >= count) return;
        if (blocks.size() > 0 && std::find(blocks.begin(), blocks.end(), block) == blocks.end())
            return;
        field = *static_cast<const T*>(from[size_t(i)]);
    }
    template <typename N, typename T> void text(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void color(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void check(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void tick(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void onOff(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void nonZero(N, int b, T& f) { take(b, f); }
    template <typename N, typename T> void position(N, int b, T& f, int) { take(b, f); }
    template <typename N, typename T> void number(N, int b, T& f, qint32, qint32) { take(b, f); }
    template <typename N, typename T> void coordinate(N, int b, T& f) { take(b, f); }
    template <typename T> void group(std::initializer_list<const char*>, int b, T& f) { take(b, f); }
    void cellCount(int) { ++index; }
    template <typename T> void cell(int, int b, T& f) { take(b, f); }
};

} // namespace

namespace SettingsCodec {

QByteArray encode(const SettingsRecord& record) {
    Writer w;
    forEachField(w, record);
    return w.out;
}

Decoded decode(const QByteArray& bytes) {
    Decoded d;
    Reader r(bytes, d);
    forEachField(r, d.record);
    return d;
}

int fieldCount() {
    Names n;
    const SettingsRecord r;
    forEachField(n, r);
    return n.count_;
}

int fieldIndex(const QString& name) {
    Names n(name);
    const SettingsRecord r;
    forEachField(n, r);
    return n.found_;
}

void copyFields(const SettingsRecord& from, SettingsRecord& to, int count,
                std::initializer_list<int> blocks) {
    Addresses a;
    forEachField(a, from);
    Copier c{a.at, count, blocks};
    forEachField(c, to);
}

} // namespace SettingsCodec
