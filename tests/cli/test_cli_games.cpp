// The command line with files of several game trees: every game is a row of
// list, info picks one, dups and pattern name each game as the list does.
#include "CliRunner.h"
#include "TestSupport.h"
#include "qtcore/QtSettingsStore.h"

#include <QFile>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A game of count moves down the columns from the shift-th column on the
// left (on the right when mirrored): long enough to be compared by its moves
// alone. Games of other shifts are other games.
std::string ColumnTree(int count, bool mirrored, const std::string& root = "", int shift = 0)
{
    std::string text = "(;SZ[19]" + root;
    for (int i = 0; i < count; ++i) {
        const int x = shift + i / 19;
        text += i % 2 == 0 ? ";B[" : ";W[";
        text += static_cast<char>('a' + (mirrored ? 18 - x : x));
        text += static_cast<char>('a' + i % 19);
        text += "]";
    }
    return text + ")";
}

class CliGamesTest : public testing::Test
{
protected:
    CliGamesTest()
    {
        fs::create_directories(m_scratch);
        fs::create_directories(m_config);
        m_settings = Settings("sorted.ini", true);
    }

    // Only the game name and the board size: short, telling lines. Sorted
    // by the file name column, or in the collection's order.
    std::string Settings(const std::string& name, bool sorted) const
    {
        const fs::path settings = m_tmp.Write(name, "");
        CQtSettingsStore store(QFile::decodeName(QByteArray::fromStdString(settings.string())));
        store.WriteProfileString("Header", "Definition", "Game Name:GN|Size:SZ");
        if (sorted) {
            store.WriteProfileInt("Header", "ColSort", 1);
            store.WriteProfileInt("Header", "ColSortCur", 0);
        }
        return settings.string();
    }

    CCliResult Run(const std::vector<std::string>& args) { return RunCli(args, m_scratch, m_config); }
    std::string Game(const std::string& name, const std::string& bytes) const
    {
        return m_tmp.Write("games/" + name, bytes);
    }
    std::string Collection() const { return (m_tmp.path() / "c.vnx").string(); }
    CCliResult List(const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args{"list", Collection(), "--settings", m_settings};
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    }

    CTempDir m_tmp;
    fs::path m_scratch = m_tmp.path() / "scratch";
    fs::path m_config = m_tmp.path() / "config";
    std::string m_settings;
};

// Three games on boards of three sizes, with blanks, line breaks, text and an
// empty tree between them, then a fourth tree cut short by the file's end.
const std::string kThreeGames = "(;GM[1]SZ[19]GN[First];B[pd];W[dp])\n\n"
                                "  (;GM[1]SZ[9]GN[Second];B[ee])\r\n"
                                "()\n"
                                "(;GM[1]SZ[13]GN[Third];B[dd])\n"
                                "(;GM[1]SZ[19]GN[Cut";

} // namespace

TEST_F(CliGamesTest, ListWritesALineForEveryGameNamedWithItsNumber)
{
    const std::string problems = Game("problems.sgf", kThreeGames);
    const std::string single = Game("single.sgf", "(;GM[1]SZ[19]GN[Alone];B[aa])");
    const std::string two = Game("two.sgf", "(;GN[One])(;GN[Two])");
    ASSERT_EQ(Run({"add", Collection(), problems, single, two}).exitCode, 0);

    const CCliResult all = List();
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "problems.sgf #1\tFirst\t19\r\n"
                       "problems.sgf #2\tSecond\t9\r\n"
                       "problems.sgf #3\tThird\t13\r\n"
                       "single.sgf\tAlone\t19\r\n"
                       "two.sgf #1\tOne\t\r\n"
                       "two.sgf #2\tTwo\t\r\n");

    // The filter looks at each game's own cells and record.
    EXPECT_EQ(List({"--filter", "second"}).out, "problems.sgf #2\tSecond\t9\r\n");
    EXPECT_EQ(List({"--filter", "#2"}).out, "problems.sgf #2\tSecond\t9\r\ntwo.sgf #2\tTwo\t\r\n");
    EXPECT_EQ(List({"--filter", "problems 13"}).out, "problems.sgf #3\tThird\t13\r\n");

    // Full paths carry the number too.
    EXPECT_EQ(List({"--full-path", "--filter", "#2 two"}).out, two + " #2\tTwo\t\r\n");
}

