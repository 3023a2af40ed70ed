#pragma once

#include "pattern/Pattern.h"
#include "pattern/PatternPlacements.h"
#include "pattern/PositionIndex.h"

#include <cstdint>
#include <optional>
#include <vector>

// A game where the pattern stands: the earliest position it stands at and
// what was played next inside it, in the pattern's own terms.
struct SPatternHit
{
    std::uint32_t game = 0;
    std::uint32_t firstHit = 0;
    std::optional<SPatternMove> continuation;
};

// One continuation (a point as the pattern was drawn and a colour) and the
// games that went on so: how many, and how many of them the pattern's
// Black and the pattern's White won.
struct SContinuationStats
{
    int x = 0;
    int y = 0;
    EStone colour = EStone::Black;
    std::uint32_t games = 0;
    std::uint32_t blackWins = 0;
    std::uint32_t whiteWins = 0;
};

struct SPatternResult
{
    // In the order of the games in the index.
    std::vector<SPatternHit> hits;
    // Most games first, then by SGF point name, then Black before White.
    std::vector<SContinuationStats> continuations;
};

// Every game of the index on the pattern's board size where the pattern
// stands. threads 0 uses every core; the answer is the same on any number.
SPatternResult SearchPattern(const CPositionIndex& index, const SPattern& pattern, unsigned threads = 0);

// The continuation table of hits, each game's winner seen through the
// colours of the placement that gave its continuation.
std::vector<SContinuationStats> TallyContinuations(const CPositionIndex& index, const std::vector<SPatternHit>& hits);
