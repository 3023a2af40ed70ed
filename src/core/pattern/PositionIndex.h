#pragma once

#include "pattern/PositionRow.h"
#include "reader/GameRecord.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// One game of the index as the search reads it, pointing into the index.
struct SIndexedGame
{
    int width = 0;
    int height = 0;
    // One bit a point (y * width + x, low bit first): ever held a black,
    // a white stone. A placement needing a stone where there never was one
    // is passed over without looking at the units.
    const std::uint8_t* everBlack = nullptr;
    const std::uint8_t* everWhite = nullptr;
    // The same for the first half of the positions (0 to half), and the
    // points that hold a stone at every position after half: a pattern
    // standing after half has its empty points outside them. Games fill
    // up, so the halves narrow the placements down far more than the
    // whole game does.
    const std::uint8_t* firstHalfBlack = nullptr;
    const std::uint8_t* firstHalfWhite = nullptr;
    const std::uint8_t* filledInSecondHalf = nullptr;
    bool hasSecondHalf = false;
    // The last position of the first half.
    std::uint32_t half = 0;
    // Eight bytes may be read from any byte of a bitmap: a board row at
    // once, whatever follows the bitmap.
    static constexpr std::size_t kReadAhead = 8;
    // The units, two bytes each, low byte first.
    const std::uint8_t* units = nullptr;
    std::size_t unitCount = 0;

    std::uint16_t Unit(std::size_t i) const
    {
        return static_cast<std::uint16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    }
};

// The positions of many games, packed one after the other in one block:
// per game its board size, whether it has a second half and where it
// starts, the five bitmaps
// and the units, and beside it the game's winner. Games are numbered in the order they were added.
class CPositionIndex
{
public:
    // A stored row; nothing, and nothing added, when it is damaged.
    std::optional<std::uint32_t> AddRow(std::string_view row, EStone winner);
    std::uint32_t Add(const SPositionRow& row, EStone winner);
    std::uint32_t AddGame(const SGameRecord& record, EStone winner);

    std::size_t GameCount() const { return m_starts.size(); }
    SIndexedGame Game(std::uint32_t game) const;
    // Black, White, or Empty for a game without a winner.
    EStone Winner(std::uint32_t game) const { return static_cast<EStone>(m_winners[game]); }

    // Bytes held for the games, all of them.
    std::size_t MemoryBytes() const;
    void Reserve(std::size_t games, std::size_t bytes);

private:
    // The games, then SIndexedGame::kReadAhead bytes of zeros.
    std::vector<std::uint8_t> m_bytes;
    std::vector<std::uint64_t> m_starts;
    std::vector<std::uint8_t> m_winners;
    // Scratch space of Add.
    std::vector<std::uint32_t> m_filledSince;
    std::vector<bool> m_occupied;
};
