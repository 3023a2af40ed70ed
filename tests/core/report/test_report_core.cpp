#include "TestSupport.h"

#include "collection/GameEntry.h"
#include "report/DisplayName.h"
#include "report/ExportWriter.h"
#include "report/ReportRows.h"
#include "report/RowCompare.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CColumnDef> Columns(std::initializer_list<const char*> signatures)
{
    std::vector<CColumnDef> columns;
    for (const char* signature : signatures)
        columns.push_back({signature, signature});
    return columns;
}

CReportRow Row(std::string key, std::vector<std::string> cells)
{
    CReportRow row;
    row.key = std::move(key);
    row.cells = std::move(cells);
    return row;
}

std::vector<std::string> Keys(const std::vector<CReportRow>& rows)
{
    std::vector<std::string> keys;
    for (const CReportRow& row : rows)
        keys.push_back(row.key);
    return keys;
}

} // namespace

TEST(DisplayNameTest, ShowsTheFinalComponentOrTheWholePath)
{
    EXPECT_EQ(GetDisplayName("C:\\games\\2000\\a.sgf", false), "a.sgf");
    EXPECT_EQ(GetDisplayName("C:\\games\\2000\\a.sgf", true), "C:\\games\\2000\\a.sgf");
    EXPECT_EQ(GetDisplayName("/home/me/games/b.SGF", false), "b.SGF");
    EXPECT_EQ(GetDisplayName("/home/me\\mixed/c.mgt", false), "c.mgt");
    EXPECT_EQ(GetDisplayName("plain.sgf", false), "plain.sgf");
    EXPECT_EQ(GetDisplayName("/folder/", false), "");
    const std::string longName(255, 'n');
    EXPECT_EQ(GetDisplayName("/g/" + longName + ".sgf", false), longName + ".sgf");
}

TEST(RowCompareTest, ComparesBytesByCodeValueWithTheEmptyTextFirst)
{
    EXPECT_LT(CompareRows("Zeta.sgf", "alpha.sgf", true), 0);
    EXPECT_LT(CompareRows("10k", "1d", true), 0);
    EXPECT_LT(CompareRows("1d", "9k", true), 0);
    EXPECT_LT(CompareRows("10", "9", true), 0);
    EXPECT_LT(CompareRows("", "A", true), 0);
    EXPECT_LT(CompareRows("ab", "abc", true), 0);
    // A high byte sorts after ASCII: bytes are unsigned.
    EXPECT_LT(CompareRows("z", "\xE9", true), 0);
    EXPECT_EQ(CompareRows("same", "same", true), 0);
    EXPECT_EQ(CompareRows("same", "same", false), 0);
    EXPECT_GT(CompareRows("", "A", false), 0);
    EXPECT_GT(CompareRows("Zeta.sgf", "alpha.sgf", false), 0);
}

TEST(SortStateTest, EachClickFlipsThatColumnsOwnDirection)
{
    CSortState sort;
    EXPECT_EQ(sort.m_nColSortCur, -1);
    sort.Click(2);
    EXPECT_EQ(sort.m_nColSortCur, 2);
    EXPECT_TRUE(sort.IsAscending(2));
    sort.Click(1);
    EXPECT_TRUE(sort.IsAscending(1));
    sort.Click(2);
    EXPECT_FALSE(sort.IsAscending(2));
    EXPECT_TRUE(sort.IsAscending(1));
    EXPECT_EQ(sort.m_nColSort, 0b010);

    // Columns 0 and 32 share one bit; bit 31 works as well.
    sort.Click(32);
    EXPECT_TRUE(sort.IsAscending(0));
    sort.Click(31);
    EXPECT_TRUE(sort.IsAscending(31));
    EXPECT_LT(sort.m_nColSort, 0);
}

TEST(SortRowsTest, SortsByTheCurrentColumnInItsDirection)
{
    std::vector<CReportRow> rows = {
        Row("b", {"b.sgf", "2001", "10k"}),
        Row("a", {"a.sgf", "", "1d"}),
        Row("c", {"c.sgf", "1999", "9k"}),
        Row("d", {"d.sgf", "2001", "2d"}),
    };
    CSortState sort;
    sort.Click(1);
    SortReportRows(rows, sort, 2);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"a", "c", "b", "d"}));

    sort.Click(1);
    SortReportRows(rows, sort, 2);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"b", "d", "c", "a"}));

    sort.Click(2);
    SortReportRows(rows, sort, 2);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"b", "a", "d", "c"}));
}

TEST(SortRowsTest, EqualCellsFollowTheirPathsWhateverOrderTheRowsCameIn)
{
    // One collection's rows, as added and as read back in another order.
    const std::vector<CReportRow> added = {
        Row("/g/c.sgf", {"c.sgf", "2001", "5d"}), Row("/g/a.sgf", {"a.sgf", "2001", "5d"}),
        Row("/g/d.sgf", {"d.sgf", "1999", "5d"}), Row("/g/b.sgf", {"b.sgf", "2001", "5d"})};
    std::vector<CReportRow> readBack = {added[3], added[1], added[0], added[2]};
    for (const bool byMeaning : {false, true}) {
        for (const std::int32_t column : {1, 2}) {
            for (const bool ascending : {true, false}) {
                std::vector<CReportRow> first = added;
                std::vector<CReportRow> second = readBack;
                CSortState sort;
                sort.m_bByMeaning = byMeaning;
                sort.m_nColSortCur = column;
                sort.m_nColSort = ascending ? 1 << column : 0;
                SortReportRows(first, sort, 2);
                SortReportRows(second, sort, 2);
                EXPECT_EQ(Keys(first), Keys(second)) << byMeaning << column << ascending;
            }
        }
    }
    std::vector<CReportRow> rows = readBack;
    CSortState sort;
    sort.Click(1);
    sort.Click(1);
    SortReportRows(rows, sort, 2);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"/g/a.sgf", "/g/b.sgf", "/g/c.sgf", "/g/d.sgf"}));
}

