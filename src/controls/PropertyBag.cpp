#include "controls/PropertyBag.h"

namespace {
QString fold(const QString& name) { return name.toCaseFolded(); }
} // namespace

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values) {
    for (const auto& [name, value] : values) values_.insert(fold(name), Entry{name, value});
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& def) const {
    const auto it = values_.constFind(fold(name));
    return it == values_.constEnd() ? def : it->value;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& def) {
    if (def.isValid() && value == def) {
        values_.remove(fold(name));
        return;
    }
    values_.insert(fold(name), Entry{name, value});
}

bool PropertyBag::contains(const QString& name) const { return values_.contains(fold(name)); }

QStringList PropertyBag::keys() const {
    QStringList out;
    for (const Entry& e : values_) out << e.name;
    return out;
}
