#include "collection/DocHost.h"
#include "collection/DuplicateFinder.h"
#include "game/DuplicateGroups.h"
#include "reader/GameRecordReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

using Point = std::pair<int, int>;
using Transform = std::function<Point(Point)>;

// The 8 symmetries of a 19 x 19 board, written out one by one.
const std::vector<Transform>& Symmetries()
{
    static const std::vector<Transform> all = {
        [](Point p) { return p; },
        [](Point p) {
            return Point{18 - p.second, p.first};
        },
        [](Point p) {
            return Point{18 - p.first, 18 - p.second};
        },
        [](Point p) {
            return Point{p.second, 18 - p.first};
        },
        [](Point p) {
            return Point{18 - p.first, p.second};
        },
        [](Point p) {
            return Point{p.first, 18 - p.second};
        },
        [](Point p) {
            return Point{p.second, p.first};
        },
        [](Point p) {
            return Point{18 - p.second, 18 - p.first};
        },
    };
    return all;
}

// A game of count moves on distinct points, the same for the same seed.
std::vector<Point> MakeMoves(int count, unsigned seed)
{
    std::vector<Point> moves;
    std::vector<bool> taken(361, false);
    unsigned state = seed * 2654435761u + 1;
    while (static_cast<int>(moves.size()) < count) {
        state = state * 1664525u + 1013904223u;
        const int point = static_cast<int>((state >> 8) % 361);
        if (taken[point])
            continue;
        taken[point] = true;
        moves.emplace_back(point % 19, point / 19);
    }
    return moves;
}

std::string Sgf(const std::vector<Point>& moves, const Transform& t, const std::string& root = "",
                const std::string& everyNode = "")
{
    std::string text = "(;GM[1]SZ[19]" + root;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Point p = t(moves[i]);
        text += i % 2 == 0 ? ";B[" : ";W[";
        text += static_cast<char>('a' + p.first);
        text += static_cast<char>('a' + p.second);
        text += "]" + everyNode;
    }
    return text + ")";
}

std::vector<Point> Cut(std::vector<Point> moves, std::size_t count)
{
    moves.resize(count);
    return moves;
}

class DuplicateFinding : public ::testing::Test
{
protected:
    // Written with modification times one minute apart, in the order written.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_dir.Write(name, bytes);
        std::filesystem::last_write_time(path, m_time);
        m_time += std::chrono::minutes(1);
        m_paths.push_back(path);
        return path;
    }
    std::string Path(const std::string& name) const { return (m_dir.path() / name).string(); }
    std::vector<CDuplicateGroup> Groups()
    {
        const auto groups = m_finder.FindGroups(m_paths, DefaultDocHost());
        EXPECT_TRUE(groups.has_value());
        return groups.value_or(std::vector<CDuplicateGroup>{});
    }

    CTempDir m_dir;
    std::filesystem::file_time_type m_time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::vector<std::string> m_paths;
    CDuplicateFinder m_finder;
};

TEST_F(DuplicateFinding, GroupsEverySymmetryCutCopyAndCommentedCopyButNoOtherGame)
{
    const std::vector<Point> game = MakeMoves(120, 1);
    const Transform same = Symmetries()[0];
    for (std::size_t t = 0; t < Symmetries().size(); ++t)
        Write("sym" + std::to_string(t) + ".sgf", Sgf(game, Symmetries()[t], "PB[Black]PW[White]"));
    // Cut short at 60 moves, mirrored; and cut at 30, too short to count.
    Write("cut60.sgf", Sgf(Cut(game, 60), Symmetries()[4]));
    Write("cut30.sgf", Sgf(Cut(game, 30), same));
    // Comments, a variation and other game information: the same game.
    std::string commented = Sgf(game, Symmetries()[2], "CA[GB2312]PB[Someone]", "C[a comment]");
    commented.insert(commented.size() - 1, "(;B[aa];W[bb])(;B[cc])");
    Write("commented.sgf", commented);
    // The same first 40 moves, then another game; and a game of its own.
    std::vector<Point> other = Cut(game, 40);
    for (const Point& p : MakeMoves(200, 7)) {
        if (other.size() < 110 && std::find(other.begin(), other.end(), p) == other.end())
            other.push_back(p);
    }
    Write("other.sgf", Sgf(other, same));
    Write("unrelated.sgf", Sgf(MakeMoves(150, 3), same));

    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    // Most moves first, then the copy with comments, then the oldest file;
    // the cut copy last.
    CDuplicateGroup expected = {Path("commented.sgf")};
    for (int t = 0; t < 8; ++t)
        expected.push_back(Path("sym" + std::to_string(t) + ".sgf"));
    expected.push_back(Path("cut60.sgf"));
    EXPECT_EQ(groups[0], expected);
}

