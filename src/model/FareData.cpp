#include "model/FareData.h"

#include "model/Hy3File.h"

#include "model/AppInfo.h"
#include "model/Cp932.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "model/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace FareData {

// ---- Route table ------------------------------------------------------------

RouteTable::RouteTable() : rows_(MaxRows + 1) {}

void RouteTable::clear() {
    for (RouteRow& r : rows_) r = RouteRow{};
}

const RouteRow& RouteTable::row(int r) const {
    if (r < 1 || r > MaxRows) throw K40Error(K40Error::SubscriptOutOfRange);
    return rows_[static_cast<size_t>(r)];
}

RouteRow& RouteTable::row(int r) {
    if (r < 1 || r > MaxRows) throw K40Error(K40Error::SubscriptOutOfRange);
    return rows_[static_cast<size_t>(r)];
}

void RouteTable::setCell(int r, int column, const QString& text) {
    if (column < 1 || column > ColumnCount) throw K40Error(K40Error::SubscriptOutOfRange);
    RouteRow& target = row(r);
    if (column == 1) {
        target.name = text;
        return;
    }
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok) throw K40Error(K40Error::TypeMismatch);
    setCell(r, column, n < std::numeric_limits<qint32>::min() ||
                                    n > std::numeric_limits<qint32>::max()
                                ? std::numeric_limits<qint32>::max()
                                : static_cast<qint32>(n));
}

void RouteTable::setCell(int r, int column, qint32 value) {
    if (column < 1 || column > ColumnCount) throw K40Error(K40Error::SubscriptOutOfRange);
    RouteRow& target = row(r);
    if (column == 1) {
        target.name = QString::number(value);
        return;
    }
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw K40Error(K40Error::Overflow);
    if (column == 2)
        target.ticket = static_cast<qint16>(value);
    else
        target.v[static_cast<size_t>(column - 3)] = static_cast<qint16>(value);
}

// ---- Names and numbers --------------------------------------------------------

QString withTrailingSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder;
    return folder + u'/';
}

qint64 leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 10 - 1;
    for (; i < n; ++i) {
        if (text[i] == u' ' || text[i] == u'\t') continue;
        if (text[i] < u'0' || text[i] > u'9') break;
        if (value < limit) value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

qint16 sectionFromText(const QString& text) {
    const qint64 n = leadingNumber(text);
    if (n < 1) return 1;
    if (n > MaxSection) return MaxSection;
    return static_cast<qint16>(n);
}

QString routeFileName(const QString& routeText) { return QString::number(leadingNumber(routeText)); }

QString findDataFile(const QString& folderWithSeparator, const QString& name) {
    const QString full = folderWithSeparator + name;
    const QFileInfo info(full);
    const QDir dir = info.dir();
    if (!dir.exists()) throw K40Error(K40Error::PathNotFound);
    if (info.exists()) return full;
    const QString fileName = info.fileName();
    const QString prefix = full.left(full.size() - fileName.size());
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return prefix + entry;
    throw K40Error(K40Error::FileNotFound);
}

// ---- Setting a route: the fare part ---------------------------------------------

QString messageNotFound() { return QStringLiteral("指定した系統のデータがありません..."); }

QString messageCountZero() {
    return QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
}

QString messageSectionTooLarge() {
    return QStringLiteral("指定した区間はデータの数よりも多いです...\r\n"
                          "  解決法：正しい区間を入力して下さい.");
}

namespace {

void tell(MessageBoxService& messages, const QString& text) {
    messages.show(text, AppInfo::title(), MsgIcon::None, MsgButtons::Ok);
}

QByteArray readWholeFile(const QString& path) {
    // 301 records of the longest names stay far below MaxFileBytes: a larger
    // file is refused, and never more than that is read, whatever the file
    // claims. A FIFO, a device or a folder is refused at once.
    const SafeFile::Reading file = SafeFile::read(path, MaxFileBytes);
    switch (file.status) {
    case SafeFile::Reading::Status::Read:
        return file.bytes;
    case SafeFile::Reading::Status::NotFound:
        throw K40Error(K40Error::FileNotFound);
    case SafeFile::Reading::Status::TooLarge:
        throw K40Error(K40Error::OutOfMemory,
                       QStringLiteral("運賃データファイルが大きすぎます（%1 バイト、上限 %2 バイト）。")
                           .arg(file.size)
                           .arg(MaxFileBytes));
    case SafeFile::Reading::Status::NotRegular:
        throw K40Error(K40Error::PathFileAccessError, SafeFile::describe(path, file));
    case SafeFile::Reading::Status::Unreadable:
        throw K40Error(K40Error::PathFileAccessError);
    case SafeFile::Reading::Status::Failed:
        break;
    }
    throw K40Error(K40Error::DeviceIoError, SafeFile::describe(path, file));
}

} // namespace

FareLoadOutcome loadRouteFares(const QString& fareFolderWithSeparator, const QString& routeName,
                              RouteState& state, RouteTable& table, MessageBoxService& messages) {
    try {
        QString path;
        try {
            path = findDataFile(fareFolderWithSeparator, routeName + QStringLiteral(".hy3"));
        } catch (const K40Error& e) {
            if (e.number() != K40Error::FileNotFound) throw;
            tell(messages, messageNotFound());
            return FareLoadOutcome::NotFound;
        }
        const Hy3File file = parseHy3(readWholeFile(path));

        const qint16 previousCount = state.recordCount;
        state.recordCount = file.count; // an empty file reads as count 0
        if (file.count == 0) {
            tell(messages, messageCountZero());
            return FareLoadOutcome::CountZero;
        }
        if (file.count - 1 < state.startSection) {
            tell(messages, messageSectionTooLarge());
            return FareLoadOutcome::SectionTooLarge;
        }
        // The table holds 301 rows; a larger or cut-off file is refused
        // before the table is touched, so that the previous route stays whole.
        if (file.count > MaxRows) {
            state.recordCount = previousCount;
            throw K40Error(K40Error::SubscriptOutOfRange,
                           QStringLiteral("運賃データのレコード数 %1 が上限の %2 を超えています。")
                               .arg(file.count)
                               .arg(MaxRows));
        }
        if (!file.usable()) {
            state.recordCount = previousCount;
            throw K40Error(K40Error::InputPastEnd,
                           QStringLiteral("運賃データファイルが途中で切れています"
                                          "（レコード数 %1 のうち %2 件しかありません）。")
                               .arg(file.count)
                               .arg(file.rows.size()));
        }

        state.currentRow = state.startSection;
        table.clear();
        int k = 1;
        for (const RouteRow& r : file.rows) table.row(k++) = r;
        state.loadedRows = file.count;
        return FareLoadOutcome::Loaded;
    } catch (const K40Error& e) {
        tell(messages, e.description());
        return FareLoadOutcome::Failed;
    }
}

} // namespace FareData
