#include "game/Board.h"
#include "game/BoardLabels.h"
#include "game/GameTimeline.h"
#include "reader/GameReader.h"
#include "reader/GameRecordReader.h"
#include "reader/TextStream.h"
#include "settings/StringTable.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

SGameRecord Read(std::string_view bytes)
{
    return ReadGameRecordBytes(bytes);
}

// The rows of the position after n moves (-1: the end).
std::string Rows(std::string_view bytes, int n = -1)
{
    const SGameRecord record = Read(bytes);
    const CGameTimeline timeline(record);
    return BoardRows(n < 0 ? timeline.AtEnd().board : timeline.At(n).board);
}

TEST(GameBoard, TakesAStoneLeftWithoutLiberties)
{
    const SGameRecord record = Read("(;SZ[5];B[ba];W[aa];B[ab])");
    const SGamePosition end = CGameTimeline(record).AtEnd();
    EXPECT_EQ(BoardRows(end.board), ".X.../X..../...../...../.....");
    EXPECT_EQ(end.board.Captures(EStone::Black), 1);
    EXPECT_EQ(end.board.Captures(EStone::White), 0);
}

TEST(GameBoard, SnapbackTakesBackThreeStonesAfterLosingOne)
{
    const char* game = "(;SZ[5]AB[ab][bb]AW[ca][cb][ac][bc];W[aa];B[ba];W[aa])";
    EXPECT_EQ(Rows(game, 0), "..O../XXO../OO.../...../.....");
    EXPECT_EQ(Rows(game, 2), ".XO../XXO../OO.../...../.....");
    const SGameRecord record = Read(game);
    const SGamePosition end = CGameTimeline(record).AtEnd();
    EXPECT_EQ(BoardRows(end.board), "O.O../..O../OO.../...../.....");
    EXPECT_EQ(end.board.Captures(EStone::Black), 1);
    EXPECT_EQ(end.board.Captures(EStone::White), 3);
    EXPECT_EQ(end.irregular, 0);
}

TEST(GameBoard, SuicideRemovesTheOwnGroupAndCountsForTheOpponent)
{
    EXPECT_EQ(Rows("(;SZ[5]AW[ba][ab];B[aa])"), ".O.../O..../...../...../.....");
    const SGameRecord record = Read("(;SZ[5]AB[aa]AW[ca][bb][ab];B[ba])");
    const SGamePosition end = CGameTimeline(record).AtEnd();
    EXPECT_EQ(BoardRows(end.board), "..O../OO.../...../...../.....");
    EXPECT_EQ(end.board.Captures(EStone::White), 2);
    EXPECT_EQ(end.board.Captures(EStone::Black), 0);
}

TEST(GameBoard, PassesAreEmptyValuesOrTtUpToNineteenLines)
{
    const SGameRecord small = Read("(;SZ[9];B[];W[tt];B[cc])");
    ASSERT_EQ(small.moves.size(), 3u);
    EXPECT_EQ(small.moves[0].kind, SGameMove::EKind::Pass);
    EXPECT_EQ(small.moves[1].kind, SGameMove::EKind::Pass);
    EXPECT_EQ(CGameTimeline(small).AtEnd().irregular, 0);
    EXPECT_EQ(Rows("(;SZ[9];B[];W[tt];B[cc])"),
              "........./........./..X....../........./........./........./........./........./.........");
    // On 21 lines tt is a point like any other.
    const SGameRecord large = Read("(;SZ[21];B[tt])");
    const SGamePosition end = CGameTimeline(large).AtEnd();
    EXPECT_EQ(end.board.At(19, 19), EStone::Black);
}

TEST(GameBoard, MovesOntoTakenPointsOffTheBoardOrNowhereAreSkippedAndCounted)
{
    const SGameRecord record = Read("(;SZ[5];B[aa];W[aa];B[zz];W[a];B[bb])");
    EXPECT_EQ(record.moves.size(), 5u);
    const CGameTimeline timeline(record);
    const SGamePosition end = timeline.AtEnd();
    EXPECT_EQ(BoardRows(end.board), "X..../.X.../...../...../.....");
    EXPECT_EQ(end.irregular, 3);
    EXPECT_TRUE(timeline.At(2).lastMoveIrregular);
    EXPECT_FALSE(end.lastMoveIrregular);
}

TEST(GameBoard, SetupInALaterNodeAppliesBeforeTheNextMove)
{
    const char* game = "(;SZ[5];B[aa];AW[cc]AE[aa];W[dd])";
    EXPECT_EQ(Rows(game, 0), "...../...../...../...../.....");
    EXPECT_EQ(Rows(game, 1), "...../...../..O../...../.....");
    EXPECT_EQ(Rows(game, 2), "...../...../..O../...O./.....");
}

