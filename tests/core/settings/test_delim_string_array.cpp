#include "settings/DelimStringArray.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
CDelimStringArray Parsed(std::string_view text)
{
    CDelimStringArray list;
    list.Parse(text);
    return list;
}

CDelimStringArray ListOf(std::vector<std::string> items)
{
    CDelimStringArray list;
    list.assign(items.begin(), items.end());
    return list;
}

using Items = std::vector<std::string>;
const Items& AsItems(const CDelimStringArray& list)
{
    return list;
}
} // namespace

TEST(DelimStringArray, ParseSplitsAtBarsAndJoinGivesTheTextBack)
{
    const auto list = Parsed("Game Name:GN|Date:DT");
    EXPECT_EQ(AsItems(list), (Items{"Game Name:GN", "Date:DT"}));
    EXPECT_EQ(list.Join(), "Game Name:GN|Date:DT");
}

TEST(DelimStringArray, EmptyOrAbsentTextGivesTheEmptyList)
{
    CDelimStringArray list = ListOf({"old"});
    list.Parse(static_cast<const char*>(nullptr));
    EXPECT_TRUE(list.empty());
    list = ListOf({"old"});
    list.Parse("");
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(CDelimStringArray().Join(), "");
}

TEST(DelimStringArray, EmptyItemsComeFromLeadingDoubledAndFinalBars)
{
    EXPECT_EQ(AsItems(Parsed("a||b")), (Items{"a", "", "b"}));
    EXPECT_EQ(AsItems(Parsed("|a")), (Items{"", "a"}));
    EXPECT_EQ(AsItems(Parsed("|")), (Items{"", ""}));

    const auto trailing = Parsed("a|");
    EXPECT_EQ(AsItems(trailing), (Items{"a", ""}));
    EXPECT_EQ(trailing.Join(), "a|");
}

TEST(DelimStringArray, BarInsideAnItemIsEscapedAndReadsBackAsOneItem)
{
    const auto list = ListOf({"Black|White:PB", "x"});
    EXPECT_EQ(list.Join(), "Black\\|White:PB|x");
    EXPECT_EQ(AsItems(Parsed(list.Join())), AsItems(list));
    EXPECT_EQ(AsItems(Parsed("\\|")), (Items{"|"}));
}

TEST(DelimStringArray, BackslashesStandForThemselvesAwayFromBars)
{
    EXPECT_EQ(AsItems(Parsed("C:\\games\\x|y")), (Items{"C:\\games\\x", "y"}));
    EXPECT_EQ(ListOf({"a\\b"}).Join(), "a\\b");
    EXPECT_EQ(ListOf({"a\\\\b", "c\\"}).Join(), "a\\\\b|c\\");
}

TEST(DelimStringArray, EveryListReadsBackAsItWasWritten)
{
    const std::vector<Items> lists = {
        {"Result:RE\\", "Date:DT"}, {"a\\\\", "b"}, {"\\", ""},   {"", "\\"},         {"a|b", "c"},
        {"a\\|b", "c\\|"},          {"|", "\\|\\"}, {"", "", ""}, {"\\\\|\\\\", "x"}, {"end\\"},
        {"a", "", "b\\", ""},
    };
    for (const Items& items : lists) {
        const std::string text = ListOf(items).Join();
        EXPECT_EQ(AsItems(Parsed(text)), items) << text;
        EXPECT_EQ(CDelimStringArray::CountItems(text), items.size()) << text;
    }
    // The faulty save of a signature ending in a backslash now keeps Date.
    EXPECT_EQ(ListOf({"Game Name:GN", "Result:RE\\", "Date:DT"}).Join(), "Game Name:GN|Result:RE\\\\|Date:DT");
}

TEST(DelimStringArray, TextsWrittenBeforeTrailingBackslashesWereKeptReadAsBefore)
{
    // One backslash before a bar was, and is, a bar inside the item; so the
    // text an old save left for an item ending in a backslash keeps its meaning.
    EXPECT_EQ(AsItems(Parsed("Result:RE\\|Date:DT")), (Items{"Result:RE|Date:DT"}));
    EXPECT_EQ(AsItems(Parsed("Black\\|White:PB|x")), (Items{"Black|White:PB", "x"}));
    EXPECT_EQ(AsItems(Parsed("C:\\Go\\|y")), (Items{"C:\\Go|y"}));
    // Two backslashes before a bar are now one backslash ending the item.
    EXPECT_EQ(AsItems(Parsed("a\\\\|b")), (Items{"a\\", "b"}));
}

TEST(DelimStringArray, MultiByteCharactersPassThroughUnchanged)
{
    const std::string text = "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A|\xC3\xA9t\xC3\xA9";
    const auto list = Parsed(text);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A");
    EXPECT_EQ(list.Join(), text);
}

