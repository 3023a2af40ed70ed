#pragma once

#include "columns/ColumnDef.h"
#include "report/SearchText.h"
#include "report/ShownTexts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CGameEntry;
class ISettingsStore;
class IShownText;

// One row of the report list: its key (the file's full path), its cell
// texts as bytes (column 0 the display name) and its image.
struct CReportRow
{
    std::string key;
    // Which game of the file the row shows, from 0 in file order (0 for a
    // file of one game).
    std::uint32_t game = 0;
    std::vector<std::string> cells;
    // The cells as shown, decoded once when the row is made (by the layer
    // that knows charsets); sorting and export never look at them.
    CShownTexts shown;
    int image = 0; // 0 unviewed, 1 viewed
    // Where the user put the row's icon by hand, in list item coordinates,
    // one place for the large-icon style and one for the small-icon style.
    // Kept with the row, so sorting and style switches carry it along.
    struct SIconPlace
    {
        int x = 0;
        int y = 0;
        bool set = false;
    };
    SIconPlace places[2];
    // The quick filter's form of the cells and of the record's fields it
    // asked for, made once when first needed and emptied when a cell
    // changes, so typing never decodes a row again.
    CSearchText search;
};

// A row for path and its entry (which may be absent): the display name, one
// cell per column from GetValue (empty when there is none), and the image.
// shown, when given, lets the user's names match a record's names as shown.
// game says which game of the entry's file the row shows; the display name
// of a file of several games ends in its number, " #1" for the first.
CReportRow MakeReportRow(const std::string& path, const CGameEntry* entry, const std::vector<CColumnDef>& columns,
                         bool fullPath, const ISettingsStore& store, IShownText* shown = nullptr, std::size_t game = 0);
// " #N" for the game-th game (from 0) of a file of several: how the list,
// export and the command line name one game of such a file.
std::string GameNumberSuffix(std::size_t game);
// One game of a file as a single key, for maps keyed by the games shown:
// the path for the first game, else the path, a NUL (which no path holds)
// and the game number.
std::string GameKey(std::string_view path, std::uint32_t game);

// The sort of the list: m_nColSort holds one direction bit per column (bit
// c mod 32, set is ascending), m_nColSortCur the sort column or -1.
struct CSortState
{
    std::int32_t m_nColSort = 0;
    std::int32_t m_nColSortCur = -1;
    // Ranks by strength and dates by their first date instead of bytes.
    bool m_bByMeaning = false;

    bool IsAscending(std::int32_t column) const;
    // A header click: that column becomes the sort column and its direction flips.
    void Click(std::int32_t column);
};

// Re-applies the sort to rows with the given number of user-defined columns;
// a sort column outside 0..columnCount becomes -1 and nothing is sorted.
void SortReportRows(std::vector<CReportRow>& rows, CSortState& sort, std::size_t columnCount);

// The same sort as a permutation: order[new position] is the row's old
// position (the identity when nothing is sorted). A list that must carry
// other state along (selection, current row) maps it through this, so two
// rows with equal keys never swap what belongs to them.
std::vector<std::size_t> SortOrder(const std::vector<CReportRow>& rows, CSortState& sort, std::size_t columnCount);
// Puts rows in order, as SortOrder gave it.
void ApplySortOrder(std::vector<CReportRow>& rows, const std::vector<std::size_t>& order);
