#pragma once

#include "reader/GameRecord.h"

#include <string>

// Board coordinates as players write them: columns A to Z without I from
// the left (then AA, AB, ... past 25 columns), rows numbered from 1 at the
// bottom.
std::string ColumnLabel(int x);
std::string RowLabel(int y, int height);

// The points a board of this size marks with a star (hoshi): the 9, 13 and
// 19 line boards, square or not.
bool IsStarPoint(int x, int y, int width, int height);

// The rows of a position from the top, joined by "/": X black, O white,
// "." empty.
class CBoard;
std::string BoardRows(const CBoard& board);
