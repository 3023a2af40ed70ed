#include "players/PlayerAliases.h"
#include "report/RowFilter.h"

#include <gtest/gtest.h>

namespace {

// The core has no Unicode tables; ASCII folding stands in for the display layer's.
std::string Fold(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

CRowFilter Filter(std::string_view typed)
{
    return CRowFilter(typed, Fold);
}

// A row with cells, and the record fields a filter asks for, already folded
// as the display layer adds them; a field not in fields is absent.
CSearchText Row(std::initializer_list<std::string_view> cells,
                std::initializer_list<std::pair<std::string_view, std::string_view>> fields, const CRowFilter& filter)
{
    CSearchText row;
    for (std::string_view cell : cells) {
        row.cells += Fold(cell);
        row.cells += CRowFilter::kCellBreak;
    }
    for (const std::string& id : filter.FieldIds()) {
        const auto found = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == id; });
        const std::string folded = found == fields.end() ? std::string() : Fold(found->second);
        row.AddField(id, found == fields.end() ? nullptr : &folded);
    }
    return row;
}

// A game of Lee Sedol (Black) lost on time to Kim, in 2016, at the Mind Sports Games.
bool Keeps(std::string_view typed)
{
    const CRowFilter filter = Filter(typed);
    return filter.Matches(Row({"lee-kim.sgf", "Lee Sedol", "Kim Jiwoo"},
                              {{"PB", "Lee Sedol"},
                               {"PW", "Kim Jiwoo"},
                               {"EV", "Mind Sports Games"},
                               {"RE", "W+Time"},
                               {"DT", "2016-03-05,06"},
                               {"RO", "Final"},
                               {"$Winner", "Kim Jiwoo"},
                               {"$Loser", "Lee Sedol"}},
                              filter));
}

} // namespace

TEST(RowFilter, BlanksSeparateWordsAndABlankTextKeepsEveryRow)
{
    EXPECT_TRUE(Filter(" \t ").IsEmpty());
    EXPECT_TRUE(Filter(" \t ").Matches(Row({"anything"}, {}, Filter(""))));
    EXPECT_EQ(Filter("  kim \t LEE  ").Terms().size(), 2u);
}

TEST(RowFilter, EveryWordMustBeFoundEachInAnyCellButNeverAcrossTwo)
{
    EXPECT_TRUE(Keeps("LEE kim"));
    EXPECT_TRUE(Keeps("sgf woo"));
    EXPECT_FALSE(Keeps("kim cho"));
    EXPECT_FALSE(Keeps("sedolkim"));
    // A line break typed or pasted inside a phrase is a blank, never a cell break.
    for (std::string_view typed : {"\"sedol\nkim\"", "\"sedol\r\nkim\"", "\"sedol\n\"", "PB:\"sedol\n\""})
        EXPECT_FALSE(Keeps(typed)) << typed;
    EXPECT_TRUE(Keeps("\"lee\nsedol\""));
    // Words look in the shown cells only, not in the record's other fields.
    EXPECT_FALSE(Keeps("final"));
}

TEST(RowFilter, AQuotedPhraseIsOneWordAndALeadingMinusLeavesOut)
{
    EXPECT_TRUE(Keeps("\"lee sedol\""));
    EXPECT_FALSE(Keeps("\"sedol lee\""));
    // A quote left open runs to the end.
    EXPECT_TRUE(Keeps("\"kim jiwoo"));
    EXPECT_FALSE(Keeps("-kim"));
    EXPECT_TRUE(Keeps("-cho lee"));
    EXPECT_FALSE(Keeps("-\"lee sedol\""));
    EXPECT_TRUE(Keeps("-\"lee kim\""));
    EXPECT_FALSE(Keeps("-result:w+"));
    // A lone minus or an empty phrase asks for nothing.
    EXPECT_TRUE(Filter(" - \"\" ").IsEmpty());
}

