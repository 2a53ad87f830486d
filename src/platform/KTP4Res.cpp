#include "platform/KTP4Res.h"

#include "platform/Cp932.h"

#include <QSysInfo>

namespace KTP4Res {

QString GetOsInfo() {
    const QString name = QSysInfo::prettyProductName();
    return name.isEmpty() ? QSysInfo::kernelType() : name;
}

qint32 LenB_ASCII(const QString& text) {
    return static_cast<qint32>(Cp932::encode(text).size());
}

QString MidB_ASCII(const QString& text, qint32 start, qint32 count) {
    if (start < 1 || count < 1) return {};
    const QByteArray bytes = Cp932::encode(text);
    if (start > bytes.size()) return {};
    return Cp932::decode(bytes.mid(start - 1, count));
}

} // namespace KTP4Res