TEST(GameBoard, CompressedPointListsAreRectanglesClippedToTheBoard)
{
    EXPECT_EQ(Rows("(;SZ[5]AB[aa:bc])"), "XX.../XX.../XX.../...../.....");
    EXPECT_EQ(Rows("(;SZ[5]AB[bc:aa])"), "XX.../XX.../XX.../...../.....");
    // The size may follow the setup in the root node.
    EXPECT_EQ(Rows("(;AB[bb:ee]SZ[3]AW[aa][ZZ])"), "O../.XX/.XX");
}

TEST(GameBoard, HandicapStonesStandAtTheStartAndWhitePlaysFirst)
{
    const SGameRecord record = Read("(;GM[1]SZ[19]HA[2]KM[0.5]AB[dp][pd];W[qp];B[dd])");
    ASSERT_NE(record.root.Find("HA"), nullptr);
    EXPECT_EQ(*record.root.Find("HA"), "2");
    const CGameTimeline timeline(record);
    const SGamePosition start = timeline.At(0);
    EXPECT_EQ(start.board.At(3, 15), EStone::Black);
    EXPECT_EQ(start.board.At(15, 3), EStone::Black);
    EXPECT_EQ(start.board.At(16, 15), EStone::Empty);
    const SGamePosition end = timeline.AtEnd();
    EXPECT_EQ(end.board.At(16, 15), EStone::White);
    EXPECT_EQ(end.board.At(3, 3), EStone::Black);
    EXPECT_EQ(end.moveNumber, 2);
    ASSERT_TRUE(end.lastMove.has_value());
    EXPECT_EQ(end.lastMove->x, 3);
}

TEST(GameBoard, BoardSizesSquareAndRectangular)
{
    const SGameRecord rect = Read("(;SZ[5:3];B[ea];W[ac];B[ad])");
    EXPECT_EQ(rect.width, 5);
    EXPECT_EQ(rect.height, 3);
    const SGamePosition end = CGameTimeline(rect).AtEnd();
    EXPECT_EQ(BoardRows(end.board), "....X/...../O....");
    EXPECT_EQ(end.irregular, 1);
    for (const char* size : {"9", "13", "19"}) {
        const SGameRecord square = Read(std::string("(;SZ[") + size + "])");
        EXPECT_EQ(square.width, std::stoi(size));
        EXPECT_EQ(square.height, std::stoi(size));
    }
    const SGameRecord thirteen = Read("(;SZ[13];B[mm];W[am];B[ma])");
    const SGamePosition corners = CGameTimeline(thirteen).AtEnd();
    EXPECT_EQ(corners.board.At(12, 12), EStone::Black);
    EXPECT_EQ(corners.board.At(0, 12), EStone::White);
    EXPECT_EQ(corners.board.At(12, 0), EStone::Black);
    EXPECT_EQ(corners.irregular, 0);
    EXPECT_EQ(Read("(;B[aa])").width, 19);
    EXPECT_EQ(Read("(;SZ[53])").width, 19);
    EXPECT_EQ(Read("(;SZ[0:5])").height, 19);
    EXPECT_EQ(Read("(;SZ[ 52 ])").width, 52);
}

TEST(GameBoard, ASizeNoBoardHasIsPlayedOnNineteenLinesWithANote)
{
    for (const char* size : {"0", "53", "99999", "-19", "nine", "0:5", "19:53", ""}) {
        const SGameRecord record = Read(std::string("(;SZ[") + size + "];B[aa];W[sc])");
        EXPECT_TRUE(record.unplayableSize) << size;
        EXPECT_EQ(record.width, 19) << size;
        EXPECT_EQ(record.height, 19) << size;
        EXPECT_EQ(record.problem, EGameProblem::None) << size;
        EXPECT_EQ(CGameTimeline(record).AtEnd().board.At(18, 2), EStone::White) << size;
    }
    for (const char* size : {"1", "19", "52", "19:13"})
        EXPECT_FALSE(Read(std::string("(;SZ[") + size + "])").unplayableSize) << size;
    EXPECT_FALSE(Read("(;B[aa])").unplayableSize);
    // The last SZ of the root decides, as in the list; one after it is ignored.
    const SGameRecord later = Read("(;SZ[99]SZ[9];SZ[0];B[aa])");
    EXPECT_FALSE(later.unplayableSize);
    EXPECT_EQ(later.width, 9);
    const SGameRecord replaced = Read("(;SZ[9]SZ[99];B[aa])");
    EXPECT_TRUE(replaced.unplayableSize);
    EXPECT_EQ(replaced.width, 19);
}

