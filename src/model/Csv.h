#pragma once
// Comma-separated text as the authoring tools read it: records of fields,
// each record with the line it starts on. A field may be quoted ("a ""b"" c")
// and must be when it holds a comma, a quote or a line break; blanks before a
// quote are dropped. Lines end in CR LF or LF. A byte order mark at the start
// of UTF-8 text is dropped.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace Csv {

struct Record {
    int line = 0; // 1-based line where the record starts
    QStringList fields;
};

struct Error {
    int line = 0;   // 1-based line of the problem
    int column = 0; // 1-based field within its record
    QString message;
};

// Reads the records of text one at a time, so that a large file need not be
// held as records all at once.
class Reader {
public:
    explicit Reader(const QString& text) : text_(text) {}
    // The next record; false at the end of the text or at an error, which
    // error() then gives: a quote never closed, or text after a closing quote.
    bool next(Record& record);
    const std::optional<Error>& error() const { return error_; }

private:
    QString text_;
    qsizetype at_ = 0;
    int line_ = 1;
    std::optional<Error> error_;
};

// Splits text into records, or gives the first error.
std::optional<Error> split(const QString& text, std::vector<Record>& records);

// UTF-8 bytes as text, without a leading byte order mark.
QString fromUtf8(const QByteArray& bytes);

} // namespace Csv
