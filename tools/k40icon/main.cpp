// k40icon: draws K40's icon, 256 x 256 pixels: one cell of the fare board,
// its ticket number above a lit fare in segment digits, under a strip of
// amber dots that spell K40.
//   k40icon <out.png>

#include "widgets/Typefaces.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

namespace {

constexpr int kSize = 256;

QImage draw() {
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // The housing.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x2d, 0x33));
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 36, 36);

    // The strip: a row of amber dots, some lit.
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawRoundedRect(QRectF(28, 28, 200, 50), 8, 8);
    // "K40" in a face of 3 x 5 dots.
    static const char* const kDots[5] = {"0101010101110", "0101010101010", "0110011101010",
                                         "0101000101010", "0101000101110"};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 13; ++col) {
            const bool lit = kDots[row][col] == '1';
            p.setBrush(lit ? QColor(0xff, 0xa5, 0x00) : QColor(0x3a, 0x2a, 0x10));
            p.drawEllipse(QPointF(80 + col * 8, 37 + row * 8), 3.2, 3.2);
        }

    // The ticket number, white on black.
    p.setBrush(Qt::black);
    p.drawRect(QRectF(40, 96, 176, 44));
    QFont label(QStringLiteral("IPAGothic"));
    label.setPixelSize(36);
    label.setBold(true);
    p.setFont(label);
    p.setPen(Qt::white);
    p.drawText(QRectF(40, 96, 176, 44), Qt::AlignCenter, QStringLiteral("12"));

    // The fare: red segment digits over their unlit eights.
    const QRectF cell(40, 150, 176, 72);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawRect(cell);
    QFont digits = Typefaces::digitFont(Typefaces::digitFamily(0), true);
    digits.setPixelSize(54);
    p.setFont(digits);
    p.setPen(QColor(0x40, 0x18, 0x18));
    p.drawText(cell, Qt::AlignCenter, QStringLiteral("888"));
    p.setPen(QColor(0xff, 0x30, 0x20));
    p.drawText(cell, Qt::AlignCenter, QStringLiteral("210"));
    return img;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: k40icon <out.png>\n";
        return 2;
    }
    Typefaces::registerSubstitutions();
    if (!draw().save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "k40icon: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
