#pragma once

#include <QImage>
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

// The board as a picture with cells of cell device-independent pixels at
// the given pixel ratio, for the clipboard and PNG files.
QImage RenderDiagram(const SGamePosition& position, qreal cell, qreal pixelRatio);
