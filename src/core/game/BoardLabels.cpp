#include "game/BoardLabels.h"

#include "game/Board.h"

namespace {
constexpr char kLetters[] = "ABCDEFGHJKLMNOPQRSTUVWXYZ";
constexpr int kLetterCount = sizeof kLetters - 1;

// The lines with stars on a side of this length, or none.
bool IsStarLine(int at, int side)
{
    switch (side) {
    case 9:
        return at == 2 || at == 4 || at == 6;
    case 13:
        return at == 3 || at == 6 || at == 9;
    case 19:
        return at == 3 || at == 9 || at == 15;
    default:
        return false;
    }
}
} // namespace

std::string ColumnLabel(int x)
{
    if (x < kLetterCount)
        return std::string(1, kLetters[x]);
    return {kLetters[x / kLetterCount - 1], kLetters[x % kLetterCount]};
}

std::string RowLabel(int y, int height)
{
    return std::to_string(height - y);
}

bool IsStarPoint(int x, int y, int width, int height)
{
    // The 9 and 13 line boards have no side stars, only the corners' and the centre.
    if (width == height && (width == 9 || width == 13) && (x == width / 2) != (y == height / 2))
        return false;
    return IsStarLine(x, width) && IsStarLine(y, height);
}

std::string BoardRows(const CBoard& board)
{
    std::string rows;
    rows.reserve(static_cast<std::size_t>((board.Width() + 1) * board.Height()));
    for (int y = 0; y < board.Height(); ++y) {
        if (y > 0)
            rows += '/';
        for (int x = 0; x < board.Width(); ++x) {
            const EStone stone = board.At(x, y);
            rows += stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.';
        }
    }
    return rows;
}
