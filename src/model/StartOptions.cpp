#include "model/StartOptions.h"

#include <QCommandLineParser>

void StartOptions::applyTo(BoardChoice& board) const {
    if (fullScreen) board.fullScreen = true;
    if (screen) board.screen = *screen;
    if (scalePercent) board.scalePercent = *scalePercent;
}

QString StartOptions::usage() {
    return QStringLiteral(
        "usage: K40 [--fullscreen] [--screen N] [--scale PERCENT]\n"
        "  --fullscreen     the board full screen\n"
        "  --screen N       on screen N (from 1)\n"
        "  --scale PERCENT  the board at PERCENT of its size (%1 to %2)\n")
        .arg(BoardChoice::MinScale)
        .arg(BoardChoice::MaxScale);
}

StartOptions::Parsed StartOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"));
    const QCommandLineOption screen(QStringLiteral("screen"), {}, QStringLiteral("N"));
    const QCommandLineOption scale(QStringLiteral("scale"), {}, QStringLiteral("PERCENT"));
    const QCommandLineOption help(QStringLiteral("help"));
    parser.addOptions({fullScreen, screen, scale, help});
    Parsed p;
    if (!parser.parse(arguments)) {
        p.error = parser.errorText();
        return p;
    }
    if (!parser.positionalArguments().isEmpty()) {
        p.error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]);
        return p;
    }
    p.help = parser.isSet(help);
    p.options.fullScreen = parser.isSet(fullScreen);
    bool ok = false;
    if (parser.isSet(screen)) {
        const int n = parser.value(screen).toInt(&ok);
        if (!ok || n < 1) {
            p.error = QStringLiteral("--screen takes a screen's number from 1, not '%1'")
                          .arg(parser.value(screen));
            return p;
        }
        p.options.screen = n - 1;
    }
    if (parser.isSet(scale)) {
        QString value = parser.value(scale);
        if (value.endsWith(u'%')) value.chop(1);
        const int percent = value.toInt(&ok);
        if (!ok || percent < BoardChoice::MinScale || percent > BoardChoice::MaxScale) {
            p.error = QStringLiteral("--scale takes a size from %1 to %2 (percent), not '%3'")
                          .arg(BoardChoice::MinScale)
                          .arg(BoardChoice::MaxScale)
                          .arg(parser.value(scale));
            return p;
        }
        p.options.scalePercent = percent;
    }
    return p;
}
