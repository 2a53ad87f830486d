#include "model/Csv.h"

namespace Csv {

std::optional<Error> split(const QString& text, std::vector<Record>& records) {
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        Record rec;
        rec.line = line;
        for (;;) {
            QString field;
            qsizetype j = i;
            while (j < n && (text[j] == u' ' || text[j] == u'\t'))
                ++j;
            if (j < n && text[j] == u'"') {
                // A quoted field; blanks before the quote are dropped.
                const int startLine = line;
                i = j + 1;
                for (;;) {
                    if (i >= n)
                        return Error{startLine, static_cast<int>(rec.fields.size()) + 1,
                                     QStringLiteral("a quoted field is not closed")};
                    if (text[i] == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == u'\n') ++line;
                    field += text[i++];
                }
                // Only blanks may follow the closing quote.
                while (i < n && (text[i] == u' ' || text[i] == u'\t'))
                    ++i;
                if (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                    return Error{line, static_cast<int>(rec.fields.size()) + 1,
                                 QStringLiteral("text follows the closing quote of a field")};
            } else {
                while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                    field += text[i++];
            }
            rec.fields << field;
            if (i < n && text[i] == u',') {
                ++i;
                continue;
            }
            // End of the record.
            if (i < n && text[i] == u'\r') ++i;
            if (i < n && text[i] == u'\n') ++i;
            ++line;
            break;
        }
        records.push_back(std::move(rec));
    }
    return std::nullopt;
}

QString fromUtf8(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

} // namespace Csv
