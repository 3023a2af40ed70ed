#include "columns/ColumnLayout.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"
#include "util/LittleEndian.h"

#include <algorithm>

namespace {
constexpr std::size_t kWidthBytes = 4;
} // namespace

CDelimStringArray ReadDefinitionList(const ISettingsStore& store)
{
    CDelimStringArray definitions;
    definitions.LoadWithDefault(store, settings::kDefinitions.section, settings::kDefinitions.key,
                                IDS_DEFAULT_DEFINITIONS, 1);
    return definitions;
}

CDelimStringArray ReadShownList(const ISettingsStore& store)
{
    CDelimStringArray shown;
    shown.LoadFromProfile(store, settings::kShownColumns.section, settings::kShownColumns.key);
    return shown;
}

// The stored count is only an upper bound: a "Width" value that holds fewer
// widths gives fewer, and the columns without one take the default width.
std::vector<std::int32_t> LoadColumnWidths(const ISettingsStore& store)
{
    const std::int32_t count = ReadInt(store, settings::kWidthCount);
    if (count <= 0) {
        return {};
    }
    const std::optional<std::string> bytes = ReadBinary(store, settings::kWidths);
    if (!bytes) {
        return {};
    }
    return DecodeWidths(*bytes, count);
}

void SaveColumnWidths(ISettingsStore& store, const std::vector<std::int32_t>& widths)
{
    WriteInt(store, settings::kWidthCount, static_cast<std::int32_t>(widths.size()));
    WriteBinary(store, settings::kWidths, EncodeWidths(widths));
}

std::string EncodeWidths(const std::vector<std::int32_t>& widths)
{
    std::string bytes;
    bytes.reserve(widths.size() * kWidthBytes);
    for (const std::int32_t width : widths)
        AppendLE32(bytes, static_cast<std::uint32_t>(width));
    return bytes;
}

std::vector<std::int32_t> DecodeWidths(std::string_view bytes, std::int32_t count)
{
    if (count <= 0) {
        return {};
    }
    const std::size_t available = bytes.size() / kWidthBytes;
    const std::size_t n = std::min(available, static_cast<std::size_t>(count));
    std::vector<std::int32_t> widths;
    widths.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        widths.push_back(static_cast<std::int32_t>(ReadLE32(bytes, i * kWidthBytes)));
    return widths;
}

// A shown item that names no position of the definition list (a store edited
// by hand, or definitions reset to the default while "Index" stayed) gives no
// column; the other shown columns keep their order.
CColumnLayout BuildColumnLayout(const ISettingsStore& store)
{
    const CDelimStringArray definitions = ReadDefinitionList(store);
    const CDelimStringArray shown = ReadShownList(store);

    CColumnLayout layout;
    if (shown.empty()) {
        layout.columns.reserve(definitions.size());
        for (const std::string& definition : definitions) {
            layout.columns.push_back(SplitDefinition(definition));
        }
    } else {
        layout.columns.reserve(shown.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::int32_t position = shown.GetInt(static_cast<std::int32_t>(i));
            if (position < 0 || static_cast<std::size_t>(position) >= definitions.size()) {
                continue;
            }
            layout.columns.push_back(SplitDefinition(definitions[static_cast<std::size_t>(position)]));
        }
    }

    const std::vector<std::int32_t> widths = LoadColumnWidths(store);
    const auto widthOf = [&widths](std::size_t column) {
        return column < widths.size() ? widths[column] : kDefaultColumnWidth;
    };
    layout.listColumns.reserve(layout.columns.size() + 1);
    layout.listColumns.push_back(CListColumn{"File Name", widthOf(0)});
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        layout.listColumns.push_back(CListColumn{layout.columns[i].m_strHeader, widthOf(i + 1)});
    }
    return layout;
}
