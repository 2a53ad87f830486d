// Feeds arbitrary bytes to the ticket plug-in reader: it must either accept
// a plug-in or refuse it, never crash, hang or run away with memory; the
// texts and barcodes of an accepted plug-in must fill and encode, and every
// text, filled with a stop name of 32769 characters (surrogate pairs after
// the first), must stay within TicketPlugin::MaxText.
#include "model/Codabar.h"
#include "model/TicketPlugin.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto plugin = TicketPlugin::parse(bytes);
    if (!plugin) return 0;
    if (plugin->elements.size() > size_t(TicketPlugin::MaxElements)) __builtin_trap();
    static const QString longName = QStringLiteral("停") + QStringLiteral("𠮷").repeated(16384);
    FareRow::TicketDrawing t;
    t.stopName = longName;
    t.dateText = QStringLiteral("03-07-2024");
    t.timeText = QStringLiteral("14:05:09");
    t.routeNumber = -2147483647 - 1;
    t.ticketNumber = -32768;
    t.section = 301;
    t.companyIndex = 5;
    for (const TicketElement& e : plugin->elements) {
        const QString text = plugin->fill(e.content, t);
        if (text.size() > TicketPlugin::MaxText) __builtin_trap();
        // Every barcode a plug-in may hold encodes, whatever the numbers.
        if (e.kind == TicketElement::Kind::Barcode && !Codabar::encode(text)) __builtin_trap();
    }
    return 0;
}