TEST(GameBoard, StarPointsAndCoordinateLabels)
{
    EXPECT_TRUE(IsStarPoint(3, 3, 19, 19));
    EXPECT_TRUE(IsStarPoint(9, 15, 19, 19));
    EXPECT_TRUE(IsStarPoint(2, 6, 9, 9));
    EXPECT_TRUE(IsStarPoint(4, 4, 9, 9));
    EXPECT_FALSE(IsStarPoint(2, 4, 9, 9));
    EXPECT_TRUE(IsStarPoint(6, 6, 13, 13));
    EXPECT_FALSE(IsStarPoint(3, 3, 7, 7));
    // Each board has its count, no more: 9 on 19 lines, 5 on 13 and 9.
    for (const auto& [size, stars] : {std::pair{19, 9}, {13, 5}, {9, 5}, {7, 0}}) {
        int count = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                count += IsStarPoint(x, y, size, size) ? 1 : 0;
        }
        EXPECT_EQ(count, stars) << size;
    }
    EXPECT_EQ(ColumnLabel(7), "H");
    EXPECT_EQ(ColumnLabel(8), "J");
    EXPECT_EQ(ColumnLabel(18), "T");
    EXPECT_EQ(ColumnLabel(25), "AA");
    EXPECT_EQ(RowLabel(0, 19), "19");
    EXPECT_EQ(RowLabel(18, 19), "1");
}

TEST(GameReader, FollowsTheFirstChildAtEveryBranch)
{
    const SGameRecord record = Read("junk(;SZ[5];B[aa](;W[bb](;B[cc])(;B[dd]))(;W[ee]))(;B[ee])more");
    EXPECT_EQ(record.problem, EGameProblem::None);
    EXPECT_EQ(Rows("junk(;SZ[5];B[aa](;W[bb](;B[cc])(;B[dd]))(;W[ee]))(;B[ee])more"), "X..../.O.../..X../...../.....");
    EXPECT_EQ(record.moves.size(), 3u);
}

TEST(GameReader, GameInformationRightAfterTheParenthesisIsTheRootNodeAsInTheList)
{
    const SGameRecord bare = Read("(SZ[5]PB[\xEB\xB0\xB1];B[aa];W[bb])");
    EXPECT_EQ(bare.width, 5);
    ASSERT_NE(bare.root.Find("PB"), nullptr);
    EXPECT_EQ(bare.moves.size(), 2u);
    // Properties that end no root node are passed over, as the list does.
    const SGameRecord notBare = Read("(SZ[5])(;SZ[9];B[aa])");
    EXPECT_EQ(notBare.width, 9);
    EXPECT_EQ(notBare.moves.size(), 1u);
}

TEST(GameReader, LexesLikeTheListReader)
{
    const SGameRecord record = Read("\xEF\xBB\xBF(;FF[1]SiZe[5]PlayerBlack[A]C[a\\]b\r\nc];Black[aa]C[x];White[bb]"
                                    "foo[cc];B[ee]\x1A;W[dd])");
    EXPECT_EQ(record.width, 5);
    EXPECT_EQ(record.moves.size(), 3u);
    EXPECT_EQ(record.problem, EGameProblem::CutOff);
    ASSERT_NE(record.root.Find("PB"), nullptr);
    EXPECT_EQ(*record.root.Find("PB"), "A");
    ASSERT_NE(record.CommentAt(0), nullptr);
    EXPECT_EQ(*record.CommentAt(0), "a]b\nc");
    ASSERT_NE(record.CommentAt(1), nullptr);
    EXPECT_EQ(*record.CommentAt(1), "x");
    EXPECT_EQ(record.CommentAt(2), nullptr);
    // A later value of a root property goes under the empty identifier, as
    // the list stores it, and still sets a stone.
    const SGameRecord several = Read("(;SZ[3]AB[aa] [bb]PL[W])");
    EXPECT_EQ(*several.root.Find("AB"), "aa");
    EXPECT_EQ(*several.root.Find(""), "bb");
    EXPECT_EQ(several.firstPlayer, EStone::White);
    EXPECT_EQ(Rows("(;SZ[3]AB[aa] [bb]PL[W])"), "X../.X./...");
}

