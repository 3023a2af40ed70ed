#include "report/MeaningOrder.h"
#include "report/RankValue.h"
#include "report/ReportRows.h"

#include <gtest/gtest.h>

namespace {

// The values of column 1 after sorting rows made of them.
std::vector<std::string> Sorted(const std::vector<std::string>& values, bool ascending, bool byMeaning = true)
{
    std::vector<CReportRow> rows;
    for (const std::string& value : values) {
        CReportRow row;
        row.cells = {"f.sgf", value};
        rows.push_back(std::move(row));
    }
    CSortState sort;
    sort.m_bByMeaning = byMeaning;
    sort.m_nColSortCur = 1;
    sort.m_nColSort = ascending ? 2 : 0;
    SortReportRows(rows, sort, 1);
    std::vector<std::string> out;
    for (const CReportRow& row : rows)
        out.push_back(row.cells[1]);
    return out;
}

} // namespace

TEST(RankValue, EverySpellingReadsAsItsStrength)
{
    const int kyu1 = *RankStrength("1k");
    const int dan1 = *RankStrength("1d");
    const int pro1 = *RankStrength("1p");
    EXPECT_LT(*RankStrength("30k"), *RankStrength("2k"));
    EXPECT_LT(*RankStrength("2k"), kyu1);
    EXPECT_LT(kyu1, dan1);
    EXPECT_LT(*RankStrength("9d"), pro1);
    EXPECT_LT(pro1, *RankStrength("9p"));
    for (std::string_view same : {"5d", "5D", "5 dan", "5-dan", "5Dan", " 5d ", "5d?", "5d*", "5 d *",
                                  "5\xE6\xAE\xB5", // 段 in UTF-8
                                  "5\xB6\xCE",     // 段 in GBK
                                  "5\xAC\x71",     // 段 in Big5
                                  "5\x92\x69",     // 段 in Shift_JIS
                                  "5\xEB\x8B\xA8", // 단 in UTF-8
                                  "5\xB4\xDC"})    // 단 in EUC-KR
        EXPECT_EQ(RankStrength(same), RankStrength("5d")) << same;
    for (std::string_view same : {"3kyu", "3 Kyu", "3\xE7\xBA\xA7", "3\xE7\xB4\x9A", "3\xEA\xB8\x89", "3\xBC\xB6",
                                  "3\x8B\x89", "3\xB1\xDE", "3\xAF\xC5"})
        EXPECT_EQ(RankStrength(same), RankStrength("3k")) << same;
    for (std::string_view same : {"9 pro", "9P", "P9", "p9*"})
        EXPECT_EQ(RankStrength(same), RankStrength("9p")) << same;
    for (std::string_view none : {"", "NR", "?", "d5", "5", "5x", "5 dans", "31k", "0d", "10d", "123k", "5d5", "5k d"})
        EXPECT_FALSE(RankStrength(none).has_value()) << none;
}

TEST(MeaningOrder, RanksSortByStrengthAndWhatIsNoRankComesLastEitherWay)
{
    const std::vector<std::string> ranks = {"2d", "NR", "10k", "1p", "", "1d", "2k", "9 dan", "3\xE6\xAE\xB5"};
    // The byte order sorts them as text.
    EXPECT_EQ(Sorted(ranks, true, false),
              (std::vector<std::string>{"", "10k", "1d", "1p", "2d", "2k", "3\xE6\xAE\xB5", "9 dan", "NR"}));
    EXPECT_EQ(Sorted(ranks, true),
              (std::vector<std::string>{"10k", "2k", "1d", "2d", "3\xE6\xAE\xB5", "9 dan", "1p", "", "NR"}));
    EXPECT_EQ(Sorted(ranks, false),
              (std::vector<std::string>{"1p", "9 dan", "3\xE6\xAE\xB5", "2d", "1d", "2k", "10k", "NR", ""}));
    // Equal strengths keep a fixed order: their bytes.
    EXPECT_EQ(Sorted({"5d*", "5d", "5d?"}, true), (std::vector<std::string>{"5d", "5d*", "5d?"}));
}

TEST(MeaningOrder, DatesSortByTheirFirstDateAndOtherColumnsByBytes)
{
    EXPECT_EQ(Sorted({"2016-03-05", "1999", "2016-03-04,05", "unknown", "2016", "2016.01.01"}, true),
              (std::vector<std::string>{"1999", "2016.01.01", "2016", "2016-03-04,05", "2016-03-05", "unknown"}));
    // Mostly names: bytes, whatever the few ranks among them.
    EXPECT_EQ(Sorted({"zed", "3d", "kim", "1k"}, true), (std::vector<std::string>{"1k", "3d", "kim", "zed"}));
}

TEST(MeaningOrder, TheKindOfAColumnIsWhatMostOfItsValuesAre)
{
    EXPECT_EQ(ColumnKindOf({"3d", "", "", "NR", "5k"}), EColumnKind::Ranks);
    EXPECT_EQ(ColumnKindOf({"3d", "NR", "Kim", "5k"}), EColumnKind::Bytes);
    EXPECT_EQ(ColumnKindOf({"2016-01-01", "1999", "?"}), EColumnKind::Dates);
    EXPECT_EQ(ColumnKindOf({"", ""}), EColumnKind::Bytes);
}
