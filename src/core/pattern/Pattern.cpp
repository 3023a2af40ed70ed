#include "pattern/Pattern.h"

#include "game/GameTimeline.h"

#include <algorithm>

namespace {

struct SRegion
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

std::string BoardName(int size)
{
    return std::to_string(size) + "x" + std::to_string(size);
}

// The region on a board of size, or the reason it is none.
std::optional<SRegion> ParseRegion(std::string_view text, int size, std::string& error)
{
    if (text == "all")
        return SRegion{0, 0, size - 1, size - 1};
    if (text.size() != 5 || text[2] != ':') {
        error = "the region \"" + std::string(text) + "\" is neither two points such as aa:gg nor all";
        return std::nullopt;
    }
    const int x1 = SgfCoordinateOf(text[0]);
    const int y1 = SgfCoordinateOf(text[1]);
    const int x2 = SgfCoordinateOf(text[3]);
    const int y2 = SgfCoordinateOf(text[4]);
    if (x1 < 0 || y1 < 0 || x2 < 0 || y2 < 0) {
        error = "the region \"" + std::string(text) + "\" is neither two points such as aa:gg nor all";
        return std::nullopt;
    }
    if (std::max({x1, y1, x2, y2}) >= size) {
        error = "the region " + std::string(text) + " lies off the " + BoardName(size) + " board";
        return std::nullopt;
    }
    return SRegion{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool CheckBoardSize(int size, std::string& error)
{
    if (size >= 1 && size <= SGameRecord::kMaxSize)
        return true;
    error = "a board of size " + std::to_string(size) + " cannot be searched";
    return false;
}

} // namespace

bool IsPatternSign(char sign)
{
    return sign == 'X' || sign == 'O' || sign == '.' || sign == 'x' || sign == 'o' || sign == '*';
}

char ExchangedSign(char sign)
{
    switch (sign) {
    case 'X':
        return 'O';
    case 'O':
        return 'X';
    case 'x':
        return 'o';
    case 'o':
        return 'x';
    default:
        return sign;
    }
}

bool SignAccepts(char sign, EStone stone)
{
    switch (sign) {
    case 'X':
        return stone == EStone::Black;
    case 'O':
        return stone == EStone::White;
    case '.':
        return stone == EStone::Empty;
    case 'x':
        return stone != EStone::White;
    case 'o':
        return stone != EStone::Black;
    default:
        return true;
    }
}

char SgfCoordinateLetter(int coordinate)
{
    return static_cast<char>(coordinate < 26 ? 'a' + coordinate : 'A' + coordinate - 26);
}

int SgfCoordinateOf(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A' + 26;
    return -1;
}

std::string SgfPointName(int x, int y)
{
    return {SgfCoordinateLetter(x), SgfCoordinateLetter(y)};
}

SPatternParse ParsePattern(std::string_view region, std::string_view rows, int boardSize, bool fixedColours)
{
    SPatternParse result;
    if (!CheckBoardSize(boardSize, result.error))
        return result;
    const std::optional<SRegion> rect = ParseRegion(region, boardSize, result.error);
    if (!rect)
        return result;
    SPattern pattern;
    pattern.boardSize = boardSize;
    pattern.left = rect->left;
    pattern.top = rect->top;
    pattern.width = rect->right - rect->left + 1;
    pattern.height = rect->bottom - rect->top + 1;
    pattern.fixedColours = fixedColours;
    int rowCount = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = rows.find('/', start);
        const std::string_view row = rows.substr(start, slash == std::string_view::npos ? rows.npos : slash - start);
        ++rowCount;
        if (rowCount <= pattern.height) {
            if (static_cast<int>(row.size()) != pattern.width) {
                result.error = "row " + std::to_string(rowCount) + " has " + std::to_string(row.size()) +
                               (row.size() == 1 ? " sign" : " signs") + " where the region is " +
                               std::to_string(pattern.width) + " wide";
                return result;
            }
            for (const char sign : row) {
                if (!IsPatternSign(sign)) {
                    result.error = "the sign '" + std::string(1, sign) + "' in row " + std::to_string(rowCount) +
                                   " is none of X O . x o *";
                    return result;
                }
            }
            pattern.signs.append(row);
        }
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    if (rowCount != pattern.height) {
        result.error =
            (rowCount == 1 ? std::string("there is 1 row") : "there are " + std::to_string(rowCount) + " rows") +
            " where the region is " + std::to_string(pattern.height) + " high";
        return result;
    }
    result.pattern = std::move(pattern);
    return result;
}

SPatternParse PatternFromGame(const SGameRecord& game, std::string_view region, std::optional<int> move,
                              bool fixedColours)
{
    SPatternParse result;
    if (game.width != game.height) {
        result.error =
            "the game's board is " + std::to_string(game.width) + "x" + std::to_string(game.height) + ", not square";
        return result;
    }
    if (!CheckBoardSize(game.width, result.error))
        return result;
    const std::optional<SRegion> rect = ParseRegion(region, game.width, result.error);
    if (!rect)
        return result;
    const int moves = static_cast<int>(game.moves.size());
    if (move && (*move < 0 || *move > moves)) {
        result.error =
            "move " + std::to_string(*move) + " is past the game's end (it has " + std::to_string(moves) + " moves)";
        return result;
    }
    const CGameTimeline timeline(game);
    const SGamePosition position = move ? timeline.At(*move) : timeline.AtEnd();
    SPattern pattern;
    pattern.boardSize = game.width;
    pattern.left = rect->left;
    pattern.top = rect->top;
    pattern.width = rect->right - rect->left + 1;
    pattern.height = rect->bottom - rect->top + 1;
    pattern.fixedColours = fixedColours;
    for (int y = rect->top; y <= rect->bottom; ++y) {
        for (int x = rect->left; x <= rect->right; ++x) {
            const EStone stone = position.board.At(x, y);
            pattern.signs.push_back(stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.');
        }
    }
    result.pattern = std::move(pattern);
    return result;
}
