#include "desktop/pattern/PatternSketch.h"

#include "game/Board.h"

#include <algorithm>

namespace {

char SgfLetter(int coordinate)
{
    return static_cast<char>(coordinate < 26 ? 'a' + coordinate : 'A' + coordinate - 26);
}

} // namespace

CPatternSketch::CPatternSketch(int size) : m_size(size), m_signs(static_cast<std::size_t>(size * size), '.') {}

void CPatternSketch::SetFromBoard(const CBoard& board)
{
    if (board.Width() != m_size || board.Height() != m_size) {
        *this = CPatternSketch(std::min(board.Width(), board.Height()));
        if (board.Width() != board.Height())
            return;
    }
    for (int y = 0; y < m_size; ++y) {
        for (int x = 0; x < m_size; ++x) {
            const EStone stone = board.At(x, y);
            SetSign(x, y, stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.');
        }
    }
}

void CPatternSketch::Clear()
{
    std::fill(m_signs.begin(), m_signs.end(), '.');
    m_rect.reset();
}

void CPatternSketch::CycleStone(int x, int y)
{
    const char sign = SignAt(x, y);
    SetSign(x, y, sign == '.' ? 'X' : sign == 'X' ? 'O' : '.');
}

void CPatternSketch::CycleMaybe(int x, int y)
{
    SetSign(x, y, SignAt(x, y) == 'x' ? 'o' : 'x');
}

void CPatternSketch::SetRect(int x1, int y1, int x2, int y2)
{
    const int left = std::clamp(std::min(x1, x2), 0, m_size - 1);
    const int top = std::clamp(std::min(y1, y2), 0, m_size - 1);
    const int right = std::clamp(std::max(x1, x2), 0, m_size - 1);
    const int bottom = std::clamp(std::max(y1, y2), 0, m_size - 1);
    m_rect = SSketchRect{left, top, right - left + 1, bottom - top + 1};
}

SSketchRect CPatternSketch::Rect() const
{
    return m_rect ? *m_rect : SSketchRect{0, 0, m_size, m_size};
}

ERectKind CPatternSketch::Kind() const
{
    const SSketchRect rect = Rect();
    const bool alongX = rect.left == 0 || rect.left + rect.width == m_size;
    const bool alongY = rect.top == 0 || rect.top + rect.height == m_size;
    if (rect.width == m_size && rect.height == m_size)
        return ERectKind::WholeBoard;
    // Held on both axes, it stays where it is; held on one, it slides along
    // the other; held on none, it goes anywhere off the edges.
    if (alongX && alongY)
        return ERectKind::Corner;
    return alongX || alongY ? ERectKind::Side : ERectKind::Centre;
}

std::string CPatternSketch::RegionText() const
{
    const SSketchRect rect = Rect();
    if (rect.width == m_size && rect.height == m_size)
        return "all";
    return {SgfLetter(rect.left), SgfLetter(rect.top), ':', SgfLetter(rect.left + rect.width - 1),
            SgfLetter(rect.top + rect.height - 1)};
}

std::string CPatternSketch::RowsText() const
{
    const SSketchRect rect = Rect();
    std::string rows;
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        if (y > rect.top)
            rows += '/';
        rows.append(m_signs, Index(rect.left, y), static_cast<std::size_t>(rect.width));
    }
    return rows;
}

void CPatternSketch::Play(int x, int y, EStone colour)
{
    CBoard board(m_size, m_size);
    for (int row = 0; row < m_size; ++row) {
        for (int column = 0; column < m_size; ++column) {
            const char sign = SignAt(column, row);
            if (sign == 'X' || sign == 'O')
                board.Put(column, row, sign == 'X' ? EStone::Black : EStone::White);
        }
    }
    board.Play(colour, x, y);
    for (int row = 0; row < m_size; ++row) {
        for (int column = 0; column < m_size; ++column) {
            const EStone stone = board.At(column, row);
            if (stone != EStone::Empty)
                SetSign(column, row, stone == EStone::Black ? 'X' : 'O');
            else if (SignAt(column, row) == 'X' || SignAt(column, row) == 'O')
                SetSign(column, row, '.');
        }
    }
}

const char* RectKindWords(ERectKind kind)
{
    switch (kind) {
    case ERectKind::Corner:
        return "corner";
    case ERectKind::Side:
        return "side";
    case ERectKind::Centre:
        return "centre";
    default:
        return "whole board";
    }
}