TEST_F(DuplicateFinding, ACopyCutAtExactlyFiftyMovesJoinsItsLongerGameAndOneCutAtFortyNineDoesNot)
{
    const std::vector<Point> game = MakeMoves(120, 11);
    Write("whole.sgf", Sgf(game, Symmetries()[0]));
    Write("cut50.sgf", Sgf(Cut(game, 50), Symmetries()[5]));
    Write("cut49.sgf", Sgf(Cut(game, 49), Symmetries()[0]));
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("whole.sgf"), Path("cut50.sgf")}));
}

TEST_F(DuplicateFinding, AGameEndingInAnEmptyPassAndItsCopyEndingInTtAreOneGame)
{
    const std::vector<Point> game = MakeMoves(60, 12);
    std::string empty = Sgf(game, Symmetries()[0]);
    std::string tt = Sgf(game, Symmetries()[2]);
    empty.insert(empty.size() - 1, ";B[];W[]");
    tt.insert(tt.size() - 1, ";B[tt];W[tt]");
    Write("empty.sgf", empty);
    Write("tt.sgf", tt);
    // A stone played on a point instead of the pass is another game.
    std::string played = Sgf(game, Symmetries()[0]);
    played.insert(played.size() - 1, ";B[];W[" + std::string(1, static_cast<char>('a' + game[0].first)) + "s]");
    Write("played.sgf", played);
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("empty.sgf"), Path("tt.sgf")}));
}

TEST_F(DuplicateFinding, AProblemOfSetupStonesAndItsCopyReflectedAcrossTheDiagonalAreOneGame)
{
    // The reflection swaps the two coordinates of every point.
    Write("problem.sgf", "(;SZ[19]PB[A]DT[2001]AB[ca][da][eb]AW[ba][cb][db];B[fb];W[ea])");
    Write("reflected.sgf", "(;SZ[19]PB[A]DT[2001]AW[bd][ab][bc]AB[be][ac][ad];B[bf];W[ae])");
    // Only the colours swapped: not the same problem.
    Write("swapped.sgf", "(;SZ[19]PB[A]DT[2001]AW[ca][da][eb]AB[ba][cb][db];B[fb];W[ea])");
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("problem.sgf"), Path("reflected.sgf")}));
}

TEST_F(DuplicateFinding, KeepsTheOldestFileWhenMovesAndCommentsAreEqual)
{
    const std::vector<Point> game = MakeMoves(80, 2);
    Write("b-old.sgf", Sgf(game, Symmetries()[1]));
    Write("a-new.sgf", Sgf(game, Symmetries()[0]));
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("b-old.sgf"), Path("a-new.sgf")}));
}

TEST_F(DuplicateFinding, ACutCopySharedByTwoLongerGamesJoinsTheLongest)
{
    const std::vector<Point> start = MakeMoves(60, 4);
    std::vector<Point> longer = start;
    std::vector<Point> shorter = start;
    for (const Point& p : MakeMoves(361, 5)) {
        if (std::find(start.begin(), start.end(), p) != start.end())
            continue;
        if (longer.size() < 150)
            longer.push_back(p);
        if (shorter.size() < 100 && std::find(longer.begin() + 60, longer.begin() + 61, p) == longer.begin() + 61)
            shorter.push_back(p);
    }
    ASSERT_NE(shorter[60], longer[60]);
    Write("long.sgf", Sgf(longer, Symmetries()[0]));
    Write("short.sgf", Sgf(shorter, Symmetries()[3]));
    Write("start.sgf", Sgf(Cut(start, 55), Symmetries()[6]));
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("long.sgf"), Path("start.sgf")}));
}

