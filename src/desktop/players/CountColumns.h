#pragma once

#include <Qt>

class QTableView;

// A header role: the widest text a column's cells hold (four digits when the
// model gives none).
constexpr int kWidestCellRole = Qt::UserRole + 10;

// The columns of counts as narrow as their header or their widest cell needs, so
// that the names column takes the rest of the dock's width: measured from
// the font, never from the rows, which may be many thousands.
void FitCountColumns(QTableView& view, int nameColumn);
