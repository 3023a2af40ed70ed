#include "report/ReportRows.h"

#include "collection/GameEntry.h"
#include "players/JoinedPlayerNames.h"
#include "report/DisplayName.h"
#include "report/MeaningOrder.h"
#include "report/RowCompare.h"

#include <algorithm>

namespace {

std::uint32_t DirectionBit(std::int32_t column)
{
    return 1u << (static_cast<std::uint32_t>(column) & 31u);
}

} // namespace

std::string GameNumberSuffix(std::size_t game)
{
    return " #" + std::to_string(game + 1);
}

std::string GameKey(std::string_view path, std::uint32_t game)
{
    std::string key(path);
    if (game != 0) {
        key.push_back('\0');
        key += std::to_string(game);
    }
    return key;
}

CReportRow MakeReportRow(const std::string& path, const CGameEntry* entry, const std::vector<CColumnDef>& columns,
                         bool fullPath, const ISettingsStore& store, IShownText* shown, std::size_t game)
{
    CReportRow row;
    row.key = path;
    row.game = static_cast<std::uint32_t>(game);
    row.cells.reserve(columns.size() + 1);
    row.cells.push_back(GetDisplayName(path, fullPath));
    // The games of a file of several are told apart by their number.
    const bool several = entry && entry->GameCount() > 1;
    if (several)
        row.cells.back() += GameNumberSuffix(game);
    const CGameEntry* values = entry && game < entry->GameCount() ? &entry->Game(game) : nullptr;
    const CJoinedPlayerNames joined(store);
    for (const CColumnDef& column : columns) {
        std::string value;
        if (values && !values->GetValue(column.m_strSignature, value, store, shown, &joined))
            value.clear();
        else if (entry && !values)
            value.clear();
        row.cells.push_back(std::move(value));
    }
    row.image = (entry && (entry->m_nFlags & ENTRY_VIEWED)) ? 1 : 0;
    return row;
}

bool CSortState::IsAscending(std::int32_t column) const
{
    return (static_cast<std::uint32_t>(m_nColSort) & DirectionBit(column)) != 0;
}

void CSortState::Click(std::int32_t column)
{
    m_nColSortCur = column;
    m_nColSort = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_nColSort) ^ DirectionBit(column));
}

std::vector<std::size_t> SortOrder(const std::vector<CReportRow>& rows, CSortState& sort, std::size_t columnCount)
{
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (sort.m_nColSortCur < 0 || static_cast<std::size_t>(sort.m_nColSortCur) > columnCount) {
        sort.m_nColSortCur = -1;
        return order;
    }
    const auto column = static_cast<std::size_t>(sort.m_nColSortCur);
    const bool ascending = sort.IsAscending(sort.m_nColSortCur);
    auto cell = [&rows, column](std::size_t r) -> std::string_view {
        const CReportRow& row = rows[r];
        return column < row.cells.size() ? std::string_view(row.cells[column]) : std::string_view();
    };
    // Rows equal in the sort column follow their paths, whichever the
    // direction: the order then never depends on how the rows came (added
    // now, or read back from a saved collection).
    auto byPath = [&rows](std::size_t a, std::size_t b) { return rows[a].key < rows[b].key; };
    if (!sort.m_bByMeaning) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const int result = CompareRows(cell(a), cell(b), ascending);
            return result != 0 ? result < 0 : byPath(a, b);
        });
        return order;
    }
    std::vector<std::string_view> values(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        values[r] = cell(r);
    const EColumnKind kind = ColumnKindOf(values);
    // Each value's meaning is read once, not at every comparison.
    std::vector<std::int64_t> keys(rows.size(), -1);
    if (kind != EColumnKind::Bytes)
        for (std::size_t r = 0; r < rows.size(); ++r)
            keys[r] = MeaningKey(kind, values[r]);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::int64_t ka = keys[a];
        const std::int64_t kb = keys[b];
        // Values that mean nothing go last, whichever the direction.
        if ((ka < 0) != (kb < 0))
            return ka >= 0;
        if (ka != kb)
            return ascending ? ka < kb : ka > kb;
        const int result = CompareRows(values[a], values[b], ascending);
        return result != 0 ? result < 0 : byPath(a, b);
    });
    return order;
}

void ApplySortOrder(std::vector<CReportRow>& rows, const std::vector<std::size_t>& order)
{
    std::vector<CReportRow> sorted;
    sorted.reserve(rows.size());
    for (std::size_t from : order)
        sorted.push_back(std::move(rows[from]));
    rows = std::move(sorted);
}

void SortReportRows(std::vector<CReportRow>& rows, CSortState& sort, std::size_t columnCount)
{
    const std::vector<std::size_t> order = SortOrder(rows, sort, columnCount);
    if (sort.m_nColSortCur >= 0)
        ApplySortOrder(rows, order);
}
