// Feeds arbitrary bytes to the settings file reader: it must stop with error
// 62 at the end of the input, never read beyond it, and what it reads must
// write back to a file that reads again, with no field out of range when
// none was. (Texts with bytes that are not valid CP932 need not come back
// byte for byte: a kept stray byte may pair up with the next character when
// written again.)
#include "model/K40Error.h"
#include "model/SettingsRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsCodec::Decoded d;
    try {
        d = SettingsCodec::decode(bytes);
    } catch (const K40Error& e) {
        if (e.number() != K40Error::InputPastEnd) __builtin_trap();
        return 0;
    }
    if (d.problem.has_value() == (d.fieldsTaken == SettingsCodec::fieldCount())) __builtin_trap();
    SettingsCodec::Decoded again;
    try {
        again = SettingsCodec::decode(SettingsCodec::encode(d.record));
    } catch (const K40Error& e) {
        if (e.number() != K40Error::Overflow) __builtin_trap(); // a text grown past 65535 bytes
        return 0;
    }
    // A field left out keeps the record's default, which may be out of range
    // itself (a scroll speed of 0): only a whole read must read again whole.
    if ((!d.problem && again.problem) ||
        again.record.digitCells != d.record.digitCells ||
        again.record.customColors != d.record.customColors ||
        again.record.ticketDate != d.record.ticketDate)
        __builtin_trap();
    return 0;
}
