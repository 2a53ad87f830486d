#include "model/BoardChoice.h"

#include "model/AppInfo.h"
#include "model/IniText.h"
#include "model/SafeFile.h"

#include <iterator>

namespace {

// The grids as the file names them, in the order of BoardChoice::Grid.
const char16_t* const GridNames[] = {u"24", u"3x10", u"4x10", u"5x10", u"6x10"};

} // namespace

QStringList BoardChoice::gridTexts() {
    return {QStringLiteral("24 区画（3 段 × 8 列、既定）"), QStringLiteral("30 区画（3 段 × 10 列）"),
            QStringLiteral("40 区画（4 段 × 10 列）"), QStringLiteral("50 区画（5 段 × 10 列）"),
            QStringLiteral("60 区画（6 段 × 10 列）")};
}

int BoardChoice::nextScale(int percent, bool larger) {
    if (larger) {
        for (int s : Scales)
            if (s > percent) return s;
    } else {
        for (auto it = std::rbegin(Scales); it != std::rend(Scales); ++it)
            if (*it < percent) return *it;
    }
    return percent;
}

namespace BoardChoiceFile {

QString path() {
    QString dir = AppInfo::settingsDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral("-board.ini");
}

BoardChoice read(const QString& path) {
    const QHash<QString, QString> values = IniText::read(path);
    BoardChoice c;
    const QString grid = values.value(QStringLiteral("board"));
    for (int i = 0; i < int(std::size(GridNames)); ++i)
        if (grid == QStringView(GridNames[i])) c.grid = BoardChoice::Grid(i);
    c.paging = values.value(QStringLiteral("paging")) == u"1";
    bool ok = false;
    const int seconds = values.value(QStringLiteral("pageSeconds")).toInt(&ok);
    if (ok && seconds >= BoardChoice::MinPageSeconds && seconds <= BoardChoice::MaxPageSeconds)
        c.pageSeconds = seconds;
    const int scale = values.value(QStringLiteral("scale")).toInt(&ok);
    if (ok && scale >= BoardChoice::MinScale && scale <= BoardChoice::MaxScale)
        c.scalePercent = scale;
    c.fullScreen = values.value(QStringLiteral("fullScreen")) == u"1";
    const int screen = values.value(QStringLiteral("screen")).toInt(&ok);
    if (ok && screen >= 0 && screen < 64) c.screen = screen;
    return c;
}

bool write(const QString& path, const BoardChoice& c) {
    const QString text =
        QStringLiteral("[General]\nboard=%1\npaging=%2\npageSeconds=%3\nscale=%4\n"
                       "fullScreen=%5\nscreen=%6\n")
            .arg(QString::fromUtf16(GridNames[int(c.grid)]))
            .arg(c.paging ? 1 : 0)
            .arg(c.pageSeconds)
            .arg(c.scalePercent)
            .arg(c.fullScreen ? 1 : 0)
            .arg(c.screen);
    return SafeFile::write(path, text.toUtf8()).ok();
}

} // namespace BoardChoiceFile
