#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

class CBoard;
class QPainter;
struct SGamePosition;

// Draws a board as large as it fits into area, centred: wood, grid, star
// points, coordinates (columns without I, rows numbered from the bottom)
// and the stones with a clear edge; the last move played carries a ring.
// Everything is drawn in floating-point device-independent units, so a
// screen of any pixel ratio gets it crisp.
void PaintBoard(QPainter& painter, const QRectF& area, const SGamePosition& position);

// Where PaintBoard puts the points of a board of columns x rows in area:
// the side of a cell and the centre of the point at the top left. A cell of
// 0 means the area is too small to draw in.
struct SBoardGeometry
{
    qreal cell = 0;
    QPointF origin;
    QRectF whole;

    QPointF Centre(int x, int y) const { return origin + QPointF(x * cell, y * cell); }
    // The point whose cell holds at, or false outside the grid.
    bool PointAt(const QPointF& at, int columns, int rows, int& x, int& y) const;
};
SBoardGeometry BoardGeometry(const QRectF& area, int columns, int rows);

// The board as a picture with cells of cell device-independent pixels at
// the given pixel ratio, for the clipboard and PNG files.
QImage RenderDiagram(const SGamePosition& position, qreal cell, qreal pixelRatio);
