#include "widgets/PropertyBag.h"

#include <cmath>
#include <optional>
#include <limits>

namespace {
QString fold(const QString& name) { return name.toCaseFolded(); }
} // namespace

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values) {
    for (const auto& [name, value] : values) values_.insert(fold(name), Entry{name, value});
}

QVariant PropertyBag::read(const QString& name, const QVariant& def) const {
    const auto it = values_.constFind(fold(name));
    return it == values_.constEnd() ? def : it->value;
}

void PropertyBag::write(const QString& name, const QVariant& value, const QVariant& def) {
    if (def.isValid() && value == def) {
        values_.remove(fold(name));
        return;
    }
    values_.insert(fold(name), Entry{name, value});
}

namespace {

// The whole number a stored value stands for, if it is one within [lo, hi].
std::optional<qint64> wholeNumber(const QVariant& v, qint64 lo, qint64 hi) {
    if (!v.isValid() || v.typeId() == QMetaType::Bool) return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d)) return std::nullopt;
    const double r = std::round(d);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) return std::nullopt;
    return static_cast<qint64>(r);
}

} // namespace

qint16 PropertyBag::readInt16(const QString& name, qint16 def) const {
    const auto n = wholeNumber(read(name), std::numeric_limits<qint16>::min(),
                               std::numeric_limits<qint16>::max());
    return n ? static_cast<qint16>(*n) : def;
}

qint32 PropertyBag::readInt32(const QString& name, qint32 def) const {
    const auto n = wholeNumber(read(name), std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max());
    return n ? static_cast<qint32>(*n) : def;
}

BgrColor PropertyBag::readColor(const QString& name, BgrColor def) const {
    // Colours are kept as signed or unsigned 32-bit values.
    const auto n = wholeNumber(read(name), std::numeric_limits<qint32>::min(),
                               std::numeric_limits<quint32>::max());
    return n ? static_cast<BgrColor>(static_cast<quint32>(*n)) : def;
}

bool PropertyBag::readBool(const QString& name, bool def) const {
    const QVariant v = read(name);
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    const auto n = wholeNumber(v, std::numeric_limits<qint64>::min() / 2,
                               std::numeric_limits<qint64>::max() / 2);
    return n ? *n != 0 : def;
}

bool PropertyBag::contains(const QString& name) const { return values_.contains(fold(name)); }

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const Entry& e : values_) out << e.name;
    return out;
}
