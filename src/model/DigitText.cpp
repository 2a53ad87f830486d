#include "model/DigitText.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace DigitText {

namespace {

// Decimal digits of the magnitude of n, without a sign.
QString magnitudeDigits(qint64 n) {
    const quint64 m = n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n);
    return QString::number(m);
}

std::optional<Numeric> readText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^[ \\t]*([+-]?)([0-9]*)(?:\\.([0-9]*))?(?:[eE]([+-]?[0-9]+))?[ \\t]*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QString sign = m.captured(1);
    const QString whole = m.captured(2);
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt; // no digit at all

    Numeric n;
    if (!m.hasCaptured(3) && !m.hasCaptured(4)) {
        // A plain whole number: exact, however long.
        qsizetype first = 0;
        while (first < whole.size() - 1 && whole.at(first) == u'0')
            ++first;
        n.wholeDigits = whole.mid(first);
        n.isZero = n.wholeDigits == u"0";
        n.negative = sign == u"-" && !n.isZero;
        n.isMinusOne = n.negative && n.wholeDigits == u"1";
        return n;
    }

    // A fraction or an exponent: through a double.
    QByteArray plain = text.trimmed().toLatin1();
    if (plain.startsWith('+')) plain.remove(0, 1);
    double d = 0.0;
    const auto [end, ec] = std::from_chars(plain.constData(), plain.constData() + plain.size(), d);
    if (ec != std::errc() || end != plain.constData() + plain.size() || !std::isfinite(d))
        return std::nullopt;
    const double r = std::round(d); // halves away from zero
    n.isZero = d == 0.0;
    n.isMinusOne = d == -1.0;
    n.negative = r < 0.0;
    n.wholeDigits = QString::number(std::fabs(r), 'f', 0);
    return n;
}

bool isEmptyText(const DigitValue& v) {
    return v.isText() && v.text().isEmpty();
}

} // namespace

std::optional<Numeric> readNumber(const DigitValue& value) {
    if (value.isNumber()) {
        Numeric n;
        n.isZero = value.number() == 0;
        n.isMinusOne = value.number() == -1;
        n.negative = value.number() < 0;
        n.wholeDigits = magnitudeDigits(value.number());
        return n;
    }
    return readText(value.text());
}

DigitValue applyZeroRule(const DigitValue& value, qint16 zeroMode) {
    if (zeroMode < 0 || zeroMode > 3) return value;
    const std::optional<Numeric> n = readNumber(value);
    const bool zero = n && n->isZero;
    const bool minusOne = n && n->isMinusOne;
    const bool empty = isEmptyText(value);
    switch (zeroMode) {
    case 0:
        if (zero || empty) return DigitValue(QString());
        break;
    case 1:
        if (zero || empty) return DigitValue(0);
        break;
    case 2:
        if (minusOne) return DigitValue(0);
        if (zero) return DigitValue(QString());
        break;
    case 3:
        if (minusOne || zero || empty) return DigitValue(0);
        break;
    }
    return value;
}

DigitValue applyFillZero(const DigitValue& value, qint16 fillZero) {
    if (fillZero <= 0) return value;
    const std::optional<Numeric> n = readNumber(value);
    if (!n) return value;
    QString out = n->wholeDigits.rightJustified(fillZero, u'0');
    if (n->negative) out.prepend(u'-');
    return DigitValue(out);
}

QString applyShift(const DigitValue& value, qint16 shift) {
    QString out = value.toText();
    if (shift >= 1) out.append(QString(shift, u' '));
    return out;
}

QString rightmost(const QString& text, qint16 keta) {
    if (keta <= 0) return QString();
    qsizetype start = text.size();
    for (qint16 taken = 0; taken < keta && start > 0; ++taken) {
        --start;
        if (start > 0 && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate())
            --start;
    }
    return text.mid(start);
}

QString shownText(const DigitValue& value, qint16 zeroMode, qint16 fillZero, qint16 shift,
                  qint16 keta) {
    DigitValue v = applyZeroRule(value, zeroMode);
    v = applyFillZero(v, fillZero);
    return rightmost(applyShift(v, shift), keta);
}

} // namespace DigitText