TEST(DelimStringArray, FindReturnsTheLastEqualItemAndNeverMatchesEmptyText)
{
    const auto list = ListOf({"Ann", "", "Bob", "Ann"});
    EXPECT_EQ(list.Find("Ann"), 3);
    EXPECT_EQ(list.Find("Bob"), 2);
    EXPECT_EQ(list.Find("ann"), -1);
    EXPECT_EQ(list.Find(""), -1);
    EXPECT_EQ(CDelimStringArray().Find("Ann"), -1);
}

TEST(DelimStringArray, GetIntReadsLeadingDigitsLikeAtoi)
{
    const auto list = ListOf({"3", "  -12x", "+7", "abc", "", "0042", "99999999999", "-99999999999", "- 5"});
    EXPECT_EQ(list.GetInt(0), 3);
    EXPECT_EQ(list.GetInt(1), -12);
    EXPECT_EQ(list.GetInt(2), 7);
    EXPECT_EQ(list.GetInt(3), 0);
    EXPECT_EQ(list.GetInt(4), 0);
    EXPECT_EQ(list.GetInt(5), 42);
    EXPECT_EQ(list.GetInt(6), 2147483647);
    EXPECT_EQ(list.GetInt(7), -2147483647 - 1);
    EXPECT_EQ(list.GetInt(8), 0);
    EXPECT_EQ(list.GetInt(9), 0);
    EXPECT_EQ(list.GetInt(-1), 0);
}

TEST(DelimStringArray, SetIntWritesPlainDecimalAndIgnoresIndicesOutsideTheList)
{
    auto list = ListOf({"a", "b"});
    list.SetInt(0, -2147483647 - 1);
    list.SetInt(1, 17);
    list.SetInt(2, 5);
    list.SetInt(-1, 5);
    EXPECT_EQ(AsItems(list), (Items{"-2147483648", "17"}));
}

TEST(DelimStringArray, ProfileRoundTripKeepsEveryItem)
{
    CMemorySettingsStore store;
    const auto list = ListOf({"Black|Rank:BR", "", "Date:DT", ""});
    list.SaveToProfile(store, "Header", "Definition");
    EXPECT_EQ(store.GetProfileString("Header", "Definition"), "Black\\|Rank:BR||Date:DT|");

    CDelimStringArray loaded = ListOf({"stale"});
    loaded.LoadFromProfile(store, "Header", "Definition");
    EXPECT_TRUE(loaded.IsEqual(list));

    loaded.LoadFromProfile(store, "Header", "Missing");
    EXPECT_TRUE(loaded.empty());
}

TEST(DelimStringArray, OversizeListIsSavedWhole)
{
    CDelimStringArray list;
    for (int i = 0; i < 300; ++i) {
        list.push_back("Column " + std::to_string(i) + ":XX");
    }
    ASSERT_GT(list.Join().size() + 1, CDelimStringArray::kProfileBufferSize);
    CMemorySettingsStore store;
    list.SaveToProfile(store, "Header", "Definition");
    CDelimStringArray loaded;
    loaded.LoadFromProfile(store, "Header", "Definition");
    EXPECT_TRUE(loaded.IsEqual(list));
}

TEST(DelimStringArray, LoadFromResourcesSplitsTheStringResource)
{
    CDelimStringArray names = ListOf({"stale"});
    names.LoadFromResources(IDS_DERIVED_NAMES, 1);
    EXPECT_EQ(AsItems(names), (Items{"Opponent", "OpponentRank", "Winner", "WinnerRank", "Loser", "LoserRank"}));

    // The next numbers 117 and on have no string: loading stops there.
    names.LoadFromResources(IDS_DERIVED_NAMES, 5);
    EXPECT_EQ(names.size(), 6u);
    // Appending strings one after another.
    names.LoadFromResources(IDS_FILES_SELECTED, 2);
    EXPECT_EQ(AsItems(names), (Items{"%d File(s) Selected", "Total %d File(s)"}));

    names.LoadFromResources(99, 3);
    EXPECT_TRUE(names.empty());
    names.LoadFromResources(IDS_DERIVED_NAMES, 0);
    EXPECT_TRUE(names.empty());
}

TEST(DelimStringArray, LoadWithDefaultFallsBackWhenTheStoredTextIsMissingOrEmpty)
{
    CMemorySettingsStore store;
    CDelimStringArray list;
    list.LoadWithDefault(store, "Header", "Definition", IDS_DEFAULT_DEFINITIONS, 1);
    EXPECT_EQ(list.size(), 8u);

    store.WriteProfileString("Header", "Definition", "");
    list.LoadWithDefault(store, "Header", "Definition", IDS_DEFAULT_DEFINITIONS, 1);
    EXPECT_EQ(list.size(), 8u);
    EXPECT_EQ(list.front(), "Game Name:GN");

    store.WriteProfileString("Header", "Definition", "Place:PC");
    list.LoadWithDefault(store, "Header", "Definition", IDS_DEFAULT_DEFINITIONS, 1);
    EXPECT_EQ(AsItems(list), (Items{"Place:PC"}));
}
