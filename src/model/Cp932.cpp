#include "model/Cp932.h"

#include <cerrno>
#include <iconv.h>

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

QString fromUtf16le(const QByteArray& b) {
    QString s;
    s.reserve(b.size() / 2);
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        s.append(QChar(static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                             (static_cast<unsigned char>(b[i + 1]) << 8))));
    return s;
}

bool allAscii(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() >= 0x80) return false;
    return true;
}

// Encodes; a unit that cannot be converted is replaced by "?" when strict is
// false, or ends the conversion with its index when strict is true.
std::optional<QByteArray> encodeImpl(const QString& text, bool strict, qsizetype* badIndex) {
    if (allAscii(text)) return text.toLatin1();
    Converter& c = toCp932();
    QByteArray in = utf16le(text);
    QByteArray out;
    out.reserve(text.size() * 2);
    if (!c.ok()) return text.toLatin1();
    c.reset();
    char* p = in.data();
    size_t left = static_cast<size_t>(in.size());
    while (left > 0) {
        if (c.run(p, left, out) == 0) break;
        // p stands at a character CP932 cannot hold (or half of a pair).
        const qsizetype index = (p - in.data()) / 2;
        const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                 (static_cast<unsigned char>(p[1]) << 8));
        const size_t skip = (QChar::isHighSurrogate(u) && left >= 4) ? 4 : 2;
        if (u >= 0xDC80 && u <= 0xDCFF) {
            // A byte kept by decode() from invalid input: restore it as it was.
            out.append(static_cast<char>(u - 0xDC00));
        } else {
            if (strict) {
                if (badIndex) *badIndex = index;
                return std::nullopt;
            }
            out.append('?');
        }
        p += skip;
        left -= skip;
        c.reset();
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
    bool ascii = true;
    for (char b : bytes)
        if (static_cast<unsigned char>(b) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return QString::fromLatin1(bytes);
    Converter& c = fromCp932();
    if (!c.ok()) return QString::fromLatin1(bytes);
    c.reset();
    QByteArray in = bytes;
    QByteArray out;
    out.reserve(bytes.size() * 2);
    char* p = in.data();
    size_t left = static_cast<size_t>(in.size());
    while (left > 0) {
        if (c.run(p, left, out) == 0) break;
        // An invalid or incomplete sequence: its first byte b is kept as the
        // lone surrogate U+DC00 + b, which encode() turns back into b. Then go
        // on after that byte so that a good trail byte is not lost.
        const unsigned char b = static_cast<unsigned char>(*p);
        out.append(static_cast<char>(b));
        out.append(static_cast<char>(0xDC));
        ++p;
        --left;
        c.reset();
    }
    return fromUtf16le(out);
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