TEST_F(DuplicateFinding, ShortRecordsNeedThePlayersAndTheDateToo)
{
    // A problem: setup stones, a rectangle in one copy and single points in
    // another, in another order, mirrored; and three moves.
    Write("p1.sgf", "(;SZ[19]PB[A]DT[2001]AB[aa:bb]AW[cc];B[dd];W[ee];B[ff])");
    Write("p2.sgf", "(;SZ[19]DT[2001]PB[A]AW[cq]AB[as][bs][ar][br];B[dp];W[eo];B[fn])");
    Write("p3.sgf", "(;SZ[19]PB[A]DT[2002]AB[aa:bb]AW[cc];B[dd];W[ee];B[ff])");
    Write("p4.sgf", "(;SZ[19]PB[B]DT[2001]AB[aa:bb]AW[cc];B[dd];W[ee];B[ff])");
    // Ten moves alike, players different: not one game.
    const std::vector<Point> moves = MakeMoves(10, 6);
    Write("s1.sgf", Sgf(moves, Symmetries()[0], "PB[X]"));
    Write("s2.sgf", Sgf(moves, Symmetries()[0], "PB[Y]"));
    // No stones and no moves: nothing to compare.
    Write("e1.sgf", "(;GN[empty])");
    Write("e2.sgf", "(;GN[empty])");
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (CDuplicateGroup{Path("p1.sgf"), Path("p2.sgf")}));
}

TEST_F(DuplicateFinding, RotatesARectangularBoardWithItsSides)
{
    Write("wide.sgf", "(;SZ[19:13];B[aa];W[sa];B[am];W[dd];B[ce]" + std::string(";W[ff];B[gg]") + ")");
    Write("tall.sgf", "(;SZ[13:19];B[ma];W[ms];B[aa];W[jd];B[ic];W[hf];B[gg])");
    Write("moved.sgf", "(;SZ[19:13];B[aa];W[sa];B[am];W[dd];B[ce];W[ff];B[gh])");
    // Short games: grouped only with equal players and dates, both absent here.
    const std::vector<CDuplicateGroup> groups = Groups();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].size(), 2u);
    EXPECT_EQ(std::count(groups[0].begin(), groups[0].end(), Path("moved.sgf")), 0);
}

TEST(DuplicateGroups, AHashSharedByTwoDifferentGamesGroupsNothing)
{
    SCanonicalGame a;
    SCanonicalGame b;
    ASSERT_TRUE(MakeCanonicalGame(ReadGameRecordBytes(Sgf(MakeMoves(60, 8), Symmetries()[0])), a));
    ASSERT_TRUE(MakeCanonicalGame(ReadGameRecordBytes(Sgf(MakeMoves(60, 9), Symmetries()[0])), b));
    // Keys made to collide still make the two candidates...
    SDuplicateKey ka = MakeDuplicateKey(a, true, false);
    SDuplicateKey kb = ka;
    EXPECT_EQ(CandidateSets({&ka, &kb}).size(), 1u);
    // ...but the games compared say they are two.
    EXPECT_TRUE(ExactGroups({a, b}).empty());
    EXPECT_EQ(ExactGroups({a, a}).size(), 1u);
}

// The form of a game of the given moves on a 19 x 19 board, made directly.
SCanonicalGame Form(const std::vector<std::uint32_t>& moves)
{
    SCanonicalGame game;
    game.tokens.push_back(0x001313u);
    game.tokens.insert(game.tokens.end(), moves.begin(), moves.end());
    game.moves = static_cast<std::uint32_t>(moves.size());
    return game;
}

TEST(DuplicateGroups, EveryCutCopyOfALongGameJoinsItAndAStartOfTwoGamesAsLongJoinsTheLeastForm)
{
    // 400 cuts of one game of 449 moves, each the start of every longer one,
    // given longest first; the cut of 49 moves stays out.
    std::vector<std::uint32_t> moves;
    for (std::uint32_t i = 0; i < 449; ++i)
        moves.push_back(0x02000000u + (i * 7) % 361);
    std::vector<SCanonicalGame> games;
    for (std::size_t count = 449; count >= 49; --count)
        games.push_back(Form(std::vector<std::uint32_t>(moves.begin(), moves.begin() + count)));
    std::vector<std::vector<std::size_t>> groups = ExactGroups(games);
    ASSERT_EQ(groups.size(), 1u);
    std::sort(groups[0].begin(), groups[0].end());
    std::vector<std::size_t> all(400);
    std::iota(all.begin(), all.end(), std::size_t{0});
    EXPECT_EQ(groups[0], all);

    // Two games of 100 moves share their first 60 with a cut of 55 moves,
    // and a cut of 60 moves with the first of them only: the cuts go with
    // the game whose form is the lesser, given second.
    std::vector<std::uint32_t> start(moves.begin(), moves.begin() + 60);
    std::vector<std::uint32_t> greater = start;
    std::vector<std::uint32_t> lesser = start;
    for (std::uint32_t i = 0; i < 40; ++i) {
        greater.push_back(0x02000100u + i);
        lesser.push_back(0x02000000u + i);
    }
    const std::vector<SCanonicalGame> two = {Form(greater), Form(lesser), Form({start.begin(), start.begin() + 55}),
                                             Form(start)};
    groups = ExactGroups(two);
    ASSERT_EQ(groups.size(), 1u);
    std::sort(groups[0].begin(), groups[0].end());
    EXPECT_EQ(groups[0], (std::vector<std::size_t>{1, 2, 3}));
}