TEST_F(CliGamesTest, InfoPrintsTheGameAskedForAndFailsPastTheLast)
{
    const std::string problems = Game("problems.sgf", kThreeGames);
    const std::string single = Game("single.sgf", "(;GN[Alone])");

    const CCliResult first = Run({"info", problems});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, problems + "\tok\n\tGM\t1\n\tGN\tFirst\n\tSZ\t19\n");
    EXPECT_EQ(Run({"info", "--game", "1", problems}).out, first.out);

    const CCliResult third = Run({"info", "--game=3", problems});
    EXPECT_EQ(third.exitCode, 0) << third.err;
    EXPECT_EQ(third.out, problems + "\tok\n\tGM\t1\n\tGN\tThird\n\tSZ\t13\n");

    // The cut tree is no game: the file holds three. A file without the
    // game fails, the others are still printed.
    const CCliResult past = Run({"info", "--game", "2", single, problems});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_EQ(past.out, single + "\tfail\n" + problems + "\tok\n\tGM\t1\n\tGN\tSecond\n\tSZ\t9\n");
    EXPECT_NE(past.err.find("no game 2: the file holds 1 game"), std::string::npos) << past.err;
    EXPECT_NE(Run({"info", "--game", "4", problems}).err.find("holds 3 games"), std::string::npos);

    for (const std::string& bad : {"0", "-1", "x", ""}) {
        const CCliResult refused = Run({"info", "--game", bad, problems});
        EXPECT_EQ(refused.exitCode, 2) << bad;
        EXPECT_EQ(refused.out, "");
    }
    EXPECT_EQ(Run({"info", problems, "--game"}).exitCode, 2);
}

TEST_F(CliGamesTest, DupsFindsCopiesWithinAFileAndAcrossFiles)
{
    // Game 1 and game 3 of the collection are one game; game 2 is the game
    // of the single file, mirrored.
    const std::string collection =
        Game("collection.sgf", ColumnTree(60, false, "GN[a]") + "\n" + ColumnTree(70, false, "GN[b]", 8) +
                                   "\n(;C[between])\n" + ColumnTree(60, false, "GN[c]"));
    const std::string single = Game("single.sgf", ColumnTree(70, true, "", 8));
    Game("other.sgf", ColumnTree(40, false));
    ASSERT_EQ(Run({"add", Collection(), (m_tmp.path() / "games").string()}).exitCode, 0);

    const CCliResult dups = Run({"dups", Collection()});
    EXPECT_EQ(dups.exitCode, 0) << dups.err;
    // The tree of a comment alone holds no moves: game 3 is the fourth tree.
    EXPECT_EQ(dups.out, collection + " #1\t" + collection + " #4\n" + collection + " #2\t" + single + "\n");
}

TEST_F(CliGamesTest, PatternNamesTheGameOfAFileOfSeveral)
{
    const std::string both = Game("both.sgf", "(;SZ[19];B[pd])\n(;SZ[19];B[dd])\n(;SZ[13];B[jd])");
    const std::string single = Game("single.sgf", "(;SZ[19];B[pd];W[dp])");
    ASSERT_EQ(Run({"add", Collection(), both, single}).exitCode, 0);
    // Black's 4-4 point in the upper right: games 1 and 2 (rotated) of
    // both.sgf and the single file, not the 13 by 13 game.
    const CCliResult found =
        Run({"pattern", Collection(), "--region", "oa:se", "--rows", "...../...../...../.X.../....."});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, both + " #1\t1\n" + both + " #2\t1\n" + single + "\t1\n");
}

TEST_F(CliGamesTest, AThousandGamesInOneFileListInFileOrder)
{
    std::string bytes;
    std::string expected;
    for (int i = 1; i <= 1000; ++i) {
        bytes += "(;GN[g" + std::to_string(i) + "];B[aa])" + (i % 3 == 0 ? "\n" : " ");
        expected += "many.sgf #" + std::to_string(i) + "\tg" + std::to_string(i) + "\t\r\n";
    }
    const std::string many = Game("many.sgf", bytes);
    ASSERT_EQ(Run({"add", Collection(), many}).exitCode, 0);
    // Unsorted: the file's games in file order.
    const CCliResult all = Run({"list", Collection(), "--settings", Settings("unsorted.ini", false)});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, expected);
    EXPECT_EQ(Run({"info", "--game", "1000", many}).out, many + "\tok\n\tGN\tg1000\n");
}
