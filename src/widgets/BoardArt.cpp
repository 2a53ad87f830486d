#include "widgets/BoardArt.h"

#include "widgets/BoardGeometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace BoardArt {

namespace {

namespace G = BoardGeometry;

void recess(QPainter& p, const QRectF& r, double radius, const QColor& fill) {
    // A window sunk into the housing: dark edge above and left, light below.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r.adjusted(-2, -2, 1, 1), radius + 1, radius + 1);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(r.adjusted(-1, -1, 2, 2), radius + 1, radius + 1);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

} // namespace

QImage draw(const BoardChoice& board, qreal ratio) {
    const QSize size = G::size(board);
    const int width = size.width(), height = size.height();
    const int rows = board.rows(), columns = board.columns();
    QImage img(G::size(board, ratio), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn in the pixels of 100 %, as many times as large.
    p.scale(qreal(img.width()) / width, qreal(img.height()) / height);

    // Housing: dark satin grey, lighter at the top edge.
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0, QColor(58, 60, 64));
    body.setColorAt(0.06, QColor(40, 42, 46));
    body.setColorAt(0.94, QColor(30, 31, 34));
    body.setColorAt(1, QColor(18, 18, 20));
    p.fillRect(QRect(0, 0, width, height), body);
    p.setPen(QPen(QColor(80, 82, 88), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, width - 3, height - 3), 5, 5);

    // Stop-name window.
    recess(p, G::exactStrip(board).adjusted(-3, -3, 3, 3), 3, QColor(12, 12, 12));

    // The fare grid: one smoked-glass panel behind the labels and cells.
    const QRectF grid = QRectF(QPointF(G::exactCell(0, 0).left(), G::exactLabel(0, 0).top()),
                               G::exactCell(rows - 1, columns - 1).bottomRight())
                            .adjusted(-8, -6, 8, 6);
    recess(p, grid, 4, QColor(14, 15, 17));
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(26, 30, 36));
            // The plate under a ticket number: as tall as its label, centred
            // over its cell.
            const QRectF cell = G::exactCell(row, col), label = G::exactLabel(row, col);
            p.drawRoundedRect(QRectF(cell.center().x() - label.width() / 2, label.top(),
                                     label.width(), label.height()),
                              2, 2);
            recess(p, cell.adjusted(-1, -1, 1, 1), 1.5, QColor(6, 6, 6));
        }
    }

    // Legends left of the grid and the maker's plate.
    QFont legend(QStringLiteral("ＭＳ Ｐゴシック"));
    legend.setPixelSize(9);
    p.setFont(legend);
    p.setPen(QColor(170, 172, 178));
    for (int row = 0; row < rows; ++row) {
        const QRectF label = G::exactLabel(row, 0), cell = G::exactCell(row, 0);
        p.drawText(QRectF(4, label.top(), 34, label.height()), Qt::AlignCenter,
                   QStringLiteral("整理券"));
        p.drawText(QRectF(4, cell.top() + 6, 34, label.height()), Qt::AlignCenter,
                   QStringLiteral("運賃"));
    }
    p.drawText(QRectF(8, 30, 92, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("次の停留所"));
    p.drawText(QRectF(8, 46, 92, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("NEXT STOP"));

    const QRectF plate(width - 132, height - 21, 120, 15);
    QLinearGradient metal(plate.topLeft(), plate.bottomLeft());
    metal.setColorAt(0, QColor(196, 198, 202));
    metal.setColorAt(1, QColor(130, 132, 138));
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.setBrush(metal);
    p.drawRoundedRect(plate, 2, 2);
    QFont maker(QStringLiteral("ＭＳ ゴシック"));
    maker.setPixelSize(10);
    maker.setBold(true);
    p.setFont(maker);
    p.setPen(QColor(36, 38, 44));
    p.drawText(plate, Qt::AlignCenter, QStringLiteral("カルテラ 運賃表示器 K40"));
    for (double x : {plate.left() + 4, plate.right() - 4}) { // two screws
        p.setBrush(QColor(90, 92, 96));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(x, plate.center().y()), 1.6, 1.6);
    }
    return img;
}


} // namespace BoardArt
