#include "settings/StringTable.h"
#include "settings/ToolBarLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Bytes(std::initializer_list<unsigned> values)
{
    std::string out;
    for (unsigned value : values)
        out.push_back(static_cast<char>(value));
    return out;
}
} // namespace

TEST(ToolBarResource, MainFrameBarListsTwentyOneButtonsWithFourSeparatorsInOrderThenTheExtraOnes)
{
    const auto& all = ToolBarResource(IDR_MAINFRAME);
    ASSERT_EQ(all.size(), 23u);
    // Add Folder and Position Search are offered for the bar but are not
    // part of its default layout.
    EXPECT_EQ(all[21].command, ID_EDIT_ADD_FOLDER);
    EXPECT_TRUE(all[21].extra);
    EXPECT_EQ(all[21].image, 17);
    EXPECT_EQ(all[22].command, ID_VIEW_POSITION_SEARCH);
    EXPECT_TRUE(all[22].extra);
    EXPECT_EQ(all[22].image, 18);
    EXPECT_EQ(CToolBarLayout::FromResource(all).Commands().size(), 21u);
    const std::vector<SToolBarButton> buttons(all.begin(), all.end() - 2);
    const int expected[] = {57600, 57601, 57603, 57604, 0, 32785, 32784, 32793, 32794, 32795, 0,
                            59409, 59408, 59410, 59411, 0, 32792, 32791, 59412, 0,     57664};
    int image = 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].command, expected[i]) << "position " << i + 1;
        // One picture per real button, numbered along the strip.
        EXPECT_EQ(buttons[i].image, buttons[i].IsSeparator() ? -1 : image++) << "position " << i + 1;
    }
    EXPECT_EQ(image, 17);
}

TEST(ToolBarResource, UnknownResourceHasNoButtons)
{
    EXPECT_TRUE(ToolBarResource(129).empty());
    EXPECT_TRUE(ToolBarResource(0).empty());
}

TEST(ToolBarLayout, EncodesCountThenLittleEndianCommandsAndDecodesBack)
{
    const CToolBarLayout layout({57600, 0, 32785});
    const std::string bytes = layout.Encode();
    EXPECT_EQ(bytes, Bytes({3, 0, 0, 0, 0x00, 0xE1, 0, 0, 0, 0, 0, 0, 0x11, 0x80, 0, 0}));
    EXPECT_EQ(CToolBarLayout::Decode(bytes), layout);

    const CToolBarLayout resource = CToolBarLayout::FromResource(ToolBarResource(IDR_MAINFRAME));
    EXPECT_EQ(CToolBarLayout::Decode(resource.Encode()), resource);
}

TEST(ToolBarLayout, EmptyLayoutIsAValueOfItsOwnNotAMissingOne)
{
    const CToolBarLayout empty;
    EXPECT_EQ(empty.Encode(), Bytes({0, 0, 0, 0}));
    const auto decoded = CToolBarLayout::Decode(empty.Encode());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(decoded->IsEmpty());
}

TEST(ToolBarLayout, ValuesThatAreNotExactlyOneLayoutAreRejected)
{
    EXPECT_FALSE(CToolBarLayout::Decode(""));
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({1, 0, 0})));
    // Count says two, one command follows.
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({2, 0, 0, 0, 1, 0, 0, 0})));
    // Count says one, bytes for two follow.
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({1, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0})));
    // Trailing partial command.
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({1, 0, 0, 0, 1, 0, 0, 0, 2})));
}

TEST(ToolBarLayout, HugeCountsAreRejectedWithoutReservingForThem)
{
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({0xFF, 0xFF, 0xFF, 0xFF})));
    EXPECT_FALSE(CToolBarLayout::Decode(Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0})));
    std::string tooMany = CToolBarLayout(std::vector<int>(CToolBarLayout::kMaxEntries + 1, 0)).Encode();
    EXPECT_FALSE(CToolBarLayout::Decode(tooMany));
    std::string most = CToolBarLayout(std::vector<int>(CToolBarLayout::kMaxEntries, 0)).Encode();
    EXPECT_TRUE(CToolBarLayout::Decode(most));
}

TEST(ToolBarLayout, NegativeCommandsSurviveTheRoundTrip)
{
    const CToolBarLayout layout({-1, -2147483647 - 1});
    EXPECT_EQ(CToolBarLayout::Decode(layout.Encode()), layout);
}

TEST(ToolBarLayout, FitsOnlyCommandsTheResourceOffersEachAtMostOnce)
{
    const auto& buttons = ToolBarResource(IDR_MAINFRAME);
    EXPECT_TRUE(CToolBarLayout::FromResource(buttons).FitsButtons(buttons));
    EXPECT_TRUE(CToolBarLayout().FitsButtons(buttons));
    // Separators may repeat beyond the resource's four.
    EXPECT_TRUE(CToolBarLayout({0, 0, 0, 0, 0, 0, 57664, 57600}).FitsButtons(buttons));
    EXPECT_FALSE(CToolBarLayout({57600, 57600}).FitsButtons(buttons));
    EXPECT_FALSE(CToolBarLayout({57600, 32775}).FitsButtons(buttons));
    EXPECT_FALSE(CToolBarLayout({-1}).FitsButtons(buttons));
}
