#pragma once
// What a digit display is given to show: a whole number or a text, kept
// exactly as the host assigned it.

#include <QString>
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

private:
    std::variant<qint64, QString> v_;
};
