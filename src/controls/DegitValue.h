#pragma once
// What a digit display is given to show: a whole number or a text, kept
// exactly as the host assigned it.

#include <QLocale>
#include <QString>
#include <QVariant>
#include <cmath>
#include <limits>
#include <variant>

class DegitValue {
public:
    DegitValue() : v_(qint64{0}) {}
    DegitValue(int n) : v_(qint64{n}) {}
    DegitValue(qint64 n) : v_(n) {}
    DegitValue(const QString& text) : v_(text) {}
    DegitValue(const char16_t* text) : v_(QString::fromUtf16(text)) {}

    bool isNumber() const { return std::holds_alternative<qint64>(v_); }
    bool isText() const { return !isNumber(); }
    qint64 number() const { return isNumber() ? std::get<qint64>(v_) : 0; }
    QString text() const { return isText() ? std::get<QString>(v_) : QString(); }
    // The value as the display would print it: a number in decimal, a text as it is.
    QString toText() const { return isNumber() ? QString::number(number()) : text(); }

    bool operator==(const DegitValue&) const = default;

    // The value as design data keeps it: a number as a 64-bit integer, a text
    // as a string.
    QVariant toVariant() const { return isNumber() ? QVariant(number()) : QVariant(text()); }

    // A value read back from design data. Strings stay texts; whole numbers of
    // any width and Booleans (True is -1) become numbers; a fractional or
    // out-of-range number becomes the text of its decimal form, so nothing is
    // lost; an empty or unreadable entry is the number 0.
    static DegitValue fromVariant(const QVariant& v) {
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            return DegitValue();
        case QMetaType::QString:
        case QMetaType::QByteArray:
        case QMetaType::QChar:
            return DegitValue(v.toString());
        case QMetaType::Bool:
            return DegitValue(qint64{v.toBool() ? -1 : 0});
        case QMetaType::ULongLong:
        case QMetaType::ULong: {
            const qulonglong u = v.toULongLong();
            if (u > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
                return DegitValue(QString::number(u));
            return DegitValue(static_cast<qint64>(u));
        }
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            // 2^63 is exactly representable; every double below it in
            // magnitude that is whole fits a 64-bit integer.
            constexpr double Limit = 9223372036854775808.0;
            if (std::isfinite(d) && d == std::trunc(d) && d >= -Limit && d < Limit)
                return DegitValue(static_cast<qint64>(d));
            return DegitValue(QString::number(d, 'g', QLocale::FloatingPointShortest));
        }
        default:
            break;
        }
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? DegitValue(n) : DegitValue();
    }

private:
    std::variant<qint64, QString> v_;
};
