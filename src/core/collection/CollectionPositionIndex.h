#pragma once

#include "collection/CollectionPositionRows.h"
#include "pattern/PositionIndex.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CVarnexDoc;
class IShownText;

// The position index of a collection: every game's positions, each with its
// winner as the list shows it, and for each game number of the index the
// path of its file and which game of the file it is (from 0).
struct SCollectionIndex
{
    CPositionIndex index;
    std::vector<std::string> paths;
    std::vector<std::uint32_t> games;
    SPositionRowsSummary summary;
};

// Loads the index of every game file of doc from the header cache, reading
// (and storing) the files whose rows are missing or damaged. shown decodes
// results as the list shows them, so the winners are the Winner column's.
// stop, when given, is asked after every row (see ForEachCollectionPositionRow);
// the summary tells whether it ended the load.
SCollectionIndex LoadCollectionIndex(CVarnexDoc& doc, IShownText* shown = nullptr,
                                     const std::function<bool()>& stop = {});
