#pragma once

#include "pattern/PatternPlacements.h"
#include "pattern/PositionIndex.h"

#include <cstdint>
#include <optional>
#include <vector>

// A pattern made ready to be looked for in game after game: its placements
// as lists of points to check, and per orientation (symmetry and colour
// exchange) the places its rectangle may stand, to be narrowed down by a
// game's bitmaps of points ever black and ever white at once.
class CPreparedPattern
{
public:
    explicit CPreparedPattern(const SPattern& pattern);

    struct SCell
    {
        int point = 0; // y * size + x
        char sign = '*';
    };
    struct SPreparedPlacement
    {
        SPlacement placement;
        // The points with a sign other than '*', stones first.
        std::vector<SCell> cells;
    };
    struct SOrientation
    {
        std::vector<SGridPoint> black; // offsets that need a black stone
        std::vector<SGridPoint> white;
        int firstRow = 0;
        int lastRow = -1;
        // Per row, a bit for each column where the rectangle's upper-left
        // point may stand.
        std::vector<std::uint64_t> anchors;
        // The placement standing at each point, or -1.
        std::vector<int> placementAt;
    };

    const SPattern& Pattern() const { return m_pattern; }
    const std::vector<SPreparedPlacement>& Placements() const { return m_placements; }
    const std::vector<SOrientation>& Orientations() const { return m_orientations; }
    const std::vector<SSelfSymmetry>& SelfSymmetries() const { return m_selfSymmetries; }

private:
    SPattern m_pattern;
    std::vector<SPreparedPlacement> m_placements;
    std::vector<SOrientation> m_orientations;
    std::vector<SSelfSymmetry> m_selfSymmetries;
};

// Looks for a prepared pattern in one game after another; keeps its
// scratch space between games, so one matcher serves one thread.
class CGameMatcher
{
public:
    explicit CGameMatcher(const CPreparedPattern& prepared);

    struct SOutcome
    {
        std::uint32_t firstHit = 0;
        std::optional<SPatternMove> continuation;
    };
    // Nothing when the pattern never stands in the game.
    std::optional<SOutcome> Match(const SIndexedGame& game);

private:
    struct SChange
    {
        std::uint32_t position;
        EStone state;
    };
    static constexpr std::uint32_t kNever = 0xffffffffu;

    bool FindCandidates(const SIndexedGame& game);
    void SortChangesByPoint(const SIndexedGame& game);
    EStone StateAt(int point, std::uint32_t position) const;
    // The first position from position on where the point meets sign.
    std::uint32_t NextMeeting(int point, char sign, std::uint32_t position) const;
    // The first position before bound where every cell is met, or kNever.
    std::uint32_t FirstMatch(const std::vector<CPreparedPattern::SCell>& cells, std::uint32_t bound) const;
    bool MatchesAt(const std::vector<CPreparedPattern::SCell>& cells, std::uint32_t position) const;
    std::optional<SPatternMove> Continuation(const SIndexedGame& game, std::uint32_t firstHit) const;

    const CPreparedPattern& m_prepared;
    int m_size;
    std::vector<std::uint64_t> m_everBlack;
    std::vector<std::uint64_t> m_everWhite;
    std::vector<int> m_candidates;
    std::vector<int> m_matched;
    // Every change of the game, grouped by point in position order:
    // those of point p are m_changes[m_firstChange[p] .. m_firstChange[p + 1]).
    std::vector<std::uint32_t> m_firstChange;
    std::vector<SChange> m_changes;
};
