#include "widgets/BitmapFace.h"

#include <QFile>
#include <QHash>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

namespace {

// The folders where Debian's X11 font packages put their PCF files.
const char* const FontFolders[] = {"/usr/share/fonts/X11/misc/",
                                   "/usr/local/share/fonts/X11/misc/"};

FT_Library library() {
    static struct Library {
        FT_Library handle = nullptr;
        Library() { FT_Init_FreeType(&handle); }
        ~Library() {
            if (handle) FT_Done_FreeType(handle);
        }
    } lib;
    return lib.handle;
}

// The whole of a file, gzip-compressed or not, in memory: FreeType then reads
// glyphs at random without decompressing from the start each time.
std::vector<unsigned char> readWhole(const QByteArray& path) {
    std::vector<unsigned char> data;
    gzFile file = gzopen(path.constData(), "rb");
    if (!file) return data;
    unsigned char buffer[65536];
    for (int n; (n = gzread(file, buffer, sizeof buffer)) > 0;)
        data.insert(data.end(), buffer, buffer + n);
    gzclose(file);
    return data;
}

} // namespace

const BitmapFace* BitmapFace::find(const QString& fileName) {
    // The library first, so that it outlives the faces kept here.
    if (!library()) return nullptr;
    static QHash<QString, std::shared_ptr<BitmapFace>> opened;
    if (const auto it = opened.constFind(fileName); it != opened.constEnd()) return it->get();
    std::shared_ptr<BitmapFace> face;
    for (const char* folder : FontFolders) {
        const QByteArray path = QFile::encodeName(QString::fromLatin1(folder) + fileName);
        std::vector<unsigned char> data = readWhole(path);
        FT_Face f = nullptr;
        if (data.empty() ||
            FT_New_Memory_Face(library(), data.data(), FT_Long(data.size()), 0, &f) != 0)
            continue;
        // A bitmap face with one strike and one charmap, used as they are.
        if (f->num_fixed_sizes < 1 || f->num_charmaps < 1 || FT_Select_Size(f, 0) != 0 ||
            FT_Set_Charmap(f, f->charmaps[0]) != 0) {
            FT_Done_Face(f);
            continue;
        }
        face.reset(new BitmapFace(f, std::move(data)));
        break;
    }
    opened.insert(fileName, face);
    return face.get();
}

BitmapFace::BitmapFace(FT_FaceRec_* face, std::vector<unsigned char> data)
    : data_(std::move(data)), face_(face) {
    cellHeight_ = face_->available_sizes[0].height;
    ascent_ = static_cast<int>(face_->size->metrics.ascender >> 6);
}

BitmapFace::~BitmapFace() {
    FT_Done_Face(face_);
}

bool BitmapFace::draw(quint32 code, Canvas& canvas, int x, int top) const {
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
        return false;
    const FT_GlyphSlot g = face_->glyph;
    const FT_Bitmap& b = g->bitmap;
    if (b.pixel_mode != FT_PIXEL_MODE_MONO) return false;
    const int left = x + g->bitmap_left;
    const int first = top + ascent_ - g->bitmap_top;
    for (unsigned r = 0; r < b.rows; ++r) {
        const int row = first + int(r);
        if (row < 0 || row >= int(canvas.size())) continue;
        const unsigned char* line = b.buffer + int(r) * b.pitch;
        for (unsigned c = 0; c < b.width; ++c) {
            const int column = left + int(c);
            if (column < 0 || column >= 32) continue;
            if ((line[c / 8] >> (7 - c % 8)) & 1) canvas[size_t(row)] |= 1u << column;
        }
    }
    return true;
}
