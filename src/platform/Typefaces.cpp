#include "platform/Typefaces.h"

namespace Typefaces {

namespace {
struct DigitFace {
    const char* name;
    const char* family;
};
// DSEG14's zero carries a diagonal stroke outside its "8", so the third face
// is a second seven-segment design (narrow segments) rather than DSEG14.
constexpr DigitFace DigitFaces[] = {
    {"M_DegitA", "DSEG7 Classic"},
    {"M_DegitB", "DSEG7 Modern"},
    {"M_DegitC", "DSEG7 Classic Mini"},
};
} // namespace

void registerSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    registerDigitFaces();
}

void registerDigitFaces() {
    static const bool done = [] {
        for (const DigitFace& f : DigitFaces)
            QFont::insertSubstitution(QString::fromLatin1(f.name), QString::fromLatin1(f.family));
        return true;
    }();
    (void)done;
}

QString digitFaceName(qint16 style) {
    switch (style) {
    case 1:
        return QStringLiteral("M_DegitB");
    case 2:
        return QStringLiteral("M_DegitC");
    default:
        return QStringLiteral("M_DegitA");
    }
}

QString digitFaceFamily(const QString& faceName) {
    for (const DigitFace& f : DigitFaces)
        if (faceName.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(f.family);
    return faceName;
}

QFont digitFont(const QString& faceName, bool bold) {
    registerDigitFaces();
    QFont font(faceName);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace Typefaces
