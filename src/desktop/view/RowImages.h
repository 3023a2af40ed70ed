#pragma once

class CBoardPicture;

#include <QIcon>
#include <QPixmap>

// The two row pictures: 0 unviewed (a white page with a folded lower corner,
// "MGT" in blue across the top and grey lines below), 1 viewed (the same
// page on green). Drawn at 32 x 32 for large icons and 10 x 10 for the other
// styles, on a transparent ground.
QPixmap DrawRowPicture(int image, int size);
// Both sizes of one picture.
QIcon RowIcon(int image);

#include <QImage>

// A board picture at size pixels square (times ratio for the screen's
// pixels): the wooden board, its lines where there is room for them, and
// the stones. An image, so it can be drawn off the GUI thread.
QImage DrawBoardImage(const CBoardPicture& picture, int size, qreal ratio = 1.0);
// The board with the row picture of image (viewed or not) over its lower
// right corner, so the viewed mark is seen on every game.
QPixmap MarkBoardImage(const QImage& board, int image);
