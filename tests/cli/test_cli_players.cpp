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

// Chang Hao and Lee Changho in four charsets, each with the rank words of
// its language, and a file of three games without a winner.
class PlayersCommandTest : public testing::Test
{
protected:
    PlayersCommandTest()
    {
        fs::create_directories(m_scratch);
        fs::create_directories(m_config);
        // White wins.
        Write("a.sgf", "(;CA[UTF-8]PB[Chang Hao 9p]PW[Lee Changho 9d]RE[W+R]DT[2001-05-01])");
        // GBK: 常昊 九段 beats 李昌镐 九段.
        Write("b.sgf", "(;CA[GBK]PB[\xB3\xA3\xEA\xBB \xBE\xC5\xB6\xCE]PW[\xC0\xEE\xB2\xFD\xB8\xE4 \xBE\xC5\xB6\xCE]"
                       "RE[B+0.5]DT[2002])");
        // Shift_JIS: 趙治勲 名人 beats 常昊 九段, by 黒中押し勝.
        Write("c.sgf",
              "(;CA[Shift_JIS]PB[\xE6\xE2\x8E\xA1\x8C\x4D \x96\xBC\x90\x6C]PW[\x8F\xED\x9D\xDD \x8B\xE3\x92\x69]"
              "RE[\x8D\x95\x92\x86\x89\x9F\x82\xB5\x8F\x9F]DT[2003-01-02])");
        // EUC-KR: 이창호 9단 beats 창하오 9단, by 흑 불계승.
        Write("d.sgf", "(;CA[EUC-KR]PB[\xC0\xCC\xC3\xA2\xC8\xA3 9\xB4\xDC]PW[\xC3\xA2\xC7\xCF\xBF\xC0 9\xB4\xDC]"
                       "RE[\xC8\xE6 \xBA\xD2\xB0\xE8\xBD\xC2]DT[2004])");
        // A draw, a void game and an unknown result.
        Write("e.sgf", "(;PB[Chang Hao]PW[Lee Changho]RE[0]DT[2005])(;PB[Lee Changho]PW[Chang Hao]RE[Void]DT[2005])"
                       "(;PB[Chang Hao]PW[Lee Changho]RE[?])");
        m_collection = (m_tmp.path() / "c.vnx").string();
        const CCliResult add = Run({"add", m_collection, (m_tmp.path() / "games").string()});
        EXPECT_EQ(add.exitCode, 0) << add.err;
        m_aliases = m_tmp.Write("aliases.txt", kAliases);
    }

    static constexpr const char* kAliases =
        "Chang Hao\t\xE5\xB8\xB8\xE6\x98\x8A\t\xEC\xB0\xBD\xED\x95\x98\xEC\x98\xA4\n"
        "Lee Changho\t\xE6\x9D\x8E\xE6\x98\x8C\xE9\x95\x90\t\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8\n";

    void Write(const std::string& name, const std::string& bytes) { m_tmp.Write("games/" + name, bytes); }
    CCliResult Run(const std::vector<std::string>& args) { return RunCli(args, m_scratch, m_config); }

    CTempDir m_tmp;
    fs::path m_scratch = m_tmp.path() / "scratch";
    fs::path m_config = m_tmp.path() / "config";
    std::string m_collection;
    std::string m_aliases;
};

} // namespace

TEST_F(PlayersCommandTest, EachSpellingIsOnePlayerAfterRankWordsComeOff)
{
    const CCliResult players = Run({"players", m_collection});
    EXPECT_EQ(players.exitCode, 0) << players.err;
    // Every game of e.sgf counts, none of them as a loss.
    EXPECT_EQ(players.out, "Chang Hao\t4\t0\t1\t3\t2001\t2005\n"
                           "Lee Changho\t4\t1\t0\t3\t2001\t2005\n"
                           "\xE5\xB8\xB8\xE6\x98\x8A\t2\t1\t1\t0\t2002\t2003\n"               // 常昊
                           "\xE6\x9D\x8E\xE6\x98\x8C\xE9\x95\x90\t1\t0\t1\t0\t2002\t2002\n"   // 李昌镐
                           "\xE8\xB6\x99\xE6\xB2\xBB\xE5\x8B\xB2\t1\t1\t0\t0\t2003\t2003\n"   // 趙治勲
                           "\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8\t1\t1\t0\t0\t2004\t2004\n"   // 이창호
                           "\xEC\xB0\xBD\xED\x95\x98\xEC\x98\xA4\t1\t0\t1\t0\t2004\t2004\n"); // 창하오
}

TEST_F(PlayersCommandTest, AliasesFromAFileAndTheSettingsJoinThreeSpellings)
{
    const CCliResult joined = Run({"players", m_collection, "--aliases", m_aliases});
    EXPECT_EQ(joined.exitCode, 0) << joined.err;
    const std::string table = "Chang Hao\t7\t1\t3\t3\t2001\t2005\n"
                              "Lee Changho\t6\t2\t1\t3\t2001\t2005\n"
                              "\xE8\xB6\x99\xE6\xB2\xBB\xE5\x8B\xB2\t1\t1\t0\t0\t2003\t2003\n";
    EXPECT_EQ(joined.out, table);

    // The opponents of any spelling of the player, the player's wins and losses.
    const CCliResult opponents = Run({"players", m_collection, "--aliases=" + m_aliases, "--player",
                                      "\xE5\xB8\xB8\xE6\x98\x8A \xE4\xB9\x9D\xE6\xAE\xB5"});
    EXPECT_EQ(opponents.exitCode, 0) << opponents.err;
    EXPECT_EQ(opponents.out, "Lee Changho\t6\t1\t2\t2005\n\xE8\xB6\x99\xE6\xB2\xBB\xE5\x8B\xB2\t1\t0\t1\t2003-01-02\n");

    // The user's aliases, kept in the settings, join the same way.
    {
        CQtSettingsStore store(
            QFile::decodeName(QByteArray::fromStdString((m_config / "Pellmore" / "Varnex.conf").string())));
        store.WriteProfileString("Players", "Aliases", kAliases);
    }
    EXPECT_EQ(Run({"players", m_collection}).out, table);

    // Find follows them: list --filter finds the games of every spelling.
    const CCliResult list = Run({"list", m_collection, "--utf8", "--filter", "player:\"chang hao\""});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    for (const char* file : {"a.sgf", "b.sgf", "c.sgf", "d.sgf", "e.sgf"})
        EXPECT_NE(list.out.find(file), std::string::npos) << file << " in " << list.out;
}

TEST_F(PlayersCommandTest, BadArgumentsAndMissingPlayersFailAsTheOtherCommandsDo)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"players"},
                                               {"players", m_collection, "--player"},
                                               {"players", m_collection, "--colour", "B"},
                                               {"players", m_collection, "extra.vnx"},
                                               {"players", m_collection, "--aliases", "/nonexistent/aliases"}}) {
        const CCliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << args.back();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("varnex-cli: "), std::string::npos) << result.err;
    }
    const CCliResult nobody = Run({"players", m_collection, "--player", "Nobody"});
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_EQ(nobody.err, "varnex-cli: players: no game names the player Nobody\n");
    EXPECT_EQ(Run({"players", (m_tmp.path() / "missing.vnx").string()}).exitCode, 1);
    EXPECT_NE(Run({"players", "--help"}).out.find("--aliases FILE"), std::string::npos);
}
