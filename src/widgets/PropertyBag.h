#pragma once
// Design data of a display control: the property values its host window saved
// for it. Keys match without regard to letter case; a property is written only
// when its value differs from the default, and a missing key reads as the
// default the reader gives.

#include "model/BgrColor.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

class PropertyBag {
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<QString, QVariant>> values);

    // The stored value of name, or def when the key is missing.
    QVariant read(const QString& name, const QVariant& def = {}) const;
    // Stores value under name, or removes the key when value equals def.
    void write(const QString& name, const QVariant& value, const QVariant& def = {});

    // Typed reads for the controls: a missing key, or a value that is not a
    // number (a Boolean) of the property's type and range, reads as def.
    qint16 readInt16(const QString& name, qint16 def) const;
    qint32 readInt32(const QString& name, qint32 def) const;
    BgrColor readColor(const QString& name, BgrColor def) const;
    bool readBool(const QString& name, bool def) const;

    bool contains(const QString& name) const;
    // The keys as they were written, in no particular order.
    QStringList keys() const;
    int size() const { return static_cast<int>(values_.size()); }
    bool operator==(const PropertyBag& other) const { return values_ == other.values_; }

private:
    struct Entry {
        QString name;
        QVariant value;
        bool operator==(const Entry& o) const { return name == o.name && value == o.value; }
    };
    QMap<QString, Entry> values_; // by case-folded key
};
