#include "widgets/PluginTicketEngine.h"

#include "model/Codabar.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {

QColor argb(quint32 c) {
    return QColor::fromRgba(c);
}

void drawText(QPainter& p, const TicketElement& e, const QString& text) {
    QFont font(e.font.isEmpty() ? PluginTicketEngine::standardFont() : e.font);
    font.setPixelSize(std::max(1, int(std::lround(e.size))));
    font.setBold(e.bold);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    // A text wider than its box is condensed to fit, never cut.
    const double scale = width > e.box.width() && width > 0 ? e.box.width() / width : 1.0;
    double x = e.box.left();
    if (e.align == TicketElement::Align::Center) x += (e.box.width() - width * scale) / 2;
    if (e.align == TicketElement::Align::Right) x += e.box.width() - width * scale;
    const double baseline = e.box.top() +
                            (e.box.height() - metrics.ascent() - metrics.descent()) / 2 +
                            metrics.ascent();
    p.save();
    p.setFont(font);
    p.setPen(argb(e.color));
    p.translate(x, baseline);
    p.scale(scale, 1);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

// Bars of whole pixels, as wide as fits the box, centred in it. Bars of one
// pixel that still do not fit start at the box's left edge.
void drawBarcode(QPainter& p, const TicketElement& e, const QString& data) {
    const auto elements = Codabar::encode(data);
    if (!elements) return;
    double units = 0;
    for (const Codabar::Element& el : *elements)
        units += el.wide ? e.ratio : 1;
    const int narrow = std::max(1, int(std::floor(e.box.width() / units)));
    const int wide = int(std::lround(narrow * e.ratio));
    int total = 0;
    for (const Codabar::Element& el : *elements)
        total += el.wide ? wide : narrow;
    int x = int(std::lround(e.box.left() + std::max(0.0, (e.box.width() - total) / 2)));
    const int top = int(std::lround(e.box.top()));
    const int height = int(std::lround(e.box.height()));
    for (const Codabar::Element& el : *elements) {
        const int w = el.wide ? wide : narrow;
        if (el.bar) p.fillRect(QRect(x, top, w, height), argb(e.color));
        x += w;
    }
}

} // namespace

QString PluginTicketEngine::standardFont() {
    return QStringLiteral("IPAGothic");
}

const TicketPlugin* PluginTicketEngine::find(const QString& path) {
    if (path.isEmpty()) return nullptr;
    const QFileInfo file(path);
    Entry& entry = plugins_[path];
    if (entry.size != file.size() || entry.modified != file.lastModified() || !file.exists()) {
        entry.size = file.size();
        entry.modified = file.lastModified();
        entry.plugin = TicketPlugin::load(path);
    }
    return entry.plugin ? &*entry.plugin : nullptr;
}

bool PluginTicketEngine::pluginInfo(const QString& path, TicketPluginInfo& info) {
    const TicketPlugin* plugin = find(path);
    if (plugin) info = plugin->info;
    return plugin != nullptr;
}

QString PluginTicketEngine::remarks(const QString& path) {
    const TicketPlugin* plugin = find(path);
    return plugin ? plugin->remarks : QString();
}

QStringList PluginTicketEngine::companyNames(const QString& path) {
    const TicketPlugin* plugin = find(path);
    return plugin ? plugin->companies : QStringList();
}

void PluginTicketEngine::drawTicket(QPaintDevice* device, FareRow::TicketDrawing& ticket) {
    const TicketPlugin* plugin = find(ticket.pluginPath);
    if (!plugin || !device) return;
    QPainter painter(device);
    draw(*plugin, ticket, painter, QSizeF(device->width(), device->height()));
}

void PluginTicketEngine::draw(const TicketPlugin& plugin, const FareRow::TicketDrawing& ticket,
                              QPainter& p, const QSizeF& size) {
    p.setRenderHint(QPainter::TextAntialiasing);
    qsizetype characters = TicketPlugin::MaxTicketText; // the texts' share left
    for (const TicketElement& e : plugin.elements) {
        switch (e.kind) {
        case TicketElement::Kind::Paper:
            p.fillRect(QRectF(QPointF(0, 0), size), argb(e.color));
            break;
        case TicketElement::Kind::Frame: {
            const double inset = e.box.left() + e.lineWidth / 2;
            p.setPen(QPen(argb(e.color), e.lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset));
            break;
        }
        case TicketElement::Kind::Text: {
            const QString text = plugin.fill(e.content, ticket);
            if (text.size() > characters) break;
            characters -= text.size();
            drawText(p, e, text);
            break;
        }
        case TicketElement::Kind::Line:
            p.setPen(QPen(argb(e.color), e.lineWidth, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(e.line);
            break;
        case TicketElement::Kind::Rect:
            p.setPen(e.color ? QPen(argb(e.color), e.lineWidth) : QPen(Qt::NoPen));
            p.setBrush(e.fill ? QBrush(argb(e.fill)) : QBrush(Qt::NoBrush));
            p.drawRect(e.box);
            break;
        case TicketElement::Kind::Barcode:
            drawBarcode(p, e, plugin.fill(e.content, ticket));
            break;
        }
    }
}
