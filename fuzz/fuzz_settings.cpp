// Feeds arbitrary bytes to the settings file reader: it must stop with error
// 62 at the end of the input, never read beyond it, and what it reads must
// write back to a file that reads again. (Texts with bytes that are not valid
// CP932 need not come back byte for byte: a kept stray byte may pair up with
// the next character when written again.)
#include "model/K40Error.h"
#include "model/SettingsRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsRecord r;
    try {
        SettingsCodec::decode(bytes, r);
    } catch (const K40Error& e) {
        if (e.number() != K40Error::InputPastEnd) __builtin_trap();
        return 0;
    }
    SettingsRecord again;
    SettingsCodec::decode(SettingsCodec::encode(r), again);
    if (again.DigitCellSettings != r.DigitCellSettings || again.CustomColors != r.CustomColors) __builtin_trap();
    return 0;
}
