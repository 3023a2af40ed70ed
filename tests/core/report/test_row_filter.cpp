#include "report/RowFilter.h"

#include <gtest/gtest.h>

TEST(RowFilter, BlanksSeparateWordsAndABlankTextKeepsEveryRow)
{
    EXPECT_EQ(CRowFilter("  kim \t lee  ").Words(), (std::vector<std::string>{"kim", "lee"}));
    EXPECT_TRUE(CRowFilter(" \t ").IsEmpty());
    EXPECT_TRUE(CRowFilter(" \t ").Matches("anything\n"));
}

TEST(RowFilter, EveryWordMustBeFoundEachInAnyCellButNeverAcrossTwo)
{
    const std::string row = std::string("a.sgf") + CRowFilter::kCellBreak + "kim jiwoo" + CRowFilter::kCellBreak +
                            "lee" + CRowFilter::kCellBreak;
    EXPECT_TRUE(CRowFilter("lee kim").Matches(row));
    EXPECT_TRUE(CRowFilter("sgf woo").Matches(row));
    EXPECT_FALSE(CRowFilter("kim cho").Matches(row));
    EXPECT_FALSE(CRowFilter("jiwoolee").Matches(row));
}
