#include "columns/HeaderLists.h"
#include "columns/NewColumnCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
CDelimStringArray List(const char* text)
{
    CDelimStringArray list;
    list.Parse(text);
    return list;
}

using Lines = std::vector<std::string>;
} // namespace

TEST(HeaderLists, LoadingShowsStoredPositionsAndSkipsThoseOutsideTheDefinitions)
{
    CHeaderLists lists;
    EXPECT_EQ(lists.Load(List("Game Name:GN|Date:DT|NoColon"), List("2|x|1|9|-1")), 2);
    EXPECT_EQ(lists.m_available, (Lines{"Game Name:GN", "Date:DT", "NoColon"}));
    // "x" has no digits and counts as 0; 9 and -1 are no positions.
    EXPECT_EQ(lists.m_headers, (Lines{"", "Game Name", "Date"}));

    EXPECT_EQ(lists.Load(List("Game Name:GN|Date:DT"), {}), 0);
    EXPECT_EQ(lists.m_headers, (Lines{"Game Name", "Date"}));
}

TEST(HeaderLists, ApplyNumbersShownHeadersByTheirDefinitionLines)
{
    CHeaderLists lists;
    lists.Load(List("A:1|B:2|C:3"), {});
    CDelimStringArray definitions = List("A:1|B:2|C:3");
    CDelimStringArray shown;
    lists.Apply(definitions, shown);
    EXPECT_EQ(shown.Join(), "0|1|2");

    // Headers differing only in case: the later definition gets the position,
    // and the shown item nobody claims keeps its old text.
    lists.Load(List("Date:DT|DATE:XX|Black:PB"), List("0|1|2"));
    EXPECT_EQ(lists.m_headers, (Lines{"Date", "DATE", "Black"}));
    definitions = List("Date:DT|DATE:XX|Black:PB");
    shown = List("0|1|2");
    lists.Apply(definitions, shown);
    EXPECT_EQ(shown.Join(), "1|1|2");

    // Everything removed: both lists empty.
    lists.m_selAvailable = 0;
    for (int i = 0; i < 3; ++i)
        lists.Remove();
    lists.Apply(definitions, shown);
    EXPECT_TRUE(definitions.empty());
    EXPECT_TRUE(shown.empty());
}

TEST(HeaderLists, ShowingInsertsInFrontOfTheSelectionOnlyWhenNoHeaderMatchesInAnyCase)
{
    CHeaderLists lists;
    lists.Load(List("Game Name:GN|Date:DT|Black Rank:BR|game name:X"), List("0|2"));
    lists.m_selAvailable = 1;
    lists.m_selHeaders = 1;
    lists.MoveRight();
    EXPECT_EQ(lists.m_headers, (Lines{"Game Name", "Date", "Black Rank"}));
    EXPECT_EQ(lists.m_selHeaders, 1);

    lists.m_selAvailable = 3;
    lists.MoveRight();
    EXPECT_EQ(lists.m_headers.size(), 3u);

    lists.m_selHeaders = CHeaderLists::kNone;
    lists.m_selAvailable = 0;
    lists.MoveLeft();
    EXPECT_EQ(lists.m_headers.size(), 3u);
}

TEST(HeaderLists, AddedDefinitionShownLaterGetsItsLinePosition)
{
    CHeaderLists lists;
    lists.Load(List("A:1|B:2"), List("1"));
    lists.m_selAvailable = 0;
    lists.InsertDefinition("New:NW");
    EXPECT_EQ(lists.m_available, (Lines{"New:NW", "A:1", "B:2"}));
    EXPECT_EQ(lists.m_selAvailable, 0);
    EXPECT_EQ(lists.m_headers, (Lines{"B"}));
    lists.MoveRight();
    CDelimStringArray definitions;
    CDelimStringArray shown;
    lists.Apply(definitions, shown);
    EXPECT_EQ(definitions.Join(), "New:NW|A:1|B:2");
    EXPECT_EQ(shown.Join(), "2|0");
}

TEST(HeaderLists, RemovingTheLastLineLeavesNoSelection)
{
    CHeaderLists lists;
    lists.Load(List("A:1|B:2"), {});
    lists.m_selAvailable = 1;
    lists.m_selHeaders = 1;
    lists.Remove();
    EXPECT_EQ(lists.m_available, (Lines{"A:1"}));
    EXPECT_EQ(lists.m_headers, (Lines{"A"}));
    EXPECT_EQ(lists.m_selAvailable, CHeaderLists::kNone);
    EXPECT_EQ(lists.m_selHeaders, CHeaderLists::kNone);
}

TEST(NewColumnCheck, ChecksRunInOrderWithTheirMessages)
{
    const std::vector<std::string> available = {"Game Name:GN", "Date:DT"};
    EXPECT_EQ(CheckNewColumn("", "", available), ENewColumnCheck::HeaderEmpty);
    EXPECT_EQ(CheckNewColumn("Game:Name", "", available), ENewColumnCheck::HeaderColon);
    EXPECT_EQ(CheckNewColumn("dATE", "", available), ENewColumnCheck::HeaderUsed);
    EXPECT_EQ(CheckNewColumn("Dat", "", available), ENewColumnCheck::SignatureEmpty);
    EXPECT_EQ(CheckNewColumn("Game", "a:b", available), ENewColumnCheck::SignatureColon);
    EXPECT_EQ(CheckNewColumn("Game", "RE\\", available), ENewColumnCheck::SignatureBackslash);
    EXPECT_EQ(CheckNewColumn("Game", "a\\b", available), ENewColumnCheck::Ok);
    EXPECT_EQ(CheckNewColumn(" Date", "XYZ", available), ENewColumnCheck::Ok);
    EXPECT_EQ(NewColumnMessage(ENewColumnCheck::HeaderUsed, "dATE"),
              "The column header name \"dATE\" is already used.");
}
