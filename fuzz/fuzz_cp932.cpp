// Feeds arbitrary bytes to the CP932 routines: decoding never fails and
// keeps every byte (a text encodes back to as many bytes as it came from),
// strict encoding agrees with the lenient one, and byte slices stay within
// what they were asked for.
#include "model/Cp932.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = Cp932::decode(bytes);
    const QByteArray again = Cp932::encode(text);
    if (again.size() != bytes.size()) __builtin_trap();
    if (const auto strict = Cp932::encodeStrict(text); strict && *strict != again) __builtin_trap();
    if (Cp932::byteLength(text) != bytes.size()) __builtin_trap();
    const qint32 start = size > 0 ? data[0] % 64 : 1;
    const qint32 count = size > 1 ? data[1] % 8 : 1;
    if (Cp932::byteLength(Cp932::byteSlice(text, start, count)) > count) __builtin_trap();
    return 0;
}
