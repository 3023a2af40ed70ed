#pragma once

#include "reader/GameRecord.h"

#include <cstdint>
#include <vector>

// A Go board that plays by the rules: a stone takes the opponent's groups
// it leaves without liberties, then its own group if that has none
// (suicide). Ko is not enforced: records hold what was played.
class CBoard
{
public:
    CBoard(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    EStone At(int x, int y) const { return m_cells[Index(x, y)]; }
    bool OnBoard(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Puts a stone on or takes it off (Empty) without any capture.
    void Put(int x, int y, EStone stone) { m_cells[Index(x, y)] = stone; }
    // Plays a stone; false, with the board unchanged, when the point is
    // off the board or taken.
    bool Play(EStone colour, int x, int y);

    // Stones of the opponent each side has taken (suicided stones count
    // for the opponent).
    int Captures(EStone by) const { return m_captures[by == EStone::White ? 1 : 0]; }

    // How many points the group searches have visited so far: the cost of
    // playing, which a record made to keep the board busy would run up.
    std::uint64_t Work() const { return m_work; }

    // The stones and capture counts, which a copy of a position needs; the
    // rest is scratch space.
    const std::vector<EStone>& Cells() const { return m_cells; }
    void Restore(const EStone* cells, int blackCaptures, int whiteCaptures);

private:
    int Index(int x, int y) const { return y * m_width + x; }
    // Whether the group at index has a liberty; marks the group visited.
    bool HasLiberty(int index);
    // Takes the group at index off the board; its size.
    int RemoveGroup(int index);
    template <typename F> void ForNeighbours(int index, F f) const;
    void NextMark();

    int m_width;
    int m_height;
    std::vector<EStone> m_cells;
    int m_captures[2] = {0, 0};
    std::vector<std::uint32_t> m_marks;
    std::uint32_t m_mark = 0;
    std::vector<int> m_stack;
    std::uint64_t m_work = 0;
};