TEST(GameReader, TheListAndTheGameViewReadTheSameRootProperties)
{
    // Records where the two used to part: a "(" or ")" ends the root node in
    // both, an identifier without a value ends at the ";" after it, and
    // properties after the tree are no part of it.
    for (const char* text : {"(;GN[x](PB[y]))", "(;GN[x]PBX;B[aa])", "(GN[x]PBX;B[aa];W[bb])", "(;GN[x])GA[z]",
                             "(;GN[x]P)B[y];", "(;AB[aa][bb]c[cc] 1[dd]PB[y];)", "(TE[a]RD[b];B[aa])",
                             "(CA[UTF-8])(;FF[4]PB[A];B[aa])", "(GN[a;b](;PB[A];)", "(;;B[pd])"}) {
        SCOPED_TRACE(text);
        CTextStream stream(text);
        CPropertyTable listed;
        ASSERT_TRUE(ReadTextRecord(stream, listed));
        EXPECT_EQ(Read(text).root.Items(), listed.Items());
    }
    const SGameRecord cut = Read("(;GN[x](PB[y]))");
    EXPECT_EQ(cut.root.Find("PB"), nullptr);
    ASSERT_NE(cut.root.Find("GN"), nullptr);
}

TEST(GameReader, ADamagedRecordKeepsWhatWasReadAndSaysWhy)
{
    const SGameRecord valueCut = Read("(;SZ[5];B[aa];W[b");
    EXPECT_EQ(valueCut.problem, EGameProblem::ValueCutOff);
    EXPECT_EQ(valueCut.moves.size(), 1u);
    const SGameRecord treeCut = Read("(;SZ[5];B[aa];W[bb]");
    EXPECT_EQ(treeCut.problem, EGameProblem::CutOff);
    EXPECT_EQ(treeCut.moves.size(), 2u);
    EXPECT_EQ(Read("no game here").problem, EGameProblem::NoGameTree);
    EXPECT_EQ(Read("(no node").problem, EGameProblem::NoGameTree);
    EXPECT_EQ(Read("").problem, EGameProblem::NoGameTree);

    std::string many = "(;SZ[52]";
    for (int i = 0; i < 1500; ++i)
        many += ";AB[aa:ZZ]";
    const SGameRecord flooded = Read(many + ")");
    EXPECT_EQ(flooded.problem, EGameProblem::TooManyStones);
    EXPECT_LT(flooded.setup.size(), 1500u);
}

TEST(GameReader, SetupStonesAreCountedAsTheyAreReadNotWhenTheNodeEnds)
{
    // In the root the size may still change, so every point read counts:
    // a root of whole-board rectangles stops at the limit although a 19 by
    // 19 board would keep few of them.
    std::string root = "(;AB";
    for (int i = 0; i < 1500; ++i)
        root += "[aa:ZZ]";
    const SGameRecord flooded = Read(root + ";B[aa])");
    EXPECT_EQ(flooded.problem, EGameProblem::TooManyStones);
    EXPECT_TRUE(flooded.moves.empty());
    EXPECT_LE(flooded.setup.size(), 1500u);

    // After the root, points off the board are dropped as they are read.
    std::string later = "(;SZ[9];AB";
    for (int i = 0; i < 3000; ++i)
        later += "[ZZ][aa:ZZ]";
    const SGameRecord offBoard = Read(later + ";B[aa])");
    EXPECT_EQ(offBoard.problem, EGameProblem::None);
    EXPECT_EQ(offBoard.setup.size(), 3000u);
    EXPECT_EQ(offBoard.moves.size(), 1u);
}

TEST(GameReader, ARecordLargerThanTheLimitIsNotReadAtAll)
{
    const std::string game = "(;PB[Lee]SZ[9];B[aa];W[bb];B[cc])";
    CTextStream whole(game);
    EXPECT_EQ(ReadGameRecord(whole, {}, game.size()).moves.size(), 3u);
    for (std::uint64_t limit : {std::uint64_t{20}, game.size() - 1}) {
        CTextStream stream(game);
        const SGameRecord record = ReadGameRecord(stream, {}, limit);
        EXPECT_EQ(record.problem, EGameProblem::TooLarge) << limit;
        EXPECT_FALSE(record.HasGame());
        EXPECT_TRUE(record.moves.empty());
        EXPECT_TRUE(record.root.empty());
    }

    // A file past the limit is refused by its size; its holes cost nothing.
    CTempDir dir;
    const std::string path = dir.Write("huge.sgf", game);
    std::filesystem::resize_file(path, kMaxRecordBytes + 1);
    EXPECT_EQ(ReadGameRecordFile(path).problem, EGameProblem::TooLarge);
    std::filesystem::resize_file(path, game.size());
    EXPECT_EQ(ReadGameRecordFile(path).moves.size(), 3u);
    EXPECT_NE(LoadResString(GameProblemStringId(EGameProblem::TooLarge)).find(RecordLimitText(kMaxRecordBytes)),
              std::string::npos);
}

