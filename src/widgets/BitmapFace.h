#pragma once
// A face designed dot by dot: a PCF bitmap font (gzip-compressed or not) read
// with FreeType from memory, as the X11 font packages install them. Its one charmap is
// used as it is: the JIS X 0208 faces are indexed by the JIS code, the
// half-width faces by their ISO 8859-1 or JIS X 0201 byte.

#include <QString>
#include <array>
#include <memory>
#include <vector>

struct FT_FaceRec_;

class BitmapFace {
public:
    // Rows of dots: bit c of rows[r] is column c.
    using Canvas = std::array<quint32, 32>;

    // The face of a file in the X11 font folders ("k18gm.pcf.gz"), opened once
    // and kept; nullptr when it is missing or unreadable.
    static const BitmapFace* find(const QString& fileName);

    ~BitmapFace();
    BitmapFace(const BitmapFace&) = delete;
    BitmapFace& operator=(const BitmapFace&) = delete;

    // The height of its character cells in dots.
    int cellHeight() const { return cellHeight_; }

    // Draws the glyph of code with its cell's top-left corner at column x and
    // row top of canvas; false (and nothing drawn) when the face lacks it.
    bool draw(quint32 code, Canvas& canvas, int x, int top) const;

private:
    BitmapFace(FT_FaceRec_* face, std::vector<unsigned char> data);
    std::vector<unsigned char> data_; // the file, which the face reads from
    FT_FaceRec_* face_;
    int cellHeight_ = 0;
    int ascent_ = 0;
};
