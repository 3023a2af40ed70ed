#include "report/ShownTexts.h"

#include <gtest/gtest.h>

// The cells share one string: changing one must leave the others whole,
// whether it grows, shrinks or empties, first, middle or last.
TEST(ShownTexts, SetKeepsTheOtherCells)
{
    CShownTexts shown;
    for (std::u16string_view cell : {u"a.sgf", u"", u"Black", u"白"})
        shown.push_back(cell);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], u"");
    EXPECT_EQ(shown[3], u"白");

    shown.set(0, u"a much longer file name.sgf");
    shown.set(2, u"");
    shown.set(1, u"Game");
    shown.set(3, u"White player");
    EXPECT_EQ(shown[0], u"a much longer file name.sgf");
    EXPECT_EQ(shown[1], u"Game");
    EXPECT_EQ(shown[2], u"");
    EXPECT_EQ(shown[3], u"White player");

    shown.clear();
    EXPECT_TRUE(shown.empty());
}
