#pragma once

#include "columns/ColumnDef.h"
#include "settings/DelimStringArray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ISettingsStore;

constexpr std::int32_t kDefaultColumnWidth = 80;

// A list column as the view applies it.
struct CListColumn
{
    std::string header;
    std::int32_t width = kDefaultColumnWidth;
};

// What LoadColumns builds: m_columns for the view, and every list column,
// "File Name" first.
struct CColumnLayout
{
    std::vector<CColumnDef> columns;
    std::vector<CListColumn> listColumns;
};

// "Header"/"Definition", or the default list when missing or empty.
CDelimStringArray ReadDefinitionList(const ISettingsStore& store);
// "Header"/"Index" as stored (may be empty).
CDelimStringArray ReadShownList(const ISettingsStore& store);

// The stored widths: "Header"/"nWidth" of them from "Header"/"Width", fewer
// when the binary value holds fewer; empty when none are stored.
std::vector<std::int32_t> LoadColumnWidths(const ISettingsStore& store);
// Writes "Header"/"nWidth" and "Header"/"Width" for widths.
void SaveColumnWidths(ISettingsStore& store, const std::vector<std::int32_t>& widths);

std::string EncodeWidths(const std::vector<std::int32_t>& widths);
// Up to count widths from bytes (fewer when bytes hold fewer).
std::vector<std::int32_t> DecodeWidths(std::string_view bytes, std::int32_t count);

// The columns from the stored lists and widths. A shown item that is not a
// position in the definition list gives no column.
CColumnLayout BuildColumnLayout(const ISettingsStore& store);
