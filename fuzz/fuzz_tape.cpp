// Feeds arbitrary bytes to the announcement file reader: it must either
// read rows or raise one of its errors, never crash or read beyond its input.
#include "model/K40Error.h"
#include "model/AnnouncementTape.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const auto rows = AnnouncementTape::parse(bytes);
        if (rows.size() > size + 1) __builtin_trap();
    } catch (const K40Error&) {
    }
    return 0;
}
