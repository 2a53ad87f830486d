#include "audio/MediaCommand.h"

#include <QStringList>

namespace {

// Splits a command text into words; false when a quote is not closed.
bool splitWords(const QString& text, QStringList& words) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            if (close < 0) return false;
            words << text.mid(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        const qsizetype start = i;
        while (i < n && !text[i].isSpace() && text[i] != u'"')
            ++i;
        words << text.mid(start, i - start);
    }
    return true;
}

bool is(const QString& word, const char* keyword) {
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

} // namespace

qint32 parseMediaCommand(const QString& text, MediaCommand& out) {
    out = MediaCommand{};
    QStringList words;
    if (!splitWords(text, words)) return MediaError::NoClosingQuote;
    if (words.isEmpty()) return MediaError::MissingCommandString;

    const QString& verb = words[0];
    if (is(verb, "open"))
        out.verb = MediaCommand::Verb::Open;
    else if (is(verb, "play"))
        out.verb = MediaCommand::Verb::Play;
    else if (is(verb, "stop"))
        out.verb = MediaCommand::Verb::Stop;
    else if (is(verb, "close"))
        out.verb = MediaCommand::Verb::Close;
    else
        return MediaError::UnrecognizedCommand;

    if (words.size() < 2 || words[1].isEmpty()) return MediaError::MissingDeviceName;
    out.device = words[1];

    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool last = i + 1 >= words.size();
        if (is(word, "wait")) {
            out.wait = true;
        } else if (is(word, "notify")) {
            // Nobody listens for notifications: accepted and ignored.
        } else if (out.verb == MediaCommand::Verb::Open &&
                   (is(word, "type") || is(word, "alias"))) {
            if (last || words[i + 1].isEmpty()) return MediaError::MissingStringArgument;
            (is(word, "type") ? out.type : out.alias) = words[++i];
        } else if (out.verb == MediaCommand::Verb::Open && is(word, "shareable")) {
            // Every device may be shared.
        } else if (out.verb == MediaCommand::Verb::Play && is(word, "from")) {
            if (last) return MediaError::BadInteger;
            bool ok = false;
            const qint64 ms = words[++i].toLongLong(&ok);
            if (!ok || ms < 0) return MediaError::BadInteger;
            out.fromMs = ms;
        } else {
            return MediaError::UnrecognizedKeyword;
        }
    }
    out.type = out.type.toLower();
    return MediaError::None;
}
