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

// Every grade character in every charset a rank is read in, after a digit
// and after numerals of its own charset, reads as the Latin rank beside it.
TEST(RankValue, EveryCharsetsSpellingOfTheTableReadsAsItsLatinRank)
{
    struct SCase
    {
        std::string_view spelling;
        std::string_view same;
    };
    const SCase cases[] = {
        // UTF-8: 级 級 급 段 단, 一..十 and 初
        {"5\xE7\xBA\xA7", "5k"},
        {"5\xE7\xB4\x9A", "5k"},
        {"5\xEA\xB8\x89", "5k"},
        {"5\xE6\xAE\xB5", "5d"},
        {"5\xEB\x8B\xA8", "5d"},
        {"\xE4\xB9\x9D\xE6\xAE\xB5", "9d"},                          // 九段
        {"\xE5\x88\x9D\xE6\xAE\xB5", "1d"},                          // 初段
        {"\xE4\xBA\x8C\xE6\xAE\xB5", "2d"},                          // 二段
        {"\xE4\xB8\x89\xE6\xAE\xB5\xE6\xA0\xBC", "3d"},              // 三段格
        {"\xE5\x8D\x81\xE7\xB4\x9A", "10k"},                         // 十級
        {"\xE5\x8D\x81\xE4\xBA\x8C\xE7\xBA\xA7", "12k"},             // 十二级
        {"\xE4\xBA\x8C\xE5\x8D\x81\xE4\xBA\x94\xE7\xBA\xA7", "25k"}, // 二十五级
        {"\xE4\xB8\x9A\xE4\xBD\x99"
         "5\xE6\xAE\xB5",
         "5d"},                                                     // 业余5段
        {"\xE3\x82\xA2\xE3\x83\x9E\xE4\xBA\x94\xE6\xAE\xB5", "5d"}, // アマ五段
        // GB2312/GBK: 级 級 段, 五, 初, 业余
        {"5\xBC\xB6", "5k"},
        {"5\xBC\x89", "5k"},
        {"5\xB6\xCE", "5d"},
        {"\xCE\xE5\xB6\xCE", "5d"},
        {"\xB3\xF5\xB6\xCE", "1d"},
        {"\xD2\xB5\xD3\xE0\xCE\xE5\xB6\xCE", "5d"},
        // Big5: 級 段, 五
        {"5\xAF\xC5", "5k"},
        {"5\xAC\x71", "5d"},
        {"\xA4\xAD\xAC\x71", "5d"},
        // Shift_JIS: 級 段, 五, 初, アマ
        {"5\x8B\x89", "5k"},
        {"5\x92\x69", "5d"},
        {"\x8C\xDC\x92\x69", "5d"},
        {"\x8F\x89\x92\x69", "1d"},
        {"\x83\x41\x83\x7D"
         "3\x92\x69",
         "3d"},
        // EUC-JP: 級 段, 五
        {"5\xB5\xE9", "5k"},
        {"5\xC3\xCA", "5d"},
        {"\xB8\xDE\xC3\xCA", "5d"},
        // EUC-KR: 급 級 단 段, 五
        {"5\xB1\xDE", "5k"},
        {"5\xD0\xE4", "5k"},
        {"5\xB4\xDC", "5d"},
        {"5\xD3\xAB", "5d"},
        {"\xE7\xE9\xD3\xAB", "5d"},
    };
    for (const SCase& c : cases) {
        ASSERT_TRUE(RankStrength(c.same).has_value()) << c.same;
        EXPECT_EQ(RankStrength(c.spelling), RankStrength(c.same)) << c.same;
    }
    // Numerals of one charset never finish with a grade of another, and
    // numerals that spell no number read as none.
    for (std::string_view none : {"\xE4\xB9\x9D\xB6\xCE",                 // 九 UTF-8, 段 GBK
                                  "\xE5\x8D\x81\xE5\x8D\x81\xE6\xAE\xB5", // 十十段
                                  "\xE4\xB9\x9D\xE4\xB9\x9D\xE6\xAE\xB5", // 九九段
                                  "\xE5\x8D\x81\xE6\xAE\xB5",             // 十段: no dan above 9
                                  "\xE4\xB8\x9A\xE4\xBD\x99"
                                  "5p"}) // 业余5p: no amateur professional
        EXPECT_FALSE(RankStrength(none).has_value()) << none;
}

TEST(MeaningOrder, RanksInNumeralsSortAmongTheOthersAndAmateurDansBelowProfessionals)
{
    // 九段, 初段, 业余5段, 二段 with Latin ones.
    EXPECT_EQ(Sorted({"\xE4\xB9\x9D\xE6\xAE\xB5", "1p", "\xE5\x88\x9D\xE6\xAE\xB5", "3k",
                      "\xE4\xB8\x9A\xE4\xBD\x99"
                      "5\xE6\xAE\xB5",
                      "\xE4\xBA\x8C\xE6\xAE\xB5"},
                     true),
              (std::vector<std::string>{"3k", "\xE5\x88\x9D\xE6\xAE\xB5", "\xE4\xBA\x8C\xE6\xAE\xB5",
                                        "\xE4\xB8\x9A\xE4\xBD\x99"
                                        "5\xE6\xAE\xB5",
                                        "\xE4\xB9\x9D\xE6\xAE\xB5", "1p"}));
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
    // One-digit months and days sort among the days they name.
    EXPECT_EQ(
        Sorted({"2002-05-21", "2002-5-20", "2002-05-19", "1991-03-8", "1991-03-10", "2002 05 20"}, true),
        (std::vector<std::string>{"1991-03-8", "1991-03-10", "2002-05-19", "2002 05 20", "2002-5-20", "2002-05-21"}));
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
