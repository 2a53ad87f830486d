// Feeds arbitrary bytes to the fare data reader: it must never read beyond
// its input or crash, and what it reads must write back to the same records.
#include "model/FareData.h"
#include "model/Hy3File.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const FareData::Hy3File f = FareData::parseHy3(bytes);
    if (f.usable()) {
        const FareData::Hy3File again = FareData::parseHy3(FareData::serializeHy3(f.rows));
        if (again.rows.size() != f.rows.size()) __builtin_trap();
    }
    return 0;
}