TEST(RowFilter, EachFieldLooksInItsOwnTextOnly)
{
    EXPECT_TRUE(Keeps("player:sedol"));
    EXPECT_TRUE(Keeps("player:jiwoo"));
    EXPECT_TRUE(Keeps("black:lee"));
    EXPECT_FALSE(Keeps("white:lee"));
    EXPECT_TRUE(Keeps("White:KIM"));
    EXPECT_TRUE(Keeps("winner:kim"));
    EXPECT_FALSE(Keeps("winner:lee"));
    EXPECT_TRUE(Keeps("loser:lee"));
    EXPECT_TRUE(Keeps("event:\"mind sports\""));
    EXPECT_TRUE(Keeps("player:\"lee sedol\" -winner:lee"));
    // Any property identifier, in any case, shown as a column or not.
    EXPECT_TRUE(Keeps("RO:final"));
    EXPECT_TRUE(Keeps("ro:fin"));
    EXPECT_FALSE(Keeps("PC:seoul"));
    EXPECT_TRUE(Keeps("-PC:seoul"));
    // A field with nothing after its colon yet asks for nothing.
    EXPECT_TRUE(Filter("player:").IsEmpty());
}

TEST(RowFilter, ResultFormsAndDraws)
{
    EXPECT_TRUE(Keeps("result:w+"));
    EXPECT_TRUE(Keeps("result:W+T"));
    EXPECT_FALSE(Keeps("result:B+R"));
    const auto keepsResult = [](std::string_view typed, std::string_view re) {
        const CRowFilter filter = Filter(typed);
        return filter.Matches(Row({"a.sgf"}, {{"RE", re}}, filter));
    };
    EXPECT_TRUE(keepsResult("result:B+R", "B+Resign"));
    for (std::string_view draw : {"0", "Draw", "jigo", " Jigo "})
        for (std::string_view typed : {"result:jigo", "result:draw", "result:0"})
            EXPECT_TRUE(keepsResult(typed, draw)) << typed << " " << draw;
    // Draws as Chinese, Japanese and Korean records write them, as the list shows them.
    for (std::string_view draw :
         {"\xE5\x92\x8C\xE6\xA3\x8B", "\xE5\x92\x8C", "\xE5\x92\x8C\xE5\xB1\x80", "\xE6\x8C\x81\xE7\xA2\x81",
          "\xE3\x82\xB8\xE3\x82\xB4", "\xEB\xAC\xB4\xEC\x8A\xB9\xEB\xB6\x80"})
        EXPECT_TRUE(keepsResult("result:jigo", draw)) << draw;
    // 白中盘胜 (White wins) holds no draw.
    EXPECT_FALSE(keepsResult("result:jigo", "\xE7\x99\xBD\xE4\xB8\xAD\xE7\x9B\x98\xE8\x83\x9C"));
    // A win by half a point holds a 0 but is no draw.
    EXPECT_FALSE(keepsResult("result:0", "W+0.5"));
    EXPECT_FALSE(keepsResult("result:jigo", "Void"));
    EXPECT_TRUE(keepsResult("result:void", "Void"));
    EXPECT_TRUE(keepsResult("-result:void", "B+3.5"));
}

