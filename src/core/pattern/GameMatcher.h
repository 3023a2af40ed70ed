#pragma once

#include "pattern/PatternPlacements.h"
#include "pattern/PositionIndex.h"

#include <cstdint>
#include <optional>
#include <vector>

// A pattern made ready to be looked for in game after game. Its placements
// are grouped by orientation (symmetry and colour exchange): within one,
// they differ only by where their upper-left point stands, so a game's
// bitmaps of points ever black and ever white narrow all of them down at
// once, row by row, and a changed point finds the placements covering it.
class CPreparedPattern
{
public:
    explicit CPreparedPattern(const SPattern& pattern);

    // Signs as numbers, to index a table.
    enum ESignCode : std::uint8_t { kBlack, kWhite, kEmpty, kBlackOrEmpty, kWhiteOrEmpty, kAny };

    struct SOrientation
    {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> signs; // ESignCode, row by row
        std::vector<SGridPoint> black;   // offsets that need a black stone
        std::vector<SGridPoint> white;
        std::vector<SGridPoint> empty; // offsets that need an empty point
        // The other signs but '*': offset y * width + x and sign code.
        std::vector<std::pair<int, std::uint8_t>> open;
        // Every sign but '*': its offset and code, in the order the
        // stretches of a game narrow the anchors down by them.
        std::vector<std::pair<SGridPoint, std::uint8_t>> checks;
        int firstRow = 0;
        int lastRow = -1;
        // Per row, a bit for each column where the upper-left point of a
        // placement stands.
        std::vector<std::uint64_t> anchors;
        // The placement standing at each point, or -1.
        std::vector<int> placementAt;
    };

    const SPattern& Pattern() const { return m_pattern; }
    const std::vector<SPlacement>& Placements() const { return m_placements; }
    const std::vector<SOrientation>& Orientations() const { return m_orientations; }
    const std::vector<SSelfSymmetry>& SelfSymmetries() const { return m_selfSymmetries; }
    // The signs that need a stone: on an empty board each placement is
    // that many points from standing.
    int StoneCount() const { return m_stoneCount; }
    // Per point, a bit for each orientation with a placement covering it.
    std::uint32_t OrientationsCovering(int point) const { return m_covering[static_cast<std::size_t>(point)]; }
    int OrientationOf(int placement) const { return m_orientationOf[static_cast<std::size_t>(placement)]; }

private:
    SPattern m_pattern;
    std::vector<SPlacement> m_placements;
    std::vector<SOrientation> m_orientations;
    std::vector<SSelfSymmetry> m_selfSymmetries;
    int m_stoneCount = 0;
    std::vector<std::uint32_t> m_covering;
    std::vector<int> m_orientationOf;
};

