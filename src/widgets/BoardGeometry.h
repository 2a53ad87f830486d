#pragma once
// Where the parts of the fare board stand, in twips from the board's top
// left corner (15 twips to the pixel at 100 %): the fare cells under their
// ticket-number labels and the stop-name strip. The 24-cell board has three
// rows of eight; the larger boards have ten cells to a row and three to six
// rows, their first rows and columns where the 24-cell board has them and the
// rest at the same pitch. The board window places its widgets here and the
// built-in board picture (BoardArt) draws its windows here, so the two cannot
// drift apart. At another size than 100 % (a scale s) everything stands s
// times as far and as large, its edges rounded to whole pixels.

#include "model/BoardChoice.h"
#include "widgets/Units.h"

#include <QRectF>

namespace BoardGeometry {

// The 24-cell board.
constexpr int WidthPx = 582, HeightPx = 292;
constexpr int Rows = 3, Columns = 8;

constexpr int CellLeft[Columns] = {720, 1686, 2652, 3618, 4584, 5550, 6516, 7485};
constexpr int CellTop[Rows] = {1935, 2730, 3525};
constexpr int CellWidth = 855, CellHeight = 435;
constexpr int LabelLeft[Columns] = {757, 1723, 2689, 3655, 4621, 5587, 6553, 7522};
constexpr int LabelTop[Rows] = {1620, 2430, 3225};
constexpr int LabelWidth = 780, LabelHeight = 240;
constexpr int StripLeft = 1635, StripTop = 277;
constexpr int StripWidthPx = 432, StripHeightPx = 56;
// Beyond the 24-cell board's columns and rows, and the margins right of the
// last column and below the last row.
constexpr int ColumnPitch = 966, RowPitch = 795, LabelAbove = 300;
constexpr int RightMargin = 390, BottomMargin = 420;

// Ticket i (1..cells) stands in row (i - 1) / columns, column (i - 1) % columns.
inline int rowOf(int ticket, int columns = Columns) { return (ticket - 1) / columns; }
inline int columnOf(int ticket, int columns = Columns) { return (ticket - 1) % columns; }

inline int cellLeft(int column) {
    return column < Columns ? CellLeft[column] : CellLeft[Columns - 1] + (column - 7) * ColumnPitch;
}
inline int cellTop(int row) {
    return row < Rows ? CellTop[row] : CellTop[Rows - 1] + (row - 2) * RowPitch;
}
inline int labelLeft(int column) { return cellLeft(column) + LabelLeft[0] - CellLeft[0]; }
inline int labelTop(int row) { return row < Rows ? LabelTop[row] : cellTop(row) - LabelAbove; }

// The size of a board, in twips and in whole pixels.
inline int widthTwips(const BoardChoice& b) {
    return cellLeft(b.columns() - 1) + CellWidth + RightMargin;
}
inline int heightTwips(const BoardChoice& b) {
    return cellTop(b.rows() - 1) + CellHeight + BottomMargin;
}
inline QSize size(const BoardChoice& b, qreal s = 1) {
    if (b.grid == BoardChoice::Grid::Standard)
        return s == 1 ? QSize(WidthPx, HeightPx) : QSize(qRound(WidthPx * s), qRound(HeightPx * s));
    return {qRound(widthTwips(b) * s / Units::TwipsPerPixel),
            qRound(heightTwips(b) * s / Units::TwipsPerPixel)};
}

// A rectangle given in twips, in whole pixels at scale s: at 100 % as
// Units::rect() rounds it, else by its rounded edges.
inline QRect rect(double left, double top, double width, double height, qreal s = 1) {
    if (s == 1) return Units::rect(left, top, width, height);
    const double k = s / Units::TwipsPerPixel;
    const int x = qRound(left * k), y = qRound(top * k);
    return QRect(x, y, qRound((left + width) * k) - x, qRound((top + height) * k) - y);
}

// In whole pixels, where the widgets go.
inline QRect cellRect(int ticket, int columns = Columns, qreal s = 1) {
    return rect(cellLeft(columnOf(ticket, columns)), cellTop(rowOf(ticket, columns)), CellWidth,
                CellHeight, s);
}
inline QRect labelRect(int ticket, int columns = Columns, qreal s = 1) {
    return rect(labelLeft(columnOf(ticket, columns)), labelTop(rowOf(ticket, columns)),
                LabelWidth, LabelHeight, s);
}
// The strip stands where the 24-cell board has it, centred on a wider board.
inline int stripLeft(const BoardChoice& b) {
    return b.grid == BoardChoice::Grid::Standard
               ? StripLeft
               : (widthTwips(b) - StripWidthPx * Units::TwipsPerPixel) / 2;
}
inline QPoint stripPosition(const BoardChoice& b = {}, qreal s = 1) {
    return rect(stripLeft(b), StripTop, 0, 0, s).topLeft();
}

// Exactly, in pixels, for drawing.
inline QRectF exact(double left, double top, double width, double height) {
    constexpr double t = Units::TwipsPerPixel;
    return {left / t, top / t, width / t, height / t};
}
inline QRectF exactCell(int row, int column) {
    return exact(cellLeft(column), cellTop(row), CellWidth, CellHeight);
}
inline QRectF exactLabel(int row, int column) {
    return exact(labelLeft(column), labelTop(row), LabelWidth, LabelHeight);
}
inline QRectF exactStrip(const BoardChoice& b = {}) {
    return {stripLeft(b) / double(Units::TwipsPerPixel), StripTop / double(Units::TwipsPerPixel),
            double(StripWidthPx), double(StripHeightPx)};
}

} // namespace BoardGeometry
