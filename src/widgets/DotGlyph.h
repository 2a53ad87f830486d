#pragma once
// Turning one character into dots. The character is drawn without smoothing,
// black on white, on an 18 × 18 glyph surface; the surface is sampled on a
// 19 × 19 grid and every sample whose pixel is exactly black is a lit dot.
// Samples in column 18 or row 18 lie outside the surface and are never lit.
// A lit sample (c, r) of a character placed at (x, y) becomes a 2 × 2 square
// at (x + 3c, y + 3r) on the strip, so a character keeps within 54 × 54 pixels.
//
// The dots a character gives depend only on the text, the typeface, bold, the
// type size and the vertical start, so the surface remembers them: drawing a
// name a second time samples nothing.

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <array>

namespace DotGlyph {

constexpr int SurfaceSize = 18;
constexpr int Samples = 19;
constexpr int DotPitch = 3;
constexpr int DotSize = 2;

// The lit samples of one character: bit c of rows[r].
struct Pattern {
    std::array<quint32, Samples> rows{};
    bool lit(int c, int r) const;
    int count() const;
    bool operator==(const Pattern&) const = default;
};

// Type sizes are given in points as on a 96-dpi screen: 14.25 and 14 points
// are both 19 pixels, 12 points are 16 pixels.
int pixelSize(double points);

// The font a glyph is drawn with: pixel size as above, no smoothing.
QFont glyphFont(const QString& family, double points, bool bold);

// Samples an 18 × 18 surface on the 19 × 19 grid.
Pattern sample(const QImage& surface);

// The dots of pattern on strip for a character cell at (x, y), in colour;
// parts outside the strip are left out.
void fillDots(QImage& strip, int x, int y, const Pattern& pattern, QRgb colour);

// The text of a unit as it can be drawn: bytes that are no whole character
// (the halves of a two-byte character cut by the unit split) draw nothing.
QString drawableText(const QString& unit);

// The hidden glyph surface with the typeface, size, bold and vertical start
// it has at the moment, and the dots of every character drawn on it so far.
class Surface {
public:
    static constexpr int MaxRemembered = 4096;

    Surface();

    // Clears the surface to white.
    void clear();

    void setFamily(const QString& family) { family_ = family; }
    void setPoints(double points) { points_ = points; }
    void setBold(bool bold) { bold_ = bold; }
    void setTop(int top) { top_ = top; }
    const QString& family() const { return family_; }
    double points() const { return points_; }
    bool bold() const { return bold_; }
    int top() const { return top_; }
    QFont font() const;

    // The lit samples of text drawn at (0, top) with the current font. A text
    // met before with the same font and start is not drawn again; the surface
    // then keeps the last glyph that was drawn.
    Pattern dots(const QString& text);

    const QImage& image() const { return image_; }
    int remembered() const { return static_cast<int>(cache_.size()); }
    void forget() { cache_.clear(); }

    struct Key {
        QString text;
        QString family;
        bool bold;
        int pixelSize;
        int top;
        bool operator==(const Key&) const = default;
    };

private:
    QImage image_;
    QString family_;
    double points_;
    bool bold_ = false;
    int top_ = 0;
    QHash<Key, Pattern> cache_;
};

size_t qHash(const Surface::Key& key, size_t seed = 0);

} // namespace DotGlyph