// Counts the files read.
class CCountingHost : public IDocHost
{
public:
    void BeforeRead() override { ++reads; }
    int reads = 0;
};

TEST_F(DuplicateFinding, ASecondSearchReadsOnlyNewFilesAndTheCandidates)
{
    for (int i = 0; i < 5; ++i)
        Write("g" + std::to_string(i) + ".sgf", Sgf(MakeMoves(70, 20 + i), Symmetries()[0]));
    CCountingHost host;
    ASSERT_TRUE(m_finder.FindGroups(m_paths, host).has_value());
    EXPECT_EQ(host.reads, 5);
    Write("copy.sgf", Sgf(MakeMoves(70, 20), Symmetries()[5]));
    host.reads = 0;
    const auto groups = m_finder.FindGroups(m_paths, host);
    ASSERT_TRUE(groups.has_value());
    // The new file, then the two files of the one candidate set.
    EXPECT_EQ(host.reads, 3);
    EXPECT_EQ(*groups, (std::vector<CDuplicateGroup>{{Path("g0.sgf"), Path("copy.sgf")}}));
}

TEST_F(DuplicateFinding, AFileReplacedByOneOfTheSameSizeAndTimeIsReadAgain)
{
    const std::string path = Write("g.sgf", Sgf(MakeMoves(70, 20), Symmetries()[0]));
    Write("other.sgf", Sgf(MakeMoves(70, 30), Symmetries()[0]));
    CCountingHost host;
    ASSERT_TRUE(m_finder.FindGroups(m_paths, host).has_value());
    ASSERT_EQ(host.reads, 2);
    // A copy that keeps the times, as cp -p makes it: another game of the
    // same size and modification time, moved over the first file.
    const std::string copy = Sgf(MakeMoves(70, 30), Symmetries()[5]);
    ASSERT_EQ(copy.size(), std::filesystem::file_size(path));
    const std::string replacement = m_dir.Write("replacement.sgf", copy);
    std::filesystem::last_write_time(replacement, std::filesystem::last_write_time(path));
    std::filesystem::rename(replacement, path);
    host.reads = 0;
    const auto groups = m_finder.FindGroups(m_paths, host);
    ASSERT_TRUE(groups.has_value());
    // The replaced file, then the two files of the new candidate set.
    EXPECT_EQ(host.reads, 3);
    EXPECT_EQ(*groups, (std::vector<CDuplicateGroup>{{Path("g.sgf"), Path("other.sgf")}}));
}

} // namespace

namespace {

// Each game of a file of several is a game: two of one file can be copies,
// and so can one of them and a file of one game; games on other boards are
// other games, whatever their moves.
TEST_F(DuplicateFinding, GamesOfOneFileAreCopiesOfEachOtherAndOfSingleFiles)
{
    const std::vector<Point> game = MakeMoves(80, 5);
    const std::vector<Point> other = MakeMoves(90, 6);
    std::string small = Sgf(game, Symmetries()[0]);
    small.replace(small.find("SZ[19]"), 6, "SZ[13]");
    const std::string several =
        Write("several.sgf", Sgf(game, Symmetries()[0]) + "\n()\n" + Sgf(other, Symmetries()[0]) + " " + small + "\n" +
                                 Sgf(game, Symmetries()[3]));
    Write("single.sgf", Sgf(other, Symmetries()[6]));
    CCountingHost host;
    const auto groups = m_finder.FindGroups(m_paths, host);
    ASSERT_TRUE(groups.has_value());
    EXPECT_EQ(*groups,
              (std::vector<CDuplicateGroup>{{{several, 0}, {several, 3}}, {{several, 1}, Path("single.sgf")}}));
    EXPECT_EQ(m_finder.GameCount(several), 4u);
    // Two files read for their keys, then each of the four candidates.
    EXPECT_EQ(host.reads, 2 + 4);
}

} // namespace
