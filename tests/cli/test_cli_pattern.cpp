#include "CliRunner.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Four games whose first move is a 4-4 point: Black's in the upper right
// (a), Black's in the lower left (b), Black's answered by White at the 3-3
// point (c), and White's answered so by Black (d), whose colours the
// pattern sees exchanged.
class PatternCommandTest : public testing::Test
{
protected:
    PatternCommandTest()
    {
        fs::create_directories(m_scratch);
        fs::create_directories(m_config);
        m_games = m_tmp.path() / "games";
        fs::create_directories(m_games);
        Write("a.sgf", "(;GM[1]SZ[19]RE[B+R];B[pd];W[dp];B[qp];W[dd])");
        Write("b.sgf", "(;GM[1]SZ[19]RE[W+2.5];B[dp];W[pd])");
        Write("c.sgf", "(;GM[1]SZ[19]RE[B+R];B[pd];W[qc])");
        Write("d.sgf", "(;GM[1]SZ[19]RE[W+R];W[pd];B[qc])");
        // Another board size is never searched.
        Write("e.sgf", "(;GM[1]SZ[13]RE[B+R];B[jd];W[kc])");
        m_collection = (m_tmp.path() / "c.vnx").string();
        const CCliResult add = Run({"add", m_collection, m_games.string()});
        EXPECT_EQ(add.exitCode, 0) << add.err;
    }

    void Write(const std::string& name, const std::string& text) { m_tmp.Write("games/" + name, text); }
    std::string Game(const std::string& name) const { return (m_games / name).string(); }
    CCliResult Run(const std::vector<std::string>& args) { return RunCli(args, m_scratch, m_config); }

    // The upper right corner, 5 by 5, with Black's stone on the 4-4 point.
    static constexpr const char* kCorner = "oa:se";
    static constexpr const char* kFourFour = "...../...../...../.X.../.....";

    CTempDir m_tmp;
    fs::path m_scratch = m_tmp.path() / "scratch";
    fs::path m_config = m_tmp.path() / "config";
    fs::path m_games;
    std::string m_collection;
};

TEST_F(PatternCommandTest, ListsTheGamesWithTheirFirstHitsInPathOrder)
{
    const CCliResult all = Run({"pattern", m_collection, "--region", kCorner, "--rows", kFourFour});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out,
              Game("a.sgf") + "\t1\n" + Game("b.sgf") + "\t1\n" + Game("c.sgf") + "\t1\n" + Game("d.sgf") + "\t1\n");

    // With the colours fixed, White's 4-4 point is not Black's.
    const CCliResult fixed =
        Run({"pattern", m_collection, "--fixed-colours", "--region=" + std::string(kCorner), "--rows", kFourFour});
    EXPECT_EQ(fixed.exitCode, 0) << fixed.err;
    EXPECT_EQ(fixed.out, Game("a.sgf") + "\t1\n" + Game("b.sgf") + "\t1\n" + Game("c.sgf") + "\t1\n");

    // Nothing matches: no output, success.
    const CCliResult none =
        Run({"pattern", m_collection, "--region", "aa:ee", "--rows", "XXXXX/...../...../...../....."});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "");
}

TEST_F(PatternCommandTest, CountsContinuationsAndWinsInThePatternsColours)
{
    // c: White answers at the 3-3 point and Black wins; d: the same with the
    // colours exchanged, and the game's White (the pattern's Black) wins.
    const CCliResult table =
        Run({"pattern", m_collection, "--continuations", "--region", kCorner, "--rows", kFourFour});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "qc\tW\t2\t2\t0\n");
}

TEST_F(PatternCommandTest, TakesThePatternFromAGamesPosition)
{
    // After move 2 of c: Black on the 4-4 point, White on the 3-3 point.
    const CCliResult second =
        Run({"pattern", m_collection, "--region", kCorner, "--from", Game("c.sgf"), "--move", "2"});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.out, Game("c.sgf") + "\t2\n" + Game("d.sgf") + "\t2\n");

    // Without --move: the game's end, the same position here.
    EXPECT_EQ(Run({"pattern", m_collection, "--region", kCorner, "--from", Game("c.sgf")}).out, second.out);

    const CCliResult past = Run({"pattern", m_collection, "--region", kCorner, "--from", Game("c.sgf"), "--move", "3"});
    EXPECT_EQ(past.exitCode, 2);
    EXPECT_EQ(past.out, "");
    EXPECT_NE(past.err, "");
}

TEST_F(PatternCommandTest, ABatchAnswersEveryQueryInTurn)
{
    const std::string batch = m_tmp.Write("queries.txt", std::string(kCorner) + " " + kFourFour + "\n\n" + kCorner +
                                                             " " + kFourFour + " fixed\n");
    const CCliResult run = Run({"pattern", m_collection, "--continuations", "--batch", batch});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "#\t1\nqc\tW\t2\t2\t0\n#\t2\nqc\tW\t1\t1\t0\n");

    // One line that cannot be read stops the batch before any search.
    const std::string bad = m_tmp.Write("bad.txt", std::string(kCorner) + " " + kFourFour + "\noa:se ..X\n");
    const CCliResult refused = Run({"pattern", m_collection, "--batch", bad});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("line 2"), std::string::npos) << refused.err;
}

TEST_F(PatternCommandTest, PatternsThatCannotBeReadAndMissingCollectionsFail)
{
    for (const std::vector<std::string>& rows : std::vector<std::vector<std::string>>{
             {"--region", kCorner, "--rows", "...../....."},              // too few rows
             {"--region", kCorner, "--rows", "..../..../..../..../...."}, // too narrow
             {"--region", kCorner, "--rows", "...../...../...../.Z.../....."},
             {"--region", "oa:sz", "--rows", "X"}, // off the board
             {"--region", kCorner},                // no rows
         }) {
        std::vector<std::string> args = {"pattern", m_collection};
        args.insert(args.end(), rows.begin(), rows.end());
        const CCliResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << rows[1];
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "") << rows[1];
    }
    const CCliResult missing =
        Run({"pattern", (m_tmp.path() / "none.vnx").string(), "--region", kCorner, "--rows", kFourFour});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot open collection"), std::string::npos) << missing.err;
}

} // namespace
