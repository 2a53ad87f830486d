#include "model/StopNameLayout.h"

#include "model/Cp932.h"

#include <algorithm>

namespace StopNameLayout {

namespace {

int cappedWidth(qint64 cells) {
    return static_cast<int>(std::min<qint64>(cells * CellWidth, MaxStripWidth));
}

bool isLeadByte(quint8 b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

Placement placement(qint32 count, bool prefix) {
    struct Row {
        int x0, pitch;
    };
    // Short names are centred: about x = 216 without the prefix, about x = 270
    // (the middle of the 324 pixels right of "次は") with it.
    static constexpr Row plain[] = {{0, 0},   {188, 0}, {135, 108}, {81, 108},
                                    {67, 81}, {27, 81}, {21, 66},   {18, 57}};
    static constexpr Row withPrefix[] = {{0, 0},    {242, 0},  {188, 108}, {162, 81},
                                         {135, 72}, {135, 54}, {108, 54},  {108, 54}};
    if (count < 0) count = 0;
    if (!prefix) {
        if (count >= 8) return {0, CellWidth, cappedWidth(count)};
        return {plain[count].x0, plain[count].pitch, FrameWidth};
    }
    if (count >= 8) return {108, CellWidth, cappedWidth(qint64{count} + 2)};
    if (count == 7) return {108, CellWidth, ScrollCount * CellWidth};
    return {withPrefix[count].x0, withPrefix[count].pitch, FrameWidth};
}

Layout layoutName(const QString& text, qint16 prefixMode) {
    Layout out;
    if (text.isEmpty()) return out;
    const QByteArray bytes = Cp932::encode(text);
    out.byteLength = static_cast<qint32>(bytes.size());
    out.count = out.byteLength / 2;
    out.prefix = prefixMode != 0;
    out.places = out.prefix && out.count >= 1 ? out.count + 2 : out.count;
    out.scrolls = out.places >= ScrollCount;
    out.stripLeft = out.scrolls ? FrameWidth : 0;
    const Placement p = placement(out.count, out.prefix);
    out.x0 = p.x0;
    out.pitch = p.pitch;
    out.stripWidth = p.stripWidth;

    // Two-byte units; an odd byte count ends with a one-byte unit at the next
    // place. A unit whose cell would start beyond the strip shows nothing and
    // is left out.
    const qint32 total = out.count + (out.byteLength % 2);
    for (qint32 k = 1; k <= total; ++k) {
        const qint64 x = qint64{out.x0} + qint64{k - 1} * out.pitch;
        if (x >= out.stripWidth) break;
        const bool whole = k <= out.count;
        out.units.append({Cp932::decode(bytes.mid(2 * k - 2, whole ? 2 : 1)), static_cast<int>(x)});
    }
    return out;
}

QString faceFamily(Face face) {
    return face == Face::Mincho ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("ＭＳ ゴシック");
}

quint16 unitCode(const QString& unit) {
    const QByteArray b = Cp932::encode(unit);
    if (b.isEmpty()) return 0;
    const auto b0 = static_cast<quint8>(b[0]);
    if (b.size() >= 2 && isLeadByte(b0))
        return static_cast<quint16>(b0 << 8 | static_cast<quint8>(b[1]));
    return b0;
}

Face nameFace(qint16 fontMode, quint16 code) {
    const bool kanaOrSymbol = code >= 0x8000 && code < 0x889F;
    switch (fontMode) {
    case 1:
        return Face::Mincho;
    case 2:
        return kanaOrSymbol ? Face::Mincho : Face::Gothic;
    case 3:
        return kanaOrSymbol ? Face::Gothic : Face::Mincho;
    case 4:
        return code >= 0x824F && code <= 0x829A ? Face::Gothic : Face::Mincho;
    default:
        return Face::Gothic;
    }
}

std::optional<Face> prefixFace(qint16 prefixFontMode, bool ha) {
    switch (prefixFontMode) {
    case 0:
        return Face::Gothic;
    case 1:
        return ha ? Face::Mincho : Face::Gothic;
    case 2:
        return Face::Mincho;
    case 3:
        return ha ? Face::Gothic : Face::Mincho;
    default:
        return std::nullopt;
    }
}

QString substitute(const QString& unit) {
    QString out = unit;
    for (QChar& ch : out) {
        switch (ch.unicode()) {
        case u'丨':
            ch = u'ー';
            break;
        case u'｜':
            ch = u'－';
            break;
        case u'↓':
            ch = u'→';
            break;
        case u'↑':
            ch = u'←';
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace StopNameLayout
