#include "widgets/DotGlyph.h"

#include "model/StopNameLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <bit>
#include <cmath>

namespace DotGlyph {

bool Pattern::lit(int c, int r) const {
    if (c < 0 || c >= Samples || r < 0 || r >= Samples) return false;
    return (rows[static_cast<size_t>(r)] >> c) & 1u;
}

int Pattern::count() const {
    int n = 0;
    for (quint32 row : rows)
        n += std::popcount(row);
    return n;
}

int pixelSize(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont glyphFont(const QString& family, double points, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelSize(points));
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    // Full hinting keeps the strokes of small Japanese glyphs one pixel wide
    // and on whole pixels, which is what a dot matrix wants.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

Pattern sample(const QImage& surface) {
    Pattern out;
    const int w = std::min(surface.width(), SurfaceSize);
    const int h = std::min(surface.height(), SurfaceSize);
    const QImage img = surface.format() == QImage::Format_RGB32
                           ? surface
                           : surface.convertToFormat(QImage::Format_RGB32);
    // Column 18 and row 18 are outside the surface: never lit.
    for (int r = 0; r < h; ++r) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(r));
        quint32 bits = 0;
        for (int c = 0; c < w; ++c)
            if ((line[c] & 0x00FFFFFFu) == 0) bits |= 1u << c;
        out.rows[static_cast<size_t>(r)] = bits;
    }
    return out;
}

void fillDots(QImage& strip, int x, int y, const Pattern& pattern, QRgb colour) {
    if (strip.isNull()) return;
    Q_ASSERT(strip.format() == QImage::Format_RGB32);
    const long long w = strip.width();
    const long long h = strip.height();
    uchar* const base = strip.bits();
    const qsizetype stride = strip.bytesPerLine();
    for (int r = 0; r < Samples; ++r) {
        const quint32 bits = pattern.rows[static_cast<size_t>(r)];
        if (!bits) continue;
        for (int dy = 0; dy < DotSize; ++dy) {
            const long long py = static_cast<long long>(y) + r * DotPitch + dy;
            if (py < 0 || py >= h) continue;
            auto* line = reinterpret_cast<QRgb*>(base + py * stride);
            for (quint32 rest = bits; rest; rest &= rest - 1) {
                const long long px = static_cast<long long>(x) + std::countr_zero(rest) * DotPitch;
                for (int dx = 0; dx < DotSize; ++dx)
                    if (px + dx >= 0 && px + dx < w) line[px + dx] = colour;
            }
        }
    }
}

QString drawableText(const QString& unit) {
    QString out;
    out.reserve(unit.size());
    for (QChar ch : unit)
        if (ch.unicode() < 0xDC80 || ch.unicode() > 0xDCFF) out.append(ch);
    return out;
}

Surface::Surface()
    : image_(SurfaceSize, SurfaceSize, QImage::Format_RGB32),
      family_(StopNameLayout::faceFamily(StopNameLayout::Face::Gothic)), points_(14.25) {
    clear();
}

void Surface::clear() {
    image_.fill(Qt::white);
}

QFont Surface::font() const {
    return glyphFont(family_, points_, bold_);
}

Pattern Surface::dots(const QString& text) {
    if (text.isEmpty()) return {};
    const Key key{text, family_, bold_, pixelSize(points_), top_};
    if (const auto it = cache_.constFind(key); it != cache_.constEnd()) return *it;

    clear();
    {
        const QFont f = font();
        QPainter p(&image_);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(f);
        p.setPen(Qt::black);
        // The top of the text line at the vertical start, as text is placed
        // by its top-left corner.
        p.drawText(QPointF(0, top_ + QFontMetrics(f).ascent()), text);
    }
    const Pattern pattern = sample(image_);
    if (cache_.size() >= MaxRemembered) cache_.clear();
    cache_.insert(key, pattern);
    return pattern;
}

size_t qHash(const Surface::Key& key, size_t seed) {
    return qHashMulti(seed, key.text, key.family, key.bold, key.pixelSize, key.top);
}

} // namespace DotGlyph