TEST(SortRowsTest, ASortColumnBeyondTheColumnsBecomesNoneAndNothingMoves)
{
    std::vector<CReportRow> rows = {Row("b", {"b.sgf", "x"}), Row("a", {"a.sgf", "y"})};
    CSortState sort;
    sort.m_nColSort = -1;
    sort.m_nColSortCur = 5;
    SortReportRows(rows, sort, 3);
    EXPECT_EQ(sort.m_nColSortCur, -1);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"b", "a"}));

    // The last user-defined column is still a sort column; the file name too.
    sort.m_nColSortCur = 1;
    SortReportRows(rows, sort, 1);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"b", "a"}));
    sort.m_nColSortCur = 0;
    SortReportRows(rows, sort, 0);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"a", "b"}));

    sort.m_nColSortCur = -4;
    SortReportRows(rows, sort, 1);
    EXPECT_EQ(sort.m_nColSortCur, -1);
}

TEST(ReportRowTest, CellsComeFromTheEntryAndTheImageFromItsViewedFlag)
{
    CMemorySettingsStore store;
    CGameEntry entry(ENTRY_VIEWED | 0x10);
    entry.m_props.Set("DT", "2000-01-02");
    entry.m_props.Set("PB", "Honinbo");
    entry.m_props.Set("PW", "Other");
    entry.m_props.Set("RE", "B+R");

    const auto columns = Columns({"DT", "GN", "$Winner", "PB"});
    const CReportRow row = MakeReportRow("/g/2000/a.sgf", &entry, columns, false, store);
    EXPECT_EQ(row.key, "/g/2000/a.sgf");
    EXPECT_EQ(row.cells, (std::vector<std::string>{"a.sgf", "2000-01-02", "", "Honinbo", "Honinbo"}));
    EXPECT_EQ(row.image, 1);

    entry.m_nFlags = 0x10;
    EXPECT_EQ(MakeReportRow("/g/a.sgf", &entry, columns, true, store).image, 0);
    EXPECT_EQ(MakeReportRow("/g/a.sgf", &entry, columns, true, store).cells[0], "/g/a.sgf");
}

TEST(ReportRowTest, ARowWithoutAnEntryHasEmptyCells)
{
    CMemorySettingsStore store;
    const CReportRow row = MakeReportRow("C:\\x\\b.sgf", nullptr, Columns({"DT", "PB"}), false, store);
    EXPECT_EQ(row.cells, (std::vector<std::string>{"b.sgf", "", ""}));
    EXPECT_EQ(row.image, 0);
}

TEST(ExportTest, LinesJoinCellsWithTabsAndEndInCrLf)
{
    std::string out;
    AppendExportLine(out, {"a.sgf", "2000", "", "B+R"});
    AppendExportLine(out, {"b.sgf", "tab\tinside", "x", "y"});
    AppendExportLine(out, {"only.sgf"});
    EXPECT_EQ(out, "a.sgf\t2000\t\tB+R\r\nb.sgf\ttab\tinside\tx\ty\r\nonly.sgf\r\n");
}

TEST(ExportTest, LongCellsAreCutTo199BytesWithoutSplittingACharacter)
{
    const std::string ascii(250, 'a');
    EXPECT_EQ(CutExportCell(ascii), std::string(199, 'a'));
    EXPECT_EQ(CutExportCell(std::string(199, 'a')), std::string(199, 'a'));

    // A two-byte character at bytes 198..199 is dropped; one at 197..198 is kept.
    const std::string e = "\xC3\xA9";
    EXPECT_EQ(CutExportCell(std::string(198, 'a') + e + "zz"), std::string(198, 'a'));
    EXPECT_EQ(CutExportCell(std::string(197, 'a') + e + "zz"), std::string(197, 'a') + e);
    // A four-byte character starting at 196 and one starting at 195.
    const std::string g = "\xF0\x9F\x80\x84";
    EXPECT_EQ(CutExportCell(std::string(196, 'a') + g + "z"), std::string(196, 'a'));
    EXPECT_EQ(CutExportCell(std::string(195, 'a') + g + "z"), std::string(195, 'a') + g);
    // Bytes that are not UTF-8 (a GBK text) keep all 199 bytes.
    std::string gbk;
    while (gbk.size() < 260)
        gbk += "\xD6\xD0";
    EXPECT_EQ(CutExportCell(gbk).size(), 199u);

    std::string line;
    AppendExportLine(line, {ascii, "b"});
    EXPECT_EQ(line, std::string(199, 'a') + "\tb\r\n");
}

TEST(ExportTest, TheFileIsReplacedAndAnUnopenablePathFails)
{
    CTempDir dir;
    const std::string path = dir.Write("list.txt", std::string(500, 'o'));
    ASSERT_TRUE(WriteExportFile(path, "a\tb\r\n"));
    EXPECT_EQ(ReadFileBytes(path), "a\tb\r\n");
    EXPECT_FALSE(WriteExportFile((dir.path() / "missing" / "list.txt").string(), "x"));
    EXPECT_FALSE(WriteExportFile(dir.path().string(), "x"));
}
