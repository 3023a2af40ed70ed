#pragma once

#include "reader/GameRecord.h"

#include <optional>
#include <string>
#include <string_view>

// A shape searched for: a rectangle of the board with one sign a point.
//   X black   O white   . empty   x black or empty   o white or empty   * any
// The rectangle is given on a square board of boardSize as it was drawn;
// where else it may stand is worked out by the placements.
struct SPattern
{
    int boardSize = SGameRecord::kDefaultSize;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // The signs row by row from the top, width * height of them.
    std::string signs;
    // Black stays black: no placement with the colours exchanged.
    bool fixedColours = false;

    char SignAt(int column, int row) const { return signs[static_cast<std::size_t>(row * width + column)]; }
};

// A pattern or the text that says why there is none.
struct SPatternParse
{
    std::optional<SPattern> pattern;
    std::string error;
};

bool IsPatternSign(char sign);
// The sign with black and white exchanged.
char ExchangedSign(char sign);
// Whether a point holding stone meets the sign.
bool SignAccepts(char sign, EStone stone);

// The letter of a coordinate in an SGF point name: a-z, then A-Z.
char SgfCoordinateLetter(int coordinate);
// The coordinate of such a letter, or -1.
int SgfCoordinateOf(char letter);
std::string SgfPointName(int x, int y);

// A rectangle "aa:gg" (its upper-left and lower-right points, in either
// order) or "all", and rows joined by '/'.
SPatternParse ParsePattern(std::string_view region, std::string_view rows, int boardSize = SGameRecord::kDefaultSize,
                           bool fixedColours = false);

// The stones inside region at position move of the game's main line (its
// end when move is not given), on the game's own board.
SPatternParse PatternFromGame(const SGameRecord& game, std::string_view region, std::optional<int> move,
                              bool fixedColours = false);