TEST(RowFilter, DatesYearsMonthsAndRangesIncludeBothEnds)
{
    const auto keepsDate = [](std::string_view typed, std::string_view dt) {
        const CRowFilter filter = Filter(typed);
        return filter.Matches(Row({"a.sgf"}, {{"DT", dt}}, filter));
    };
    EXPECT_TRUE(Keeps("date:2016"));
    EXPECT_TRUE(Keeps("date:2016-03"));
    EXPECT_TRUE(Keeps("date:2016-03-05"));
    EXPECT_FALSE(Keeps("date:2016-03-06"));
    EXPECT_TRUE(Keeps("date:2016..2019"));
    EXPECT_TRUE(Keeps("date:2010..2016"));
    EXPECT_TRUE(Keeps("date:2016-03..2016-03"));
    EXPECT_FALSE(Keeps("date:2017.."));
    EXPECT_TRUE(Keeps("date:2016.."));
    EXPECT_TRUE(Keeps("date:..2016"));
    EXPECT_FALSE(Keeps("date:..1990"));
    EXPECT_TRUE(keepsDate("date:..1990", "1989"));
    EXPECT_TRUE(keepsDate("date:1990", "1990-12"));
    // A year alone is not known to be in a given month.
    EXPECT_FALSE(keepsDate("date:1990-12", "1990"));
    EXPECT_TRUE(keepsDate("date:2016-03-05", "2016.03.05"));
    EXPECT_TRUE(keepsDate("date:2016", " 2016-01-02T10:00"));
    // A month holds its last day, and a year its last month.
    EXPECT_TRUE(keepsDate("date:2016-03", "2016-03-31"));
    EXPECT_FALSE(keepsDate("date:2016-03", "2016-04-01"));
    EXPECT_TRUE(keepsDate("date:..2016-02", "2016-02-29"));
    EXPECT_TRUE(keepsDate("date:2016", "2016-12-31"));
    // A month or day of one digit, and a day separated by blanks, are read whole.
    for (std::string_view dt : {"2002-5-20", "2002.5.20", "2002/05/20", "2002 05 20", "2002 5 20,21"})
        EXPECT_TRUE(keepsDate("date:2002-05-20", dt)) << dt;
    EXPECT_TRUE(keepsDate("date:1991-03-08", "1991-03-8"));
    EXPECT_TRUE(keepsDate("date:2000-02-16", "2000/2/16"));
    EXPECT_TRUE(keepsDate("date:2002-5-20", "2002-05-20"));
    EXPECT_FALSE(keepsDate("date:2002-05-02", "2002-5-20"));
    // Blanks after a year separate it from other words, not from a month.
    EXPECT_TRUE(keepsDate("date:2002", "2002 05 games"));
    EXPECT_FALSE(keepsDate("date:2002-05", "2002 05 games"));
    // No readable date never matches, not even the widest range.
    for (std::string_view dt :
         {"", "March 2016", "20160305", "2016-13-01", "16-03-05", "2016-0-5", "2016-03-32", "2016-123"})
        EXPECT_FALSE(keepsDate("date:..9999", dt)) << dt;
    const CRowFilter noDt = Filter("date:2016");
    EXPECT_FALSE(noDt.Matches(Row({"2016.sgf"}, {}, noDt)));
}

TEST(RowFilter, UnknownFieldsAndBadDatesAreProblemsAndTheRestStillFilters)
{
    const CRowFilter unknown = Filter("evnt:mind kim");
    ASSERT_EQ(unknown.Problems().size(), 1u);
    EXPECT_NE(unknown.Problems()[0].find("evnt:"), std::string::npos);
    // The unknown term is a plain word.
    EXPECT_EQ(unknown.Terms().size(), 2u);
    EXPECT_FALSE(Keeps("evnt:mind kim"));
    EXPECT_TRUE(Filter("12:30 http://x player:lee").Problems().size() == 1u);
    EXPECT_EQ(Filter("date:2016-123").Problems().size(), 1u);
    EXPECT_TRUE(Filter("date:2016-1").Problems().empty());
    EXPECT_EQ(Filter("date:..").Problems().size(), 1u);
    EXPECT_FALSE(Keeps("date:soon"));
    EXPECT_TRUE(Keeps("-date:soon"));
    EXPECT_TRUE(Filter("player:lee date:2016..2019 PB:x -result:void").Problems().empty());
    EXPECT_EQ(Filter("player:lee black:x").FieldIds(), (std::vector<std::string>{"PB", "PW"}));
}

TEST(SearchText, ManyFieldsAreEachFoundWithTheirOwnTextAndTheFirstOfTwinsWins)
{
    CSearchText row;
    std::vector<std::string> ids;
    for (char a = 'A'; a <= 'Z'; ++a)
        for (char b : {'\0', 'A', 'B', 'C'})
            ids.push_back(b ? std::string{a, b} : std::string{a});
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::string text = "v" + std::to_string(i);
        row.AddField(ids[i], i % 3 == 0 ? nullptr : &text);
        // Every field added so far is still found, as the row grows.
        for (std::size_t k = 0; k <= i; k += 7)
            ASSERT_TRUE(row.HasField(ids[k])) << i << " " << ids[k];
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i % 3 == 0)
            EXPECT_FALSE(row.Field(ids[i]).has_value()) << ids[i];
        else
            EXPECT_EQ(row.Field(ids[i]), std::optional<std::string_view>("v" + std::to_string(i))) << ids[i];
    }
    for (std::string_view none : {"", "AD", "ZZ", "PBX", "v1"})
        EXPECT_FALSE(row.HasField(none)) << none;
    const std::string twin = "second";
    row.AddField("PB", &twin);
    EXPECT_NE(row.Field("PB"), std::optional<std::string_view>("second"));
    row.clear();
    EXPECT_FALSE(row.HasField("PB"));
    row.AddField("PB", &twin);
    EXPECT_EQ(row.Field("PB"), std::optional<std::string_view>("second"));
}

