#include "widgets/Typefaces.h"

namespace Typefaces {

void registerSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

QString digitFamily(qint16 style) {
    // DSEG14's zero carries a diagonal stroke outside its "8", so the third
    // face is a second seven-segment design (narrow segments) rather than
    // DSEG14.
    switch (style) {
    case 1: return QStringLiteral("DSEG7 Modern");
    case 2: return QStringLiteral("DSEG7 Classic Mini");
    default: return QStringLiteral("DSEG7 Classic");
    }
}

QFont digitFont(const QString& family, bool bold) {
    QFont font(family);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace Typefaces