TEST(GameReader, AStopAskedForEndsALongReadAndPlayEarly)
{
    std::string game = "(;SZ[19]";
    for (int i = 0; i < 50000; ++i)
        game += i % 2 ? ";W[]" : ";B[]";
    game += ')';
    int asked = 0;
    const StopCheck stop = [&asked] { return ++asked >= 2; };
    CTextStream stream(game);
    const SGameRecord record = ReadGameRecord(stream, stop);
    EXPECT_EQ(record.problem, EGameProblem::Stopped);
    EXPECT_LT(record.moves.size(), 10000u);
    EXPECT_GT(record.moves.size(), 0u);

    const SGameRecord whole = Read(game);
    EXPECT_EQ(whole.moves.size(), 50000u);
    asked = 0;
    const CGameTimeline timeline(whole, stop);
    EXPECT_TRUE(timeline.CutShort());
    EXPECT_LT(timeline.PlayedCount(), 50000);
}

TEST(GameReader, ABinaryRecordGivesItsInformationButNoMoves)
{
    std::string bytes("\x06\x01\x00\x00\x00", 5);
    bytes += std::string(12, '\0');
    bytes += std::string("\x01\x00\x00\x00", 4);
    bytes += std::string("\x11\x00\x02Go", 5);
    const SGameRecord record = Read(bytes);
    EXPECT_EQ(record.problem, EGameProblem::BinaryForm);
    EXPECT_FALSE(record.HasGame());
    ASSERT_NE(record.root.Find("GN"), nullptr);
    EXPECT_EQ(*record.root.Find("GN"), "Go");
}

// Every position the timeline gives equals the board played from the start.
TEST(GameTimeline, EveryPositionEqualsPlayingFromTheStart)
{
    std::mt19937 random(14);
    std::string game = "(;SZ[9]AB[ee]";
    for (int i = 0; i < 1000; ++i) {
        game += i % 2 ? ";W[" : ";B[";
        if (i % 97 == 5)
            game += ";AE[ee]AW[aa]";
        game += static_cast<char>('a' + random() % 10);
        game += static_cast<char>('a' + random() % 9);
        game += ']';
    }
    const SGameRecord record = Read(game + ")");
    ASSERT_EQ(record.moves.size(), 1000u);
    const CGameTimeline timeline(record);
    CBoard board(9, 9);
    std::size_t setup = 0;
    auto applySetup = [&](std::uint32_t upTo) {
        for (; setup < record.setup.size() && record.setup[setup].beforeMove <= upTo; ++setup)
            board.Put(record.setup[setup].left, record.setup[setup].top, record.setup[setup].stone);
    };
    applySetup(0);
    int irregular = 0;
    for (int n = 0; n <= 1000; ++n) {
        if (n > 0) {
            const SGameMove& move = record.moves[static_cast<std::size_t>(n - 1)];
            if (!board.Play(move.colour, move.x, move.y))
                ++irregular;
            applySetup(static_cast<std::uint32_t>(n));
        }
        const SGamePosition position = timeline.At(n);
        ASSERT_EQ(BoardRows(position.board), BoardRows(board)) << "after move " << n;
        ASSERT_EQ(position.board.Captures(EStone::Black), board.Captures(EStone::Black)) << n;
        ASSERT_EQ(position.board.Captures(EStone::White), board.Captures(EStone::White)) << n;
        ASSERT_EQ(position.irregular, irregular) << n;
    }
    EXPECT_GT(board.Captures(EStone::Black) + board.Captures(EStone::White), 50);
}

// The root node the preview shows is the one the list shows, on real files.
TEST(GameReader, RootNodeOfEveryCorpusRecordMatchesTheListReader)
{
    VARNEX_REQUIRE_CORPUS();
    int files = 0;
    int played = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(CorpusDir())) {
        if (!item.is_regular_file() || item.path().extension() == ".md")
            continue;
        const std::string path = item.path().string();
        const SGameRecord record = ReadGameRecordFile(path);
        CPropertyTable list;
        if (!ReadGameFile(path, list))
            continue;
        ++files;
        EXPECT_EQ(record.root.Items(), list.Items()) << path;
        if (record.HasGame() && !record.moves.empty())
            ++played;
        CGameTimeline(record).AtEnd();
    }
    EXPECT_GT(files, 3000);
    EXPECT_GT(played, 2500);
}

} // namespace