TEST(SearchText, AFieldsTextCannotPoseAsAnotherField)
{
    CSearchText row;
    const std::string sly = "x\x1FPW\x1E"
                            "fake";
    row.AddField("PB", &sly);
    row.AddField("EV", nullptr);
    EXPECT_FALSE(row.HasField("PW"));
    EXPECT_TRUE(row.HasField("EV"));
    EXPECT_FALSE(row.Field("EV").has_value());
    EXPECT_EQ(row.Field("PB"), std::optional<std::string_view>("x PW fake"));
}

// A name field also finds the player's other spellings: rank words folded
// always, and the names the user joined; what matched before still does.
TEST(RowFilter, NameFieldsFollowThePlayerKeyAndTheAliases)
{
    CPlayerAliases aliases;
    aliases.Join({"Chang Hao", "\xE5\xB8\xB8\xE6\x98\x8A"}); // 常昊
    auto keeps = [&](std::string_view typed, std::string_view black, std::string_view winner) {
        const CRowFilter filter(typed, Fold, &aliases);
        return filter.Matches(Row({"g.sgf"}, {{"PB", black}, {"PW", "Kong Jie"}, {"$Winner", winner}}, filter));
    };
    const std::string changHan = "\xE5\xB8\xB8\xE6\x98\x8A \xE4\xB9\x9D\xE6\xAE\xB5"; // 常昊 九段
    EXPECT_TRUE(keeps("player:changhao", "Chang Hao 9p", ""));
    EXPECT_TRUE(keeps("black:\"Chang Hao\"", changHan, ""));
    EXPECT_TRUE(keeps("winner:\"chang hao 9d\"", "x", changHan));
    EXPECT_FALSE(keeps("loser:\"Chang Hao\"", changHan, ""));
    EXPECT_FALSE(keeps("-player:\"Chang Hao\"", changHan, ""));
    EXPECT_FALSE(keeps("white:\"Chang Hao\"", changHan, ""));
    // Substrings match as they always did; a part of a name joins nothing.
    EXPECT_TRUE(keeps("player:hao", "Chang Hao 9p", ""));
    EXPECT_FALSE(keeps("player:chang", changHan, ""));
    // Without aliases, only rank words are folded.
    const CRowFilter plain("black:\"Chang Hao\"", Fold);
    EXPECT_FALSE(plain.Matches(Row({"g.sgf"}, {{"PB", changHan}}, plain)));
    EXPECT_TRUE(plain.Matches(Row({"g.sgf"}, {{"PB", "CHANG HAO (9p)"}}, plain)));
    // FIELD:=NAME holds for that player alone: not for a name that holds it.
    EXPECT_TRUE(keeps("player:=\"O Rissei\"", "O Rissei 9p", ""));
    EXPECT_TRUE(keeps("player:\"O Rissei\"", "Cho Rissei", ""));
    EXPECT_FALSE(keeps("player:=\"O Rissei\"", "Cho Rissei", ""));
    EXPECT_TRUE(keeps("black:=\"Chang Hao\"", changHan, ""));
    EXPECT_FALSE(keeps("black:=hao", "Chang Hao 9p", ""));
    // Words and other fields are untouched.
    const CRowFilter event("event:changhao", Fold, &aliases);
    EXPECT_FALSE(event.Matches(Row({"g.sgf"}, {{"EV", "Chang Hao"}}, event)));
}

TEST(RowFilter, AChangeOfAliasesAloneMakesAnotherFilter)
{
    CPlayerAliases aliases;
    EXPECT_TRUE(CRowFilter("player:lee", Fold, &aliases) == CRowFilter("player:lee", Fold));
    aliases.Join({"Lee", "\xEC\x9D\xB4"}); // 이
    EXPECT_FALSE(CRowFilter("player:lee", Fold, &aliases) == CRowFilter("player:lee", Fold));
    // Terms that name no player do not depend on them.
    EXPECT_TRUE(CRowFilter("event:lee", Fold, &aliases) == CRowFilter("event:lee", Fold));
}
