#pragma once

#include "pattern/PatternSearch.h"

#include <cstdint>
#include <vector>

// SearchPattern's hits among the given games of the index only (ascending
// game numbers), so a search that refines the last one costs what its
// games cost, not the whole index. The hits are those the whole search
// would give for these games, in their order; threads 0 uses every core.
std::vector<SPatternHit> SearchPatternWithin(const CPositionIndex& index, const SPattern& pattern,
                                             const std::vector<std::uint32_t>& games, unsigned threads = 0);
