#pragma once
// Code page 932 (Japanese Windows Shift-JIS), the encoding of every text in
// K40's files; byte lengths and byte slices of texts count CP932 bytes.
// Conversion goes through the C library's iconv with the "CP932" table, which
// maps characters such as "～" the way Windows does.

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

// Length of the CP932 form of text, in bytes.
qint32 byteLength(const QString& text);

// count bytes of the CP932 form of text, from byte position start (counting
// from 1), as text. Empty beyond the end, for a start before the first byte
// and for a count below 1. A slice that cuts a two-byte character keeps the
// byte it holds: the text returned encodes back to exactly the bytes of the
// slice.
QString byteSlice(const QString& text, qint32 start, qint32 count);

} // namespace Cp932
