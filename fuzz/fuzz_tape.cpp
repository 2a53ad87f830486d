// Feeds arbitrary bytes to the announcement file reader: it must either
// read rows or raise one of its errors, never crash or read beyond its input.
// What it reads, written again, reads back as the same rows, but for the
// texts the writer says it changed.
#include "model/K40Error.h"
#include "model/TapeFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<TapeRow> rows;
    try {
        rows = TapeFile::parse(bytes);
    } catch (const K40Error&) {
        return 0;
    }
    if (rows.size() > size + 1) __builtin_trap();
    // The file written reads without error (an error escapes, as a crash).
    const TapeWriting written = TapeFile::write(rows);
    for (const TapeWriting::Change& c : written.changed) rows[c.row].text = c.written;
    if (TapeFile::parse(written.bytes) != rows) __builtin_trap();
    return 0;
}
