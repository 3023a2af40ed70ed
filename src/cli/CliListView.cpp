#include "cli/CliListView.h"

#include "cli/CliEscape.h"
#include "cli/CliUtf8.h"
#include "collection/VarnexDoc.h"
#include "report/ExportWriter.h"

#include <algorithm>
#include <utility>

namespace {

// The record count of a collection file comes from the file itself; room is
// made for at most this many rows up front, the rest grows as rows arrive.
constexpr std::int32_t kMaxReservedRows = 1 << 20;

} // namespace

CCliListView::CCliListView(const CVarnexDoc& doc, std::vector<CColumnDef> columns, bool fullPath, CSortState sort,
                           const ISettingsStore& store, IShownText* shown)
    : m_doc(doc), m_columns(std::move(columns)), m_bFullPath(fullPath), m_sort(sort), m_store(store), m_shown(shown)
{
}

void CCliListView::OnUpdate(int hint, const CHintPayload& payload)
{
    switch (hint) {
    case hintFileAdded:
        if (payload.path) {
            AppendRows(*payload.path, m_doc.m_mapFiles.Find(*payload.path));
        } else {
            m_rows.clear();
            m_doc.m_mapFiles.ForEach(
                [this](const std::string& path, const CGameEntry& entry) { AppendRows(path, &entry); });
        }
        break;
    case hintFileRemoved:
        if (payload.path) {
            // Every game of the file goes with it.
            std::erase_if(m_rows, [&](const CReportRow& row) { return row.key == *payload.path; });
        } else {
            m_rows.clear();
        }
        break;
    case hintLoadCount:
        if (payload.count > 0)
            m_rows.reserve(static_cast<std::size_t>(std::min(payload.count, kMaxReservedRows)));
        break;
    case hintBatchDone:
        SortReportRows(m_rows, m_sort, m_columns.size());
        break;
    default:
        break;
    }
}

void CCliListView::AppendRows(const std::string& path, const CGameEntry* entry)
{
    const std::size_t games = entry ? entry->GameCount() : 1;
    for (std::size_t game = 0; game < games; ++game)
        m_rows.push_back(MakeReportRow(path, entry, m_columns, m_bFullPath, m_store, m_shown, game));
}

const CGameEntry* CCliListView::GameOf(const CReportRow& row) const
{
    const CGameEntry* entry = m_doc.m_mapFiles.Find(row.key);
    return entry && row.game < entry->GameCount() ? &entry->Game(row.game) : nullptr;
}

void CCliListView::CellsToUtf8(const CReportRow& row, IUtf8Converter& converter, std::vector<std::string>& cells) const
{
    if (row.cells.empty())
        return;
    cells.push_back(converter.PathToUtf8(row.cells[0]));
    if (const CGameEntry* entry = GameOf(row)) {
        const std::vector<std::string> rest(row.cells.begin() + 1, row.cells.end());
        for (std::string& cell : converter.TextsToUtf8(rest, *entry, row.key))
            cells.push_back(std::move(cell));
    } else {
        cells.resize(row.cells.size());
    }
}

std::string CCliListView::ExportText(IUtf8Converter* utf8, const CRowTest& keep, IUtf8Converter* keepDecoder,
                                     bool escape) const
{
    std::string out;
    std::vector<std::string> cells;
    std::vector<std::string> shown;
    for (const CReportRow& row : m_rows) {
        if (keep) {
            shown.clear();
            if (keepDecoder)
                CellsToUtf8(row, *keepDecoder, shown);
            if (!keep(keepDecoder ? shown : row.cells, GameOf(row), row.key))
                continue;
        }
        cells.clear();
        if (utf8) {
            CellsToUtf8(row, *utf8, cells);
        } else {
            for (const std::string& cell : row.cells)
                cells.emplace_back(CutExportCell(cell));
        }
        if (!escape) {
            AppendExportLine(out, cells);
            continue;
        }
        // The cut comes first, so a row holds what Export writes, escaped.
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0)
                out += '\t';
            AppendEscapedCell(out, CutExportCell(cells[c]));
        }
        out += "\r\n";
    }
    return out;
}
