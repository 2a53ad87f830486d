#include "widgets/DotGlyph.h"

#include "model/Cp932.h"
#include "widgets/BitmapFace.h"

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
    QFont f = glyphFontOfPixels(family, pixelSize(points));
    f.setBold(bold);
    return f;
}

QFont glyphFontOfPixels(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(std::max(1, pixels));
    f.setStyleStrategy(QFont::NoAntialias);
    // Full hinting keeps the strokes of small Japanese glyphs one pixel wide
    // and on whole pixels, which is what a dot matrix wants.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void fillDots(QImage& strip, int x, int y, const Pattern& pattern, QRgb colour) {
    if (strip.isNull()) return;
    Q_ASSERT(strip.format() == QImage::Format_RGB32);
    const long long w = strip.width();
    const long long h = strip.height();
    uchar* const base = strip.bits();
    const qsizetype stride = strip.bytesPerLine();
    static_assert(DotSize == 2, "the fast path below fills 2 × 2 dots");
    const int cell = Samples * DotPitch;
    if (x >= 0 && y >= 0 && x + cell <= w && y + cell <= h) {
        // The whole cell on the strip: no dot needs its bounds checked.
        for (int r = 0; r < Samples; ++r) {
            const quint32 bits = pattern.rows[static_cast<size_t>(r)];
            if (!bits) continue;
            auto* top = reinterpret_cast<QRgb*>(base + (y + r * DotPitch) * stride) + x;
            auto* bottom = reinterpret_cast<QRgb*>(reinterpret_cast<uchar*>(top) + stride);
            for (quint32 rest = bits; rest; rest &= rest - 1) {
                const int px = std::countr_zero(rest) * DotPitch;
                top[px] = top[px + 1] = bottom[px] = bottom[px + 1] = colour;
            }
        }
        return;
    }
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

// ---- Fitting a drawing onto the grid ------------------------------------------------------

namespace {

using Canvas = BitmapFace::Canvas;
constexpr int Grid = SurfaceSize; // columns and rows that can be lit
constexpr quint32 GridBits = (1u << Grid) - 1;

int inkCount(const Canvas& canvas) {
    int n = 0;
    for (quint32 row : canvas)
        n += std::popcount(row);
    return n;
}

// The ink of a drawing whose natural grid origin lies at (ox, oy) of the
// canvas, moved as little as needed to lie within the grid: right or down
// when it starts before the grid, left or up when it runs past its end.
// Ink that does not fit even then is cut.
Pattern fit(const Canvas& canvas, int ox = 0, int oy = 0) {
    int left = 32, right = -1, top = -1, bottom = -1;
    for (int r = 0; r < int(canvas.size()); ++r) {
        const quint32 row = canvas[size_t(r)];
        if (!row) continue;
        if (top < 0) top = r;
        bottom = r;
        left = std::min(left, std::countr_zero(row));
        right = std::max(right, 31 - std::countl_zero(row));
    }
    Pattern p;
    if (right < 0) return p;
    const auto shift = [](int first, int last) {
        return first < 0 ? -first : -std::min(first, std::max(0, last - (Grid - 1)));
    };
    const int dx = shift(left - ox, right - ox) - ox; // canvas column + dx = grid column
    const int dy = shift(top - oy, bottom - oy) - oy;
    for (int r = 0; r < Grid; ++r) {
        const int from = r - dy;
        if (from < 0 || from >= int(canvas.size())) continue;
        const quint32 row = canvas[size_t(from)];
        p.rows[size_t(r)] = (dx >= 0 ? row << dx : row >> -dx) & GridBits;
    }
    return p;
}

// The bold of a pattern: every dot doubled to its right, or to its left when
// that would leave the grid.
Pattern thickened(const Pattern& p) {
    bool atRight = false;
    for (quint32 row : p.rows)
        atRight = atRight || (row >> (Grid - 1)) & 1u;
    Pattern out;
    for (size_t r = 0; r < p.rows.size(); ++r)
        out.rows[r] = (p.rows[r] | (atRight ? p.rows[r] >> 1 : p.rows[r] << 1)) & GridBits;
    return out;
}

// The JIS X 0208 code of a two-byte CP932 character, 0 outside its area.
quint16 jisOf(quint8 s1, quint8 s2) {
    int row;
    if (s1 >= 0x81 && s1 <= 0x9F)
        row = s1 - 0x81;
    else if (s1 >= 0xE0 && s1 <= 0xEF)
        row = s1 - 0xC1;
    else
        return 0;
    if (s2 < 0x40 || s2 == 0x7F || s2 > 0xFC) return 0;
    int j1 = 2 * row + 0x21, j2;
    if (s2 >= 0x9F) {
        ++j1;
        j2 = s2 - 0x7E;
    } else {
        j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
    }
    return static_cast<quint16>(j1 << 8 | j2);
}

bool isLeadByte(quint8 b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

std::optional<Pattern> designed(StopNameLayout::Face face, int pixelSize, bool bold, int top,
                                const QString& text) {
    const bool gothic = face == StopNameLayout::Face::Gothic;
    const BitmapFace* full = nullptr;
    const BitmapFace* latin = nullptr;
    const BitmapFace* kana = nullptr;
    if ((pixelSize == 18 || pixelSize == 19) && gothic) {
        full = BitmapFace::find(bold ? u"k18gmb.pcf.gz"_qs : u"k18gm.pcf.gz"_qs);
        latin = BitmapFace::find(bold ? u"9x18gmb.pcf.gz"_qs : u"9x18gm.pcf.gz"_qs);
        kana = BitmapFace::find(bold ? u"9x18grkmb.pcf.gz"_qs : u"9x18grkm.pcf.gz"_qs);
    } else if (pixelSize == 16) {
        full = BitmapFace::find(gothic ? (bold ? u"shnmk16b.pcf.gz"_qs : u"shnmk16.pcf.gz"_qs)
                                       : (bold ? u"shnmk16minb.pcf.gz"_qs : u"shnmk16min.pcf.gz"_qs));
    }
    if (!full) return std::nullopt;
    const QByteArray bytes = Cp932::encode(text);
    Canvas canvas{};
    int x = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<quint8>(bytes[i]);
        if (isLeadByte(b) && i + 1 < bytes.size()) {
            const quint16 code = jisOf(b, static_cast<quint8>(bytes[++i]));
            if (!code || !full->draw(code, canvas, x, top)) return std::nullopt;
            x += full->cellHeight();
        } else if (b >= 0x20 && b < 0x7F && latin) {
            if (!latin->draw(b, canvas, x, top)) return std::nullopt;
            x += Grid / 2;
        } else if (b >= 0xA1 && b <= 0xDF && kana) {
            if (!kana->draw(b, canvas, x, top)) return std::nullopt;
            x += Grid / 2;
        } else {
            return std::nullopt;
        }
    }
    return fit(canvas);
}

Sampled sampleOutline(const QString& family, int pixelSize, bool bold, int top,
                      const QString& text) {
    // Drawn with a margin, so that ink before the grid's start is seen too.
    constexpr int Margin = 6;
    Sampled out;
    for (int size = pixelSize; size > 0 && size >= pixelSize - 4; --size) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QFont font = glyphFontOfPixels(family, size);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::TextAntialiasing, false);
            p.setFont(font);
            p.setPen(Qt::black);
            // The top of the text line at the vertical start.
            p.drawText(QPointF(Margin, Margin + top + QFontMetrics(font).ascent()), text);
        }
        Canvas canvas{};
        int width = 0, height = 0;
        {
            int left = 32, right = -1, first = -1, last = -1;
            for (int r = 0; r < 32; ++r) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(r));
                for (int c = 0; c < 32; ++c)
                    if ((line[c] & 0x00FFFFFFu) == 0) {
                        canvas[size_t(r)] |= 1u << c;
                        left = std::min(left, c);
                        right = std::max(right, c);
                        if (first < 0) first = r;
                        last = r;
                    }
            }
            width = right - left + 1;
            height = last - first + 1;
        }
        // Too large for the grid: smaller, as far as it goes.
        if ((width > Grid || height > Grid) && size > pixelSize - 4 && size > 1) continue;
        out.pattern = fit(canvas, Margin, Margin);
        out.lost = inkCount(canvas) - out.pattern.count();
        out.pixelSize = size;
        break;
    }
    if (bold) out.pattern = thickened(out.pattern);
    return out;
}

Pattern Surface::dots(const QString& text) {
    if (text.isEmpty()) return {};
    const int size = pixelSize(points_);
    const Key key{text, face_, bold_, size, top_};
    if (const auto it = cache_.constFind(key); it != cache_.constEnd()) return *it;
    std::optional<Pattern> pattern = designed(face_, size, bold_, top_, text);
    if (!pattern)
        pattern = sampleOutline(StopNameLayout::faceFamily(face_), size, bold_, top_, text).pattern;
    if (cache_.size() >= MaxRemembered) cache_.clear();
    cache_.insert(key, *pattern);
    return *pattern;
}

size_t qHash(const Surface::Key& key, size_t seed) {
    return qHashMulti(seed, key.text, int(key.face), key.bold, key.pixelSize, key.top);
}

} // namespace DotGlyph
