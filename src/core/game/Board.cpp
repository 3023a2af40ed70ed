#include "game/Board.h"

#include <algorithm>

CBoard::CBoard(int width, int height)
    : m_width(width), m_height(height), m_cells(static_cast<std::size_t>(width * height), EStone::Empty),
      m_marks(m_cells.size(), 0)
{
}

template <typename F> void CBoard::ForNeighbours(int index, F f) const
{
    const int x = index % m_width;
    if (x > 0)
        f(index - 1);
    if (x + 1 < m_width)
        f(index + 1);
    if (index >= m_width)
        f(index - m_width);
    if (index + m_width < static_cast<int>(m_cells.size()))
        f(index + m_width);
}

void CBoard::NextMark()
{
    if (++m_mark == 0) {
        std::fill(m_marks.begin(), m_marks.end(), 0);
        m_mark = 1;
    }
}

bool CBoard::HasLiberty(int index)
{
    NextMark();
    const EStone colour = m_cells[static_cast<std::size_t>(index)];
    m_stack.clear();
    m_stack.push_back(index);
    m_marks[static_cast<std::size_t>(index)] = m_mark;
    bool liberty = false;
    while (!m_stack.empty() && !liberty) {
        const int at = m_stack.back();
        m_stack.pop_back();
        ++m_work;
        ForNeighbours(at, [&](int n) {
            const EStone stone = m_cells[static_cast<std::size_t>(n)];
            if (stone == EStone::Empty) {
                liberty = true;
            } else if (stone == colour && m_marks[static_cast<std::size_t>(n)] != m_mark) {
                m_marks[static_cast<std::size_t>(n)] = m_mark;
                m_stack.push_back(n);
            }
        });
    }
    return liberty;
}

int CBoard::RemoveGroup(int index)
{
    const EStone colour = m_cells[static_cast<std::size_t>(index)];
    int removed = 0;
    m_stack.clear();
    m_stack.push_back(index);
    m_cells[static_cast<std::size_t>(index)] = EStone::Empty;
    while (!m_stack.empty()) {
        const int at = m_stack.back();
        m_stack.pop_back();
        ++removed;
        ++m_work;
        ForNeighbours(at, [&](int n) {
            if (m_cells[static_cast<std::size_t>(n)] == colour) {
                m_cells[static_cast<std::size_t>(n)] = EStone::Empty;
                m_stack.push_back(n);
            }
        });
    }
    return removed;
}

bool CBoard::Play(EStone colour, int x, int y)
{
    if (!OnBoard(x, y) || At(x, y) != EStone::Empty || colour == EStone::Empty)
        return false;
    const int index = Index(x, y);
    m_cells[static_cast<std::size_t>(index)] = colour;
    const EStone opponent = Opponent(colour);
    int taken = 0;
    ForNeighbours(index, [&](int n) {
        if (m_cells[static_cast<std::size_t>(n)] == opponent && !HasLiberty(n))
            taken += RemoveGroup(n);
    });
    m_captures[colour == EStone::White ? 1 : 0] += taken;
    // A stone that took something has a liberty where it took.
    if (taken == 0 && !HasLiberty(index))
        m_captures[opponent == EStone::White ? 1 : 0] += RemoveGroup(index);
    return true;
}

void CBoard::Restore(const EStone* cells, int blackCaptures, int whiteCaptures)
{
    std::copy(cells, cells + m_cells.size(), m_cells.begin());
    m_captures[0] = blackCaptures;
    m_captures[1] = whiteCaptures;
}
