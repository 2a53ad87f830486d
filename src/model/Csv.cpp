#include "model/Csv.h"

namespace Csv {

bool Reader::next(Record& rec) {
    const QString& text = text_;
    const qsizetype n = text.size();
    qsizetype& i = at_;
    int& line = line_;
    if (error_ || i >= n) return false;
    rec = Record{line, {}};
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
                if (i >= n) {
                    error_ = Error{startLine, static_cast<int>(rec.fields.size()) + 1,
                                   QStringLiteral("a quoted field is not closed")};
                    return false;
                }
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
            if (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') {
                error_ = Error{line, static_cast<int>(rec.fields.size()) + 1,
                               QStringLiteral("text follows the closing quote of a field")};
                return false;
            }
        } else {
            const qsizetype from = i;
            while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n')
                ++i;
            field = text.mid(from, i - from);
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
        return true;
    }
}

std::optional<Error> split(const QString& text, std::vector<Record>& records) {
    Reader reader(text);
    for (Record rec; reader.next(rec);)
        records.push_back(std::move(rec));
    return reader.error();
}

QString fromUtf8(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

} // namespace Csv
