#pragma once
// Where the parts of the fare board stand, in twips from the board's top
// left corner (15 twips to the pixel at 100 %): the 24 fare cells under their
// ticket-number labels, three rows of eight, and the stop-name strip. The
// board window places its widgets here and the built-in board picture
// (tools/boardart) draws its windows here, so the two cannot drift apart.

#include "widgets/Units.h"

#include <QRectF>

namespace BoardGeometry {

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

// Ticket i (1..24) stands in row (i - 1) / 8, column (i - 1) % 8.
inline int rowOf(int ticket) { return (ticket - 1) / Columns; }
inline int columnOf(int ticket) { return (ticket - 1) % Columns; }

// In whole pixels, where the widgets go.
inline QRect cellRect(int ticket) {
    return Units::rect(CellLeft[columnOf(ticket)], CellTop[rowOf(ticket)], CellWidth, CellHeight);
}
inline QRect labelRect(int ticket) {
    return Units::rect(LabelLeft[columnOf(ticket)], LabelTop[rowOf(ticket)], LabelWidth,
                       LabelHeight);
}
inline QPoint stripPosition() { return {Units::px(StripLeft), Units::px(StripTop)}; }

// Exactly, in pixels, for drawing.
inline QRectF exact(double left, double top, double width, double height) {
    constexpr double t = Units::TwipsPerPixel;
    return {left / t, top / t, width / t, height / t};
}
inline QRectF exactCell(int row, int column) {
    return exact(CellLeft[column], CellTop[row], CellWidth, CellHeight);
}
inline QRectF exactLabel(int row, int column) {
    return exact(LabelLeft[column], LabelTop[row], LabelWidth, LabelHeight);
}
inline QRectF exactStrip() {
    return {StripLeft / double(Units::TwipsPerPixel), StripTop / double(Units::TwipsPerPixel),
            double(StripWidthPx), double(StripHeightPx)};
}

} // namespace BoardGeometry
