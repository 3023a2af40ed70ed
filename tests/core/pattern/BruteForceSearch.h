#pragma once

#include "pattern/PatternSearch.h"
#include "reader/GameRecord.h"

#include <vector>

// The search done the slow way, straight from its rules, for the tests to
// hold the index against: every position of the main line as the preview
// plays it, every place and symmetry of the pattern tried at each.
struct SReferenceGame
{
    int size = 0;
    EStone winner = EStone::Empty;
    // The board of every position, and the move that led to it where it
    // was a regular one.
    std::vector<std::vector<EStone>> boards;
    std::vector<std::optional<SGameMove>> regularMoves;
    // Points that held a black, a white stone at some position.
    std::vector<bool> everBlack;
    std::vector<bool> everWhite;
};
SReferenceGame PlayReferenceGame(const SGameRecord& record, EStone winner);
SPatternResult BruteForceSearch(const std::vector<SReferenceGame>& games, const SPattern& pattern);
