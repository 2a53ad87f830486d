// Feeds arbitrary bytes to the fare data reader: it must never read beyond
// its input or crash, and what it reads must write back to the same records.
#include "console/DataIo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DataIo::Hy3File f = DataIo::parseHy3(bytes);
    if (f.usable()) {
        const DataIo::Hy3File again = DataIo::parseHy3(DataIo::serializeHy3(f.rows));
        if (again.rows.size() != f.rows.size()) __builtin_trap();
    }
    return 0;
}
