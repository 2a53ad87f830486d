#pragma once
// Turning one character into dots: a pattern on a grid of 18 × 18 dots. A lit
// dot (c, r) of a character placed at (x, y) becomes a 2 × 2 square at
// (x + 3c, y + 3r) on the strip, so a character keeps within 54 × 54 pixels.
// The grid's 19th column and row are never lit.
//
// Where a face designed dot by dot has the character at the size asked, its
// dots are taken as they are: the 18-dot Gothic and bold Gothic of xfonts-ayu
// for names and "次", the 16-dot Gothic and Mincho of xfonts-shinonome for the
// small "は". Other characters and faces (the Mincho names) are drawn without
// smoothing from the outline face and sampled: every exactly black pixel is a
// dot. A sampled glyph is moved, and if need be made smaller, so that no
// stroke falls off the grid, and its bold is the regular pattern thickened by
// one dot.
//
// The dots a character gives depend only on the text, the face, bold, the
// type size and the vertical start, so the surface remembers them: drawing a
// name a second time samples nothing.

#include "model/StopNameLayout.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <array>
#include <optional>

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
QFont glyphFontOfPixels(const QString& family, int pixels);

// The dots of text in a designed face at pixelSize, its cell's top at row
// top; nothing when no designed face of that size has every character.
std::optional<Pattern> designed(StopNameLayout::Face face, int pixelSize, bool bold, int top,
                                const QString& text);

// The dots of text drawn from an outline face at pixelSize (or up to four
// pixels smaller, so that it fits the grid), its line's top at row top, and
// how many of its pixels found no dot.
struct Sampled {
    Pattern pattern;
    int lost = 0;
    int pixelSize = 0;
};
Sampled sampleOutline(const QString& family, int pixelSize, bool bold, int top,
                      const QString& text);

// The dots of pattern on strip for a character cell at (x, y), in colour;
// parts outside the strip are left out.
void fillDots(QImage& strip, int x, int y, const Pattern& pattern, QRgb colour);

// The text of a unit as it can be drawn: bytes that are no whole character
// (the halves of a two-byte character cut by the unit split) draw nothing.
QString drawableText(const QString& unit);

// The glyph surface with the face, size, bold and vertical start it has at
// the moment, and the dots of every character drawn on it so far.
class Surface {
public:
    static constexpr int MaxRemembered = 4096;

    Surface() = default;

    void setFace(StopNameLayout::Face face) { face_ = face; }
    void setPoints(double points) { points_ = points; }
    void setBold(bool bold) { bold_ = bold; }
    void setTop(int top) { top_ = top; }
    StopNameLayout::Face face() const { return face_; }
    double points() const { return points_; }
    bool bold() const { return bold_; }
    int top() const { return top_; }

    // The dots of text in the current face, size and weight, its top at the
    // vertical start. A text met before with the same settings is not drawn
    // again.
    Pattern dots(const QString& text);

    int remembered() const { return static_cast<int>(cache_.size()); }
    void forget() { cache_.clear(); }

    struct Key {
        QString text;
        StopNameLayout::Face face;
        bool bold;
        int pixelSize;
        int top;
        bool operator==(const Key&) const = default;
    };

private:
    StopNameLayout::Face face_ = StopNameLayout::Face::Gothic;
    double points_ = 14.25;
    bool bold_ = false;
    int top_ = 0;
    QHash<Key, Pattern> cache_;
};

size_t qHash(const Surface::Key& key, size_t seed = 0);

} // namespace DotGlyph