// Looks for a prepared pattern in one game after another; keeps its
// scratch space between games, so one matcher serves one thread.
//
// A game is played forward from its units, a stretch of 8 positions at a
// time (looked at 4 together first). A stretch's bitmaps of the points that
// were black, white or empty at some position of it leave few placements
// possible, most often none: such a stretch is only played onto the stone
// rows, a word a board row. In the others each
// placement left possible counts the stones it misses, touched only when a
// stone of the colour it needs comes or goes at one of its stone points;
// once it misses none, its other points are looked at after every position
// that changed one of them. The first position where a placement stands is
// the first hit, and the playing stops there: most first hits come early.
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
    struct SCount
    {
        std::uint32_t game = 0;
        std::int32_t misses = 0;
        bool complete = false; // in m_complete
    };

    // The rows of anchors the game's bitmaps leave possible, those with
    // any only: a stretch looks at nothing else.
    struct SCandidateRow
    {
        std::uint64_t anchors = 0;
        int orientation = 0;
        int row = 0;
    };
    bool FindCandidates(const SIndexedGame& game);
    // Plays the units of the stretch of length positions from position
    // first on (the unit begin makes that position, or is the first) onto
    // the stone rows, and makes the stretch's bitmaps; returns the
    // unit that makes the next stretch's first position, or the unit count.
    std::size_t ScanStretch(const SIndexedGame& game, std::size_t begin, std::uint32_t first, std::uint32_t length);
    // The rows of anchors of from that the stretch's bitmaps leave.
    bool NarrowToStretch(const std::vector<SCandidateRow>& from, std::vector<SCandidateRow>& to);
    // The candidates for a stretch of length positions from first on.
    const std::vector<SCandidateRow>& CandidatesFor(const SIndexedGame& game, std::uint32_t first,
                                                    std::uint32_t length) const;
    // The placements the counts follow.
    void MakePossible(const std::vector<SCandidateRow>& rows);
    // The short stretches of a long one, units begin to end from position
    // first on; the board stands before begin.
    std::optional<SOutcome> MatchShortStretches(const SIndexedGame& game, std::size_t begin, std::size_t end,
                                                std::uint32_t first);
    // The stone rows before a stretch, kept while it is looked at.
    void SaveBoard();
    void RestoreBoard();
    // The board the counts play on, from the stone rows: between stretches
    // only the rows are kept.
    void BoardFromRows();
    // The counts of the possible placements on the board as it stands.
    void StartCounting();
    // Plays units begin to end again with the counts, the board standing at
    // position before begin; the first hit among them, if any.
    std::optional<SOutcome> CountStretch(const SIndexedGame& game, std::size_t begin, std::size_t end,
                                         std::uint32_t position);
    // The count of a placement in the stretch being counted.
    SCount& Count(int placement);
    void Change(int point, EStone to);
    void CountStones(int point, EStone colour, int delta);
    // Whether a placement that misses no stone meets its other signs.
    bool OpenPointsMet(int placement) const;
    bool AnyStands();
    void AddComplete(int placement);
    // Calls f(placement) for each placement left possible covering point.
    template <typename F> void ForPlacementsCovering(int point, F f) const;
    std::optional<SPatternMove> Continuation(const SIndexedGame& game, std::size_t fromUnit);

    const CPreparedPattern& m_prepared;
    int m_size;
    // The game's bitmaps, a row a word: ever black, ever white, black and
    // white in the first half, filled all through the second half.
    enum EBitmap { kEverBlack, kEverWhite, kFirstBlack, kFirstWhite, kFilled, kBitmapCount };
    std::vector<std::uint64_t> m_rows;
    std::vector<SCandidateRow> m_candidates;
    // Those possible at a position of the first half (their stones were
    // all there in it), and of the second (its empty points were not all
    // filled all through it).
    std::vector<SCandidateRow> m_firstHalfCandidates;
    std::vector<SCandidateRow> m_secondHalfCandidates;
    std::vector<SCandidateRow> m_longCandidates;
    std::vector<SCandidateRow> m_shortCandidates;
    // Those m_possible holds.
    std::vector<SCandidateRow> m_possibleRows;
    // A stretch's bitmaps, a row a word: the points that met each sign
    // (ESignCode but '*') at some position of it; and the board's stones.
    enum EStretchBitmap { kNowBlack = CPreparedPattern::kAny, kNowWhite, kStretchBitmapCount };
    std::vector<std::uint64_t> m_stretch;
    // The stone rows before the stretch being looked at (SaveBoard).
    std::vector<std::uint64_t> m_nowBefore;
    // Whether the pattern has an 'x' or an 'o', which need those bitmaps.
    bool m_orEmptySigns = false;
    // Per point, its row and its bit in the row.
    std::vector<std::uint8_t> m_rowOf;
    std::vector<std::uint64_t> m_bitOf;
    // Per orientation and row, the anchors possible in the stretch being
    // counted; the orientations with any; per row, the points such
    // placements cover. A change anywhere else touches no count.
    std::vector<std::uint64_t> m_possible;
    std::uint32_t m_possibleOrientations = 0;
    std::vector<std::uint64_t> m_possibleCover;
    // The board the counts play on, valid while a stretch is counted.
    std::vector<EStone> m_board;
    std::vector<SCount> m_counts;
    std::uint32_t m_game = 0;
    // Placements missing no stone, and those of them to look at when the
    // current position is complete.
    std::vector<int> m_complete;
    std::vector<int> m_toCheck;
    // Per row, the points the placements in m_complete cover.
    std::vector<std::uint64_t> m_completeCover;
};
