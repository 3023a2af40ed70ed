#include "columns/ColumnDef.h"
#include "columns/ColumnLayout.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Headers(const CColumnLayout& layout)
{
    std::vector<std::string> headers;
    for (const CListColumn& column : layout.listColumns) {
        headers.push_back(column.header);
    }
    return headers;
}

std::vector<std::int32_t> Widths(const CColumnLayout& layout)
{
    std::vector<std::int32_t> widths;
    for (const CListColumn& column : layout.listColumns) {
        widths.push_back(column.width);
    }
    return widths;
}
} // namespace

TEST(ColumnDefinition, SplitsAtTheFirstColon)
{
    const CColumnDef rank = SplitDefinition("Black Rank:BR");
    EXPECT_EQ(rank.m_strHeader, "Black Rank");
    EXPECT_EQ(rank.m_strSignature, "BR");

    const CColumnDef more = SplitDefinition("Winner:$Winner:extra");
    EXPECT_EQ(more.m_strHeader, "Winner");
    EXPECT_EQ(more.m_strSignature, "$Winner:extra");

    const CColumnDef bare = SplitDefinition("GN");
    EXPECT_EQ(bare.m_strHeader, "");
    EXPECT_EQ(bare.m_strSignature, "GN");

    EXPECT_EQ(JoinDefinition("Place", "PC"), "Place:PC");
}

TEST(ColumnLayout, EmptyStoreShowsTheNineDefaultColumnsAt80Pixels)
{
    const CMemorySettingsStore store;
    const CColumnLayout layout = BuildColumnLayout(store);
    EXPECT_EQ(Headers(layout), (std::vector<std::string>{"File Name", "Game Name", "Date", "Black", "Black Rank",
                                                         "White", "White Rank", "Winner", "Opponent"}));
    EXPECT_EQ(Widths(layout), std::vector<std::int32_t>(9, 80));
    ASSERT_EQ(layout.columns.size(), 8u);
    EXPECT_EQ(layout.columns[6].m_strSignature, "$Winner");
    EXPECT_EQ(layout.columns[7].m_strSignature, "$Opponent");
}

TEST(ColumnLayout, EmptyStoredListsMeanDefaultsAndEveryDefinition)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Header", "Definition", "");
    store.WriteProfileString("Header", "Index", "");
    EXPECT_EQ(BuildColumnLayout(store).listColumns.size(), 9u);
    EXPECT_EQ(ReadDefinitionList(store).size(), 8u);
    EXPECT_TRUE(ReadShownList(store).empty());
    // Nothing is written back.
    EXPECT_EQ(store.GetProfileString("Header", "Definition", "absent"), "");
}

TEST(ColumnLayout, ShownListPicksDefinitionsByPositionInItsOrder)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Header", "Index", "3|0");
    const CColumnLayout layout = BuildColumnLayout(store);
    EXPECT_EQ(Headers(layout), (std::vector<std::string>{"File Name", "Black Rank", "Game Name"}));
    EXPECT_EQ(layout.columns[0].m_strSignature, "BR");
    EXPECT_EQ(layout.columns[1].m_strSignature, "GN");

    store.WriteProfileString("Header", "Index", "1|1| 2|x");
    EXPECT_EQ(Headers(BuildColumnLayout(store)),
              (std::vector<std::string>{"File Name", "Date", "Date", "Black", "Game Name"}));
}

TEST(ColumnLayout, ShownItemsOutsideTheDefinitionListGiveNoColumn)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Header", "Definition", "Place:PC|Event:EV");
    store.WriteProfileString("Header", "Index", "1|-1|2|7|99999999999|0");
    EXPECT_EQ(Headers(BuildColumnLayout(store)), (std::vector<std::string>{"File Name", "Event", "Place"}));

    store.WriteProfileString("Header", "Index", "5");
    EXPECT_EQ(Headers(BuildColumnLayout(store)), (std::vector<std::string>{"File Name"}));
}

TEST(ColumnLayout, StoredDefinitionsKeepEscapedBarsAndColumnsWithoutHeaders)
{
    CMemorySettingsStore store;
    CDelimStringArray definitions;
    definitions.push_back("Black|White:PB");
    definitions.push_back("GN");
    definitions.SaveToProfile(store, "Header", "Definition");
    const CColumnLayout layout = BuildColumnLayout(store);
    EXPECT_EQ(Headers(layout), (std::vector<std::string>{"File Name", "Black|White", ""}));
    EXPECT_EQ(layout.columns[1].m_strSignature, "GN");
}

TEST(ColumnLayout, StoredWidthsGoToColumnsByPositionAndTheRestGet80)
{
    CMemorySettingsStore store;
    SaveColumnWidths(store, {120, 60, 200});
    EXPECT_EQ(store.GetProfileInt("Header", "nWidth", 0), 3);
    EXPECT_EQ(store.GetProfileBinary("Header", "Width"),
              std::string("\x78\x00\x00\x00\x3C\x00\x00\x00\xC8\x00\x00\x00", 12));
    EXPECT_EQ(Widths(BuildColumnLayout(store)), (std::vector<std::int32_t>{120, 60, 200, 80, 80, 80, 80, 80, 80}));
}

TEST(ColumnWidths, WidthsRoundTripAsSignedLittleEndian)
{
    const std::vector<std::int32_t> widths{0, 1, -1, 2147483647, -2147483647 - 1, 0x01020304};
    const std::string bytes = EncodeWidths(widths);
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(20), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(bytes.substr(8, 4), std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(DecodeWidths(bytes, 6), widths);
    EXPECT_EQ(DecodeWidths(bytes, 2), (std::vector<std::int32_t>{0, 1}));
}

TEST(ColumnWidths, StoredCountIsNeverTrustedBeyondTheBytes)
{
    EXPECT_EQ(DecodeWidths(std::string("\x10\x00\x00\x00\x20\x00", 6), 2147483647), (std::vector<std::int32_t>{16}));
    EXPECT_TRUE(DecodeWidths(std::string(8, '\1'), -5).empty());
    EXPECT_TRUE(DecodeWidths("", 3).empty());

    CMemorySettingsStore store;
    store.WriteProfileInt("Header", "nWidth", 2147483647);
    store.WriteProfileBinary("Header", "Width", std::string("\x64\x00\x00\x00", 4));
    EXPECT_EQ(LoadColumnWidths(store), (std::vector<std::int32_t>{100}));
    EXPECT_EQ(Widths(BuildColumnLayout(store)).front(), 100);

    store.WriteProfileInt("Header", "nWidth", -3);
    EXPECT_TRUE(LoadColumnWidths(store).empty());

    store.WriteProfileInt("Header", "nWidth", 0);
    EXPECT_TRUE(LoadColumnWidths(store).empty());
}

TEST(ColumnWidths, CountWithoutWidthValueGivesDefaultWidths)
{
    CMemorySettingsStore store;
    store.WriteProfileInt("Header", "nWidth", 4);
    EXPECT_TRUE(LoadColumnWidths(store).empty());
    EXPECT_EQ(Widths(BuildColumnLayout(store)), std::vector<std::int32_t>(9, 80));

    // More stored widths than columns: only as many as there are columns are used.
    SaveColumnWidths(store, std::vector<std::int32_t>(12, 33));
    store.WriteProfileString("Header", "Index", "0");
    EXPECT_EQ(Widths(BuildColumnLayout(store)), (std::vector<std::int32_t>{33, 33}));
}
