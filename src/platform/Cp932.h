#pragma once
// Code page 932 (Japanese Windows Shift-JIS) at the boundary of files and of
// the companion library. Conversion goes through the C library's iconv with
// the "CP932" table, which maps characters such as "～" the way Windows does.

#include <QByteArray>
#include <QString>
#include <optional>

namespace Cp932 {

// Unicode to CP932. A character that CP932 cannot hold becomes "?", as the
// Windows conversion does with its default character. The lone surrogates
// U+DC80..U+DCFF that decode() makes of invalid bytes become those bytes again.
QByteArray encode(const QString& text);

// Unicode to CP932, or nothing when some character has no CP932 form.
// On failure *badIndex (when given) receives the index of the first such
// character in text.
std::optional<QByteArray> encodeStrict(const QString& text, qsizetype* badIndex = nullptr);

// CP932 to Unicode, reading as much as can be read: a byte that does not
// begin a valid CP932 character becomes the lone surrogate U+DC00 + byte (so
// that encode() gives the same bytes back) and decoding goes on after it.
// Never fails.
QString decode(const QByteArray& bytes);

// True when every byte of bytes belongs to a valid CP932 character. On
// failure *badOffset (when given) receives the offset of the first bad byte.
bool isValid(const QByteArray& bytes, qsizetype* badOffset = nullptr);

} // namespace Cp932
