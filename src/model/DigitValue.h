#pragma once
// What a digit display is given to show: a whole number or a text, kept
// exactly as the host assigned it.

#include <QLocale>
#include <QString>
#include <QVariant>
#include <cmath>
#include <limits>
#include <variant>

class DigitValue {
public:
    DigitValue() : v_(qint64{0}) {}
    DigitValue(int n) : v_(qint64{n}) {}
    DigitValue(qint64 n) : v_(n) {}
    DigitValue(const QString& text) : v_(text) {}
    DigitValue(const char16_t* text) : v_(QString::fromUtf16(text)) {}

    bool isNumber() const { return std::holds_alternative<qint64>(v_); }
    bool isText() const { return !isNumber(); }
    qint64 number() const { return isNumber() ? std::get<qint64>(v_) : 0; }
    QString text() const { return isText() ? std::get<QString>(v_) : QString(); }
    // The value as the display would print it: a number in decimal, a text as it is.
    QString toText() const { return isNumber() ? QString::number(number()) : text(); }

    bool operator==(const DigitValue&) const = default;

    // The value as design data keeps it: a number as a 64-bit integer, a text
    // as a string.
    QVariant toVariant() const { return isNumber() ? QVariant(number()) : QVariant(text()); }

    // A value read back from design data. Strings stay texts; whole numbers of
    // any width and Booleans (True is -1) become numbers; a fractional or
    // out-of-range number becomes the text of its decimal form, so nothing is
    // lost; an empty or unreadable entry is the number 0.
    static DigitValue fromVariant(const QVariant& v) {
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            return DigitValue();
        case QMetaType::QString:
        case QMetaType::QByteArray:
        case QMetaType::QChar:
            return DigitValue(v.toString());
        case QMetaType::Bool:
            return DigitValue(qint64{v.toBool() ? -1 : 0});
        case QMetaType::ULongLong:
        case QMetaType::ULong: {
            const qulonglong u = v.toULongLong();
            if (u > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
                return DigitValue(QString::number(u));
            return DigitValue(static_cast<qint64>(u));
        }
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            // 2^63 is exactly representable; every double below it in
            // magnitude that is whole fits a 64-bit integer.
            constexpr double Limit = 9223372036854775808.0;
            if (std::isfinite(d) && d == std::trunc(d) && d >= -Limit && d < Limit)
                return DigitValue(static_cast<qint64>(d));
            return DigitValue(QString::number(d, 'g', QLocale::FloatingPointShortest));
        }
        default:
            break;
        }
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? DigitValue(n) : DigitValue();
    }

private:
    std::variant<qint64, QString> v_;
};
