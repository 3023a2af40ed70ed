#include "pattern/PatternSearch.h"
#include "reader/GameRecordReader.h"

#include <gtest/gtest.h>

namespace {

struct SGameBytes
{
    const char* sgf;
    EStone winner = EStone::Empty;
};

SPattern Parse(std::string_view region, std::string_view rows, bool fixed = false)
{
    SPatternParse parse = ParsePattern(region, rows, 19, fixed);
    EXPECT_TRUE(parse.pattern) << parse.error;
    return parse.pattern ? *parse.pattern : SPattern{};
}

// Each game as "first hit" or "-" when the pattern is not found, then its
// continuation as "point colour" where there is one.
std::vector<std::string> Search(const std::vector<SGameBytes>& games, const SPattern& pattern)
{
    CPositionIndex index;
    for (const SGameBytes& game : games)
        index.AddGame(ReadGameRecordBytes(game.sgf), game.winner);
    const SPatternResult result = SearchPattern(index, pattern);
    std::vector<std::string> shown(games.size(), "-");
    for (const SPatternHit& hit : result.hits) {
        std::string& line = shown[hit.game];
        line = std::to_string(hit.firstHit);
        if (hit.continuation)
            line += " " + SgfPointName(hit.continuation->x, hit.continuation->y) +
                    (hit.continuation->colour == EStone::Black ? " B" : " W");
    }
    return shown;
}

std::vector<std::string> Table(const std::vector<SGameBytes>& games, const SPattern& pattern)
{
    CPositionIndex index;
    for (const SGameBytes& game : games)
        index.AddGame(ReadGameRecordBytes(game.sgf), game.winner);
    std::vector<std::string> rows;
    for (const SContinuationStats& row : SearchPattern(index, pattern).continuations)
        rows.push_back(SgfPointName(row.x, row.y) + (row.colour == EStone::Black ? " B " : " W ") +
                       std::to_string(row.games) + " " + std::to_string(row.blackWins) + " " +
                       std::to_string(row.whiteWins));
    return rows;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(PatternParse, ReadsRegionAndRows)
{
    const SPatternParse parse = ParsePattern("dc:bb", "xo*/.XO", 19, true);
    ASSERT_TRUE(parse.pattern) << parse.error;
    EXPECT_EQ(parse.pattern->left, 1);
    EXPECT_EQ(parse.pattern->top, 1);
    EXPECT_EQ(parse.pattern->width, 3);
    EXPECT_EQ(parse.pattern->height, 2);
    EXPECT_EQ(parse.pattern->signs, "xo*.XO");
    EXPECT_TRUE(parse.pattern->fixedColours);
    std::string rows;
    for (int y = 0; y < 13; ++y)
        rows += std::string(13, y == 6 ? 'X' : '*') + (y < 12 ? "/" : "");
    const SPatternParse all = ParsePattern("all", rows, 13);
    ASSERT_TRUE(all.pattern) << all.error;
    EXPECT_EQ(all.pattern->width * all.pattern->height, 169);
    EXPECT_EQ(all.pattern->SignAt(12, 6), 'X');
}

TEST(PatternParse, SaysWhyARegionOrRowsCannotBeRead)
{
    EXPECT_EQ(ParsePattern("aa:bb", "../...").error, "row 2 has 3 signs where the region is 2 wide");
    EXPECT_EQ(ParsePattern("aa:bb", "..").error, "there is 1 row where the region is 2 high");
    EXPECT_EQ(ParsePattern("aa:bb", "../../..").error, "there are 3 rows where the region is 2 high");
    EXPECT_EQ(ParsePattern("aa:bb", "../.#").error, "the sign '#' in row 2 is none of X O . x o *");
    EXPECT_EQ(ParsePattern("aa:tt", "..").error, "the region aa:tt lies off the 19x19 board");
    EXPECT_EQ(ParsePattern("aabb", "..").error, "the region \"aabb\" is neither two points such as aa:gg nor all");
    EXPECT_EQ(ParsePattern("a1:bb", "..").error, "the region \"a1:bb\" is neither two points such as aa:gg nor all");
}

TEST(PatternParse, TakesStonesFromAGamePosition)
{
    const SGameRecord game = ReadGameRecordBytes("(;SZ[9];B[aa];W[ba];B[ab];W[bb])");
    SPatternParse two = PatternFromGame(game, "aa:bb", 2);
    ASSERT_TRUE(two.pattern) << two.error;
    EXPECT_EQ(two.pattern->boardSize, 9);
    EXPECT_EQ(two.pattern->signs, "XO..");
    SPatternParse end = PatternFromGame(game, "aa:bb", std::nullopt);
    ASSERT_TRUE(end.pattern);
    EXPECT_EQ(end.pattern->signs, "XOXO");
    EXPECT_EQ(PatternFromGame(game, "aa:bb", 5).error, "move 5 is past the game's end (it has 4 moves)");
    EXPECT_EQ(PatternFromGame(game, "aa:jj", 1).error, "the region aa:jj lies off the 9x9 board");
}

TEST(PatternPlacementsTest, KeepTheRectanglesRelationToTheEdges)
{
    // A corner stays in its corner: 8 symmetries, twice for the colours.
    EXPECT_EQ(PatternPlacements(Parse("aa:ce", "X../.../.../.../...")).size(), 16u);
    EXPECT_EQ(PatternPlacements(Parse("aa:ce", "X../.../.../.../...", true)).size(), 8u);
    // Along the top edge it slides from the second column to the one that
    // leaves a column free at the right: 15 places for width 3.
    const std::vector<SPlacement> side = PatternPlacements(Parse("ca:eb", "X../...", true));
    EXPECT_EQ(side.size(), 8u * 15u);
    for (const SPlacement& p : side) {
        const bool alongTop = p.top == 0 || p.top + p.height == 19;
        const bool alongLeft = p.left == 0 || p.left + p.width == 19;
        EXPECT_NE(alongTop, alongLeft);
        if (alongTop)
            EXPECT_TRUE(p.left > 0 && p.left + p.width < 19);
    }
    // A symmetric pattern stands once where its symmetries coincide.
    EXPECT_EQ(PatternPlacements(Parse("aa:bb", "../..")).size(), 4u);
    EXPECT_EQ(PatternPlacements(Parse("jj:jj", "X")).size(), 17u * 17u * 2u);
}

TEST(PatternSearchRules, CornerFoundInAllFourCornersAndTransposed)
{
    const SPattern corner = Parse("aa:ee", "...../...../...X./...../.....");
    const std::vector<SGameBytes> games = {
        {"(;SZ[19];B[dc];W[jj];B[jk])"},
        {"(;SZ[19];B[pc])"},
        {"(;SZ[19];B[dq])"},
        {"(;SZ[19];B[pq])"},
        {"(;SZ[19];B[cd])"},
        {"(;SZ[19];W[jj];B[cp])"},
        {"(;SZ[19];W[qp])"},       // colours exchanged
        {"(;SZ[19];W[cc];B[dc])"}, // a white stone where empty is needed
        {"(;SZ[13];B[dc])"},       // another board size
        {"(;SZ[19];B[ed])"},       // moved by one: no symmetry of the corner
    };
    EXPECT_EQ(Search(games, corner), (Lines{"1", "1", "1", "1", "1", "2", "1", "-", "-", "-"}));
    const SPattern fixed = Parse("aa:ee", "...../...../...X./...../.....", true);
    EXPECT_EQ(Search(games, fixed), (Lines{"1", "1", "1", "1", "1", "2", "-", "-", "-", "-"}));
}

TEST(PatternSearchRules, SidePatternSlidesButNeverReachesTheNextEdge)
{
    const SPattern side = Parse("ca:eb", ".../.X.", true);
    const std::vector<SGameBytes> games = {
        {"(;SZ[19];B[kb])"}, {"(;SZ[19];B[cb])"}, {"(;SZ[19];B[bb])"}, {"(;SZ[19];B[qb])"},
        {"(;SZ[19];B[rb])"}, {"(;SZ[19];B[rk])"}, {"(;SZ[19];B[kc])"},
    };
    EXPECT_EQ(Search(games, side), (Lines{"1", "1", "-", "1", "-", "1", "-"}));
}

TEST(PatternSearchRules, CentrePatternNeverTouchesAnEdge)
{
    const SPattern centre = Parse("ii:kk", ".../.X./...", true);
    const std::vector<SGameBytes> games = {
        {"(;SZ[19];B[jj])"}, {"(;SZ[19];B[cc])"}, {"(;SZ[19];B[bb])"},
        {"(;SZ[19];B[bj])"}, {"(;SZ[19];B[cj])"}, {"(;SZ[19];B[rr])"},
    };
    EXPECT_EQ(Search(games, centre), (Lines{"1", "1", "-", "-", "1", "-"}));
    // The whole board is only ever itself.
    std::string rows;
    for (int y = 0; y < 19; ++y)
        rows += std::string(y == 3 ? "...X..............." : "...................") + (y < 18 ? "/" : "");
    const SPattern board = Parse("all", rows, true);
    EXPECT_EQ(Search({{"(;SZ[19];B[dd])"}, {"(;SZ[19];B[pp])"}, {"(;SZ[19];B[dd];W[qq])"}}, board),
              (Lines{"1", "1", "1 qq W"}));
}

TEST(PatternSearchRules, AppearsOnlyAfterACapture)
{
    const SPattern shape = Parse("aa:bb", ".X/X.", true);
    // The shape is the same turned half round: bb and aa are one
    // continuation, shown at aa.
    EXPECT_EQ(Search({{"(;SZ[19];W[aa];B[ba];W[ss];B[ab];W[jj];B[bb])"}}, shape), (Lines{"4 aa B"}));
    // White's stone at aa takes its own last liberty: a regular move, so
    // the continuation, but never on the board.
    const char* suicide = "(;SZ[19];B[ba];W[ca];B[ab];W[cb];B[ss];W[bc];B[qq];W[ac];B[rr];W[aa];B[bb])";
    EXPECT_EQ(Search({{suicide}}, shape), (Lines{"3 aa W"}));
    EXPECT_EQ(Search({{suicide}}, Parse("aa:bb", "OX/X.", true)), (Lines{"-"}));
}

TEST(PatternSearchRules, SetupOfALaterNodeCountsFromItsPosition)
{
    const SPattern corner = Parse("aa:ee", "...../...../...X./...../.....", true);
    EXPECT_EQ(Search({{"(;SZ[19];B[jj];W[jk];AB[dc];B[ab];W[bb])"}}, corner), (Lines{"2 ab B"}));
    EXPECT_EQ(Search({{"(;SZ[19]AB[dc];B[jj];AE[dc];W[dc])"}}, corner), (Lines{"0 dc W"}));
    // The corner looks the same upside down within its rectangle: dd is
    // shown as db.
    EXPECT_EQ(Search({{"(;SZ[19]AB[dc]AW[cc];B[jj];AE[cc];W[dd])"}}, corner), (Lines{"1 db W"}));
}

TEST(PatternSearchRules, PassesAndSkippedMovesCountButAreNoContinuation)
{
    const SPattern corner = Parse("aa:ee", "...../...../...X./...../.....", true);
    EXPECT_EQ(Search({{"(;SZ[19];B[];W[tt];B[jj];W[jj];B[dc];W[];B[dc];W[zz];B[cc])"}}, corner), (Lines{"5 cc B"}));
}

TEST(PatternSearchRules, ContinuationOutsideEveryMatchedRectangleIsNone)
{
    const SPattern corner = Parse("aa:ee", "...../...../...X./...../.....");
    const std::vector<SGameBytes> games = {{"(;SZ[19];B[dc];W[pd];B[ff];W[dp];B[jj])", EStone::Black}};
    EXPECT_EQ(Search(games, corner), (Lines{"1"}));
    EXPECT_TRUE(Table(games, corner).empty());
}

TEST(PatternSearchRules, SymmetricPatternMergesItsContinuations)
{
    // Symmetric along the diagonal: cd and dc are one continuation, shown
    // at cd, the first by name.
    const SPattern star = Parse("aa:ee", "...../...../...../...X./.....", true);
    const std::vector<SGameBytes> games = {
        {"(;SZ[19];B[dd];W[dc])", EStone::Black},
        {"(;SZ[19];B[pd];W[qd])", EStone::White},
        {"(;SZ[19];B[dd];W[ce])"},
    };
    EXPECT_EQ(Search(games, star), (Lines{"1 cd W", "1 cd W", "1 ce W"}));
    EXPECT_EQ(Table(games, star), (Lines{"cd W 2 1 1", "ce W 1 0 0"}));
    // The same with colours exchanged: White's move in a game that matched
    // with the colours as drawn is Black's in one that matched exchanged,
    // and so is its winner.
    const SPattern pair = Parse("aa:ee", "...../...../...X./..O../.....");
    const std::vector<SGameBytes> exchanged = {
        {"(;SZ[19];B[dc];W[cd];B[ce])", EStone::Black},
        {"(;SZ[19];B[dc];W[cd];W[ec])", EStone::Black},
        {"(;SZ[19];W[dc];B[cd];B[ec])", EStone::Black},
    };
    EXPECT_EQ(Search(exchanged, pair), (Lines{"2 ce B", "2 ce B", "2 ce B"}));
    EXPECT_EQ(Table(exchanged, pair), (Lines{"ce B 3 2 1"}));
}

TEST(PatternSearchRules, SeveralPlacementsTakeTheFirstContinuationByName)
{
    // On the empty board the pattern stands in every corner and its
    // transposed copy too; ba lies in both copies of the upper-left corner
    // and is ab through the transposed one.
    const SPattern corner = Parse("aa:cc", "..x/.../...", true);
    EXPECT_EQ(Search({{"(;SZ[19];B[ba])"}}, corner), (Lines{"0 ab B"}));
    EXPECT_EQ(Search({{"(;SZ[19];W[kk];B[sr])"}}, corner), (Lines{"0 ab B"}));
}

TEST(PatternSearchRules, SameAnswerOnOneThreadOrMany)
{
    CPositionIndex index;
    const char* shapes[] = {"(;SZ[19];B[dc];W[cd])", "(;SZ[19];B[pc];W[qd];B[cc])", "(;SZ[19];W[dc];B[ec])",
                            "(;SZ[19];B[jj])"};
    for (int i = 0; i < 3000; ++i)
        index.AddGame(ReadGameRecordBytes(shapes[i % 4]), i % 3 == 0 ? EStone::Black : EStone::White);
    const SPattern corner = Parse("aa:ee", "...../...../...X./...../.....");
    const SPatternResult one = SearchPattern(index, corner, 1);
    const SPatternResult four = SearchPattern(index, corner, 4);
    ASSERT_EQ(one.hits.size(), 2250u);
    ASSERT_EQ(four.hits.size(), one.hits.size());
    for (std::size_t i = 0; i < one.hits.size(); ++i)
        EXPECT_EQ(one.hits[i].game, four.hits[i].game);
    ASSERT_EQ(one.continuations.size(), four.continuations.size());
    for (std::size_t i = 0; i < one.continuations.size(); ++i) {
        EXPECT_EQ(one.continuations[i].games, four.continuations[i].games);
        EXPECT_EQ(one.continuations[i].blackWins, four.continuations[i].blackWins);
    }
}

// A game of passes up to position k - 1, then Black at dc, then what
// follows: the first hit of a shape that stands at one position only.
std::string PassesThen(int k, const std::string& then)
{
    std::string sgf = "(;SZ[19]";
    for (int i = 1; i < k; ++i)
        sgf += i % 2 ? ";B[]" : ";W[]";
    return sgf + ";B[dc]" + then + ")";
}

TEST(PatternSearchRules, AShapeStandingAtOnePositionIsFoundWhereverThatFalls)
{
    // Black at dc with ec empty stands only from Black's move until
    // White's at ec, on every side of the positions a game is looked at in
    // groups of; and at a game's last position.
    const SPattern shape = Parse("aa:ee", "...../...../...X./...../.....", true);
    const SPattern withEmpty = Parse("aa:ee", "*****/*****/***X./*****/*****", true);
    for (const int k : {1, 2, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(Search({{PassesThen(k, ";W[ec]").c_str()}}, withEmpty), (Lines{std::to_string(k) + " ec W"}));
        EXPECT_EQ(Search({{PassesThen(k, ";W[ec]").c_str()}}, shape), (Lines{std::to_string(k) + " ec W"}));
        EXPECT_EQ(Search({{PassesThen(k, "").c_str()}}, shape), (Lines{std::to_string(k)}));
    }
    // Black at dc and ec empty each at some position near one another, but
    // never at the same one: no hit.
    for (const int k : {5, 8, 9, 32, 33, 40}) {
        SCOPED_TRACE(k);
        std::string sgf = "(;SZ[19]";
        for (int i = 2; i < k; ++i)
            sgf += ";B[]";
        EXPECT_EQ(Search({{(sgf + ";W[ec];B[dc];W[cc])").c_str()}}, withEmpty), (Lines{"-"}));
    }
}

TEST(PatternSearchRules, TheWidestAndASmallBoardAreSearchedLikeAnyOther)
{
    // A board row of 52 points is one word with room for where it starts
    // in a byte.
    SPatternParse wide = ParsePattern("aa:cc", "X../.../...", 52, true);
    ASSERT_TRUE(wide.pattern) << wide.error;
    EXPECT_EQ(Search({{"(;SZ[52];B[ZZ];W[YZ])"}, {"(;SZ[52];B[ZY])"}, {"(;SZ[19];B[aa])"}}, *wide.pattern),
              (Lines{"1 ab W", "-", "-"}));
    // Black's two stones stand across the diagonal from the drawing: the
    // shape is found turned upside down, where White's dd is the drawing's
    // cd.
    SPatternParse small = ParsePattern("cc:dd", "XO/.X", 7, false);
    ASSERT_TRUE(small.pattern) << small.error;
    EXPECT_EQ(Search({{"(;SZ[7];W[ee];B[ed];B[de];W[dd];W[ff])"}}, *small.pattern), (Lines{"3 cd W"}));
}

// Passes from position first to position last, alternating colours.
std::string Passes(int first, int last)
{
    std::string nodes;
    for (int i = first; i <= last; ++i)
        nodes += i % 2 ? ";B[]" : ";W[]";
    return nodes;
}

TEST(PatternSearchRules, AHitEarlyOrLateInALongGameIsFound)
{
    const SPattern withEmpty = Parse("aa:ee", "*****/*****/***X./*****/*****", true);
    // Standing at 3 only, in the first half of 80 positions; ec stays
    // filled all through the second.
    EXPECT_EQ(Search({{("(;SZ[19]" + Passes(1, 2) + ";B[dc];W[ec]" + Passes(5, 80) + ")").c_str()}}, withEmpty),
              (Lines{"3 ec W"}));
    // ec filled at 1 and emptied at 50, dc black from 60: standing from 60
    // on, in the second half of 70 positions only.
    EXPECT_EQ(Search({{("(;SZ[19];B[ec]" + Passes(2, 50) + "AE[ec]" + Passes(51, 59) + ";B[dc]" + Passes(61, 70) + ")")
                           .c_str()}},
                     withEmpty),
              (Lines{"60"}));
    // The same but White fills ec again just before Black plays dc: never.
    EXPECT_EQ(
        Search({{("(;SZ[19];B[ec]" + Passes(2, 50) + "AE[ec]" + Passes(51, 59) + ";W[ec];B[dc]" + Passes(62, 70) + ")")
                     .c_str()}},
               withEmpty),
        (Lines{"-"}));
}
