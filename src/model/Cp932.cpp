#include "model/Cp932.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much of [in, in + inLeft) as possible, appending to out.
    // Returns 0 when everything was converted, else the errno of the stop
    // (EILSEQ or EINVAL) with in/inLeft pointing at the offending input.
    int run(char*& in, size_t& inLeft, QByteArray& out) {
        char buf[256];
        while (inLeft > 0) {
            char* o = buf;
            size_t oLeft = sizeof buf;
            const size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(buf, static_cast<qsizetype>(o - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return errno;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

Converter& toCp932() {
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

Converter& fromCp932() {
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

QByteArray utf16le(const QString& text) {
    QByteArray b;
    b.reserve(text.size() * 2);
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        b.append(static_cast<char>(u & 0xFF));
        b.append(static_cast<char>(u >> 8));
    }
    return b;
}


// Characters are converted one at a time and remembered, so that iconv is
// asked about each character only once: texts are converted at every step of
// the bus (the stop name's layout), and a conversion of a short text through
// iconv costs more than the rest of that work together.
class Tables {
public:
    static constexpr quint16 NoForm = 0xFFFF;
    static constexpr char16_t Invalid = 0xFFFF; // not a character CP932 decodes to

    // The CP932 form of a UTF-16 unit from U+0080 on that is no surrogate:
    // one byte (below 0x100), two bytes (lead << 8 | trail), or NoForm.
    quint16 formOf(char16_t u) {
        quint16& known = encoded_[u];
        if (known == 0) {
            QByteArray out;
            QByteArray in = utf16le(QString(QChar(u)));
            char* p = in.data();
            size_t left = static_cast<size_t>(in.size());
            Converter& c = toCp932Converter();
            c.reset();
            if (!c.ok() || c.run(p, left, out) != 0 || out.isEmpty() || out.size() > 2)
                known = NoForm;
            else
                known = out.size() == 1 ? quint16(quint8(out[0]))
                                        : quint16(quint8(out[0]) << 8 | quint8(out[1]));
        }
        return known;
    }

    enum class Kind : quint8 { NotAsked, Single, Lead, Invalid };

    // What a byte from 0x80 on is: a character of its own, the lead byte of
    // a pair, or no character.
    Kind kindOf(quint8 b) {
        Kind& known = kinds_[b];
        if (known == Kind::NotAsked) {
            QByteArray in(1, char(b)), out;
            char* p = in.data();
            size_t left = 1;
            Converter& c = fromCp932Converter();
            c.reset();
            const int error = c.ok() ? c.run(p, left, out) : EILSEQ;
            if (error == 0 && out.size() == 2) {
                known = Kind::Single;
                singles_[b] = char16_t(quint8(out[0]) | quint8(out[1]) << 8);
            } else {
                known = error == EINVAL ? Kind::Lead : Kind::Invalid;
            }
        }
        return known;
    }
    char16_t single(quint8 b) const { return singles_[b]; }

    // The character of a lead byte and the byte after it, or Invalid.
    char16_t pair(quint8 lead, quint8 trail) {
        char16_t& known = pairs_[lead << 8 | trail];
        if (known == 0) {
            QByteArray in, out;
            in.append(char(lead)).append(char(trail));
            char* p = in.data();
            size_t left = 2;
            Converter& c = fromCp932Converter();
            c.reset();
            const bool ok = c.ok() && c.run(p, left, out) == 0 && out.size() == 2;
            known = ok ? char16_t(quint8(out[0]) | quint8(out[1]) << 8) : Invalid;
        }
        return known;
    }

private:
    static Converter& toCp932Converter() { return ::toCp932(); }
    static Converter& fromCp932Converter() { return ::fromCp932(); }

    std::array<quint16, 65536> encoded_{};
    std::array<char16_t, 65536> pairs_{};
    std::array<Kind, 256> kinds_{};
    std::array<char16_t, 256> singles_{};
};

Tables& tables() {
    thread_local auto t = std::make_unique<Tables>();
    return *t;
}

// Encodes; a unit that cannot be converted is replaced by "?" when strict is
// false, or ends the conversion with its index when strict is true.
std::optional<QByteArray> encodeImpl(const QString& text, bool strict, qsizetype* badIndex) {
    QByteArray out;
    out.reserve(text.size() * 2);
    Tables& t = tables();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        if (u >= 0xDC80 && u <= 0xDCFF) {
            // A byte kept by decode() from invalid input: restore it as it was.
            out.append(char(u - 0xDC00));
            continue;
        }
        const quint16 code = QChar::isSurrogate(u) ? Tables::NoForm : t.formOf(u);
        if (code == Tables::NoForm) {
            if (strict) {
                if (badIndex) *badIndex = i;
                return std::nullopt;
            }
            out.append('?');
            // A character beyond the BMP is one "?", not two.
            if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
                text[i + 1].isLowSurrogate())
                ++i;
        } else if (code < 0x100) {
            out.append(char(code));
        } else {
            out.append(char(code >> 8)).append(char(code & 0xFF));
        }
    }
    return out;
}

} // namespace

namespace Cp932 {

QByteArray encode(const QString& text) { return *encodeImpl(text, false, nullptr); }

std::optional<QByteArray> encodeStrict(const QString& text, qsizetype* badIndex) {
    return encodeImpl(text, true, badIndex);
}

QString decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    Tables& t = tables();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<quint8>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(b));
            continue;
        }
        switch (t.kindOf(b)) {
        case Tables::Kind::Single:
            out.append(QChar(t.single(b)));
            continue;
        case Tables::Kind::Lead:
            if (i + 1 < bytes.size()) {
                const char16_t c = t.pair(b, static_cast<quint8>(bytes[i + 1]));
                if (c != Tables::Invalid) {
                    out.append(QChar(c));
                    ++i;
                    continue;
                }
            }
            break;
        default:
            break;
        }
        // An invalid or incomplete sequence: its first byte b is kept as the
        // lone surrogate U+DC00 + b, which encode() turns back into b; the
        // byte after it is read on its own, so that a good one is not lost.
        out.append(QChar(char16_t(0xDC00 + b)));
    }
    return out;
}

bool isValid(const QByteArray& bytes, qsizetype* badOffset) {
    Converter& c = fromCp932();
    if (!c.ok()) return false;
    c.reset();
    QByteArray in = bytes;
    QByteArray out;
    char* p = in.data();
    size_t left = static_cast<size_t>(in.size());
    if (c.run(p, left, out) == 0) return true;
    if (badOffset) *badOffset = p - in.data();
    return false;
}

qint32 byteLength(const QString& text) { return static_cast<qint32>(encode(text).size()); }

QString byteSlice(const QString& text, qint32 start, qint32 count) {
    if (start < 1 || count < 1) return {};
    const QByteArray bytes = encode(text);
    if (start > bytes.size()) return {};
    return decode(bytes.mid(start - 1, count));
}

} // namespace Cp932
