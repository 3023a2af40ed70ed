#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CVarnexDoc;

struct SPositionRowsSummary
{
    // Files whose rows were taken from the header cache.
    std::size_t fromCache = 0;
    // Files whose rows were made by reading the game file, for files
    // without rows that can be trusted (stored in the cache, when there is
    // one).
    std::size_t built = 0;
    // Game files of the collection that could not be read for a row.
    std::size_t unreadable = 0;
    // The walk was stopped before every file had its row.
    bool stopped = false;
    // Rows of the cache that f refused, made again from their files.
    std::size_t refused = 0;
};

// Calls f(path, rows) for every game file of doc that has position rows, one
// row for each of its games in file order:
// first, in the order they were written, the rows of the header cache
// written with the status the document read the file with; then, made with
// the document's builder, the rows of the files not found so (a cache made
// before, a changed or damaged row, no cache at all) and of the rows f
// refused by returning false, which are stored in the cache for the next
// time (what f returns for those is not asked again). Nothing without a
// builder. The views are valid during the call only. stop, when given, is
// asked after every file and ends the walk when it says so. A file's rows
// come together, and f refuses (or takes) them together.
using CollectionRowVisitor = std::function<bool(const std::string& path, const std::vector<std::string_view>& rows)>;
SPositionRowsSummary ForEachCollectionPositionRow(CVarnexDoc& doc, const CollectionRowVisitor& f,
                                                  const std::function<bool()>& stop = {});
