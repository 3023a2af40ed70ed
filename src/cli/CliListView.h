#pragma once

#include "collection/UpdateHint.h"
#include "columns/ColumnDef.h"
#include "report/ReportRows.h"

#include <functional>
#include <vector>

class CGameEntry;
class CVarnexDoc;
class IUtf8Converter;
class ISettingsStore;

// The rows the report view would hold, kept from the document's hints the
// same way: a row appended for every game of every added file, the stored sort applied
// when a batch is done. Lets the tool write what Export writes.
class CCliListView : public IDocView
{
public:
    // shown, when given, lets the user's names match names as the window shows them.
    CCliListView(const CVarnexDoc& doc, std::vector<CColumnDef> columns, bool fullPath, CSortState sort,
                 const ISettingsStore& store, IShownText* shown = nullptr);

    void OnUpdate(int hint, const CHintPayload& payload) override;

    const std::vector<CReportRow>& Rows() const { return m_rows; }
    const std::vector<CColumnDef>& Columns() const { return m_columns; }

    // Whether a row (its cells, column 0 first, its game's record when the
    // collection has one, and its file's path) is written.
    using CRowTest =
        std::function<bool(const std::vector<std::string>& cells, const CGameEntry* entry, const std::string& path)>;
    // The export text of the rows as they stand, with keep of the rows it
    // keeps; with a converter every cell is converted to UTF-8 before the
    // cut (which keeps whole characters). keep is asked with the cells as
    // the window shows them: converted by keepDecoder where one is given, so
    // a record in its own charset matches here as it does in the window.
    // With escape, each cut cell is written escaped (AppendEscapedCell).
    std::string ExportText(IUtf8Converter* utf8 = nullptr, const CRowTest& keep = {},
                           IUtf8Converter* keepDecoder = nullptr, bool escape = false) const;

private:
    // One row for each game of the file at path.
    void AppendRows(const std::string& path, const CGameEntry* entry);
    // The game a row shows, or null when its file is not in the collection.
    const CGameEntry* GameOf(const CReportRow& row) const;
    void CellsToUtf8(const CReportRow& row, IUtf8Converter& converter, std::vector<std::string>& cells) const;

    const CVarnexDoc& m_doc;
    std::vector<CColumnDef> m_columns;
    bool m_bFullPath;
    CSortState m_sort;
    const ISettingsStore& m_store;
    IShownText* m_shown;
    std::vector<CReportRow> m_rows;
};
