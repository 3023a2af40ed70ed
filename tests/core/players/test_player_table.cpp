#include "collection/GameEntry.h"
#include "players/PlayerName.h"
#include "players/PlayerTable.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

SPlayedGame Game(std::string black, std::string white, EResultWinner winner, std::string_view dt = {})
{
    SPlayedGame game{std::move(black), std::move(white), winner};
    ReadGameDate(dt, game.year, game.day);
    return game;
}

const SPlayerRow* RowOf(const std::vector<SPlayerRow>& rows, std::string_view key)
{
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const SPlayerRow& row) { return row.key == key; });
    return found == rows.end() ? nullptr : &*found;
}

constexpr auto B = EResultWinner::Black;
constexpr auto W = EResultWinner::White;
constexpr auto None = EResultWinner::None;

} // namespace

TEST(PlayerTable, DatesGiveTheFirstYearAndDay)
{
    auto read = [](std::string_view dt) {
        int year = -1;
        std::uint32_t day = 1;
        ReadGameDate(dt, year, day);
        return std::pair<int, std::uint32_t>(year, day);
    };
    EXPECT_EQ(read("2016-03-09,10"), std::make_pair(2016, 20160309u));
    EXPECT_EQ(read("1846-09"), std::make_pair(1846, 18460900u));
    EXPECT_EQ(read("2003\xE5\xB9\xB4"
                   "5\xE6\x9C\x88"),
              std::make_pair(2003, 20030000u)); // 2003年5月
    EXPECT_EQ(read("Round 12345, 1999"), std::make_pair(1999, 19990000u));
    EXPECT_EQ(read("?"), std::make_pair(0, 0u));
}

// A player under three spellings is one row; a game without a winner is
// never a loss; colours and years are counted from the player's side.
TEST(PlayerTable, CountsEachPlayerOnceWithTheWinnerAsTheWinnerColumnReadsIt)
{
    CPlayerTable table;
    table.AddGame({"a.sgf", 0}, Game("Chang Hao 9p", "Lee Changho", B, "2001-05-01"));
    table.AddGame({"b.sgf", 0}, Game("Lee Changho 9d", "\xE5\xB8\xB8\xE6\x98\x8A \xE4\xB9\x9D\xE6\xAE\xB5", B, "2003"));
    table.AddGame({"c.sgf", 0}, Game("Chang Hao", "Lee Changho", None, "1999-12-31")); // a draw
    table.AddGame({"c.sgf", 1}, Game("chang hao", "Ma Xiaochun", W, ""));
    table.AddGame({"d.sgf", 0}, Game("Chang Hao 9p", "", B, "2005")); // no opponent named
    EXPECT_EQ(table.GameCount(), 5u);

    const std::vector<SPlayerRow> rows = table.Rows();
    EXPECT_EQ(rows.size(), 4u); // changhao, 常昊, leechangho, maxiaochun
    const SPlayerRow* chang = RowOf(rows, "changhao");
    ASSERT_TRUE(chang);
    EXPECT_EQ(chang->name, "Chang Hao");
    EXPECT_EQ(chang->record, (SWinLoss{4, 2, 1, 1}));
    EXPECT_EQ(chang->firstYear, 1999);
    EXPECT_EQ(chang->lastYear, 2005);
    EXPECT_DOUBLE_EQ(chang->record.WinRate(), 2.0 / 3.0);
    const SPlayerRow* lee = RowOf(rows, "leechangho");
    ASSERT_TRUE(lee);
    EXPECT_EQ(lee->record, (SWinLoss{3, 1, 1, 1}));
    EXPECT_EQ(table.Spellings("changhao"), (std::vector<std::string>{"Chang Hao 9p", "Chang Hao", "chang hao"}));

    const std::optional<SPlayerRecord> record = table.Record("changhao");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->asBlack, (SWinLoss{4, 2, 1, 1}));
    EXPECT_EQ(record->asWhite, SWinLoss{});
    ASSERT_EQ(record->years.size(), 4u);
    EXPECT_EQ(record->years[0].year, 0); // the game without a date
    EXPECT_EQ(record->years[0].record, (SWinLoss{1, 0, 1, 0}));
    EXPECT_EQ(record->years[1].year, 1999);
    EXPECT_EQ(record->years[1].record, (SWinLoss{1, 0, 0, 1}));
    ASSERT_EQ(record->opponents.size(), 2u);
    EXPECT_EQ(record->opponents[0].name, "Lee Changho");
    EXPECT_EQ(record->opponents[0].record, (SWinLoss{2, 1, 0, 1}));
    EXPECT_EQ(record->opponents[0].lastDay, 20010501u);
    EXPECT_EQ(record->opponents[1].key, "maxiaochun");
    EXPECT_EQ(record->opponents[1].record, (SWinLoss{1, 0, 1, 0}));
    EXPECT_FALSE(table.Record("nobody"));

    std::vector<SGameId> games = table.GamesOf("changhao", "leechangho");
    std::sort(games.begin(), games.end(), [](const SGameId& a, const SGameId& b) { return a.path < b.path; });
    EXPECT_EQ(games, (std::vector<SGameId>{{"a.sgf", 0}, {"c.sgf", 0}}));
}

TEST(PlayerTable, RemovingAndReplacingGamesUndoesTheirCounts)
{
    CPlayerTable table;
    table.AddGame({"x.sgf", 0}, Game("A", "B", B, "1990"));
    table.AddGame({"x.sgf", 1}, Game("A", "C", W, "1995"));
    table.AddGame({"y.sgf", 0}, Game("B", "A", W, "2000"));
    const std::uint64_t before = table.Generation();

    // A refreshed file: the game's result changed.
    table.AddGame({"y.sgf", 0}, Game("B", "A", B, "2000"));
    EXPECT_GT(table.Generation(), before);
    EXPECT_EQ(RowOf(table.Rows(), "a")->record, (SWinLoss{3, 1, 2, 0}));

    EXPECT_EQ(table.RemoveFile("x.sgf"), 2u);
    EXPECT_FALSE(table.RemoveGame({"x.sgf", 0}));
    const std::vector<SPlayerRow> rows = table.Rows();
    EXPECT_EQ(rows.size(), 2u); // C has no game left
    EXPECT_EQ(table.PlayerCount(), 2u);
    const SPlayerRow* a = RowOf(rows, "a");
    EXPECT_EQ(a->record, (SWinLoss{1, 0, 1, 0}));
    EXPECT_EQ(a->firstYear, 2000);
    EXPECT_EQ(a->lastYear, 2000);
    EXPECT_EQ(table.Record("a")->asWhite, (SWinLoss{1, 0, 1, 0}));
    EXPECT_FALSE(table.Record("c"));

    table.Clear();
    EXPECT_EQ(table.GameCount(), 0u);
    EXPECT_TRUE(table.Rows().empty());
}

TEST(PlayerTable, AliasesJoinPlayersAndSplittingParts)
{
    CPlayerTable table;
    table.AddGame({"1", 0}, Game("Go Seigen", "Kitani Minoru", W, "1933"));
    table.AddGame({"2", 0}, Game("Wu Qingyuan", "Kitani Minoru", B, "1939"));
    table.AddGame({"3", 0}, Game("\xE5\x90\xB4\xE6\xB8\x85\xE6\xBA\x90", "Wu Qingyuan", B, "1940")); // 吴清源
    EXPECT_EQ(table.Rows().size(), 4u);

    CPlayerAliases aliases;
    aliases.Join({"Go Seigen", "Wu Qingyuan", "\xE5\x90\xB4\xE6\xB8\x85\xE6\xBA\x90"});
    table.SetAliases(aliases);
    EXPECT_EQ(table.KeyOf("Wu Qingyuan 9d"), "goseigen");
    const std::vector<SPlayerRow> rows = table.Rows();
    EXPECT_EQ(rows.size(), 2u);
    const SPlayerRow* go = RowOf(rows, "goseigen");
    ASSERT_TRUE(go);
    // A game of the player against an alias of himself counts once, without a winner.
    EXPECT_EQ(go->record, (SWinLoss{3, 1, 1, 1}));
    EXPECT_EQ(table.Record("goseigen")->opponents.size(), 1u);
    EXPECT_EQ(table.GamesOf("goseigen", "kitaniminoru").size(), 2u);

    table.SetAliases(CPlayerAliases());
    EXPECT_EQ(table.Rows().size(), 4u);
    EXPECT_EQ(RowOf(table.Rows(), "wuqingyuan")->record, (SWinLoss{2, 1, 1, 0}));
}

// Every game of a file of several game trees counts, each with its own winner.
TEST(PlayerTable, EveryGameOfAFileCounts)
{
    CGameEntry entry;
    entry.m_props.Set("PB", "Honinbo Shusaku");
    entry.m_props.Set("PW", "Gennan Inseki");
    entry.m_props.Set("RE", "B+2");
    entry.m_props.Set("DT", "1846-09-11");
    entry.m_pMoreGames = std::make_unique<std::vector<CGameEntry>>();
    for (const char* result : {"0", "Void", "?", "W+R"}) {
        CGameEntry& more = entry.m_pMoreGames->emplace_back();
        more.m_props.Set("PB", "Shusaku");
        more.m_props.Set("PW", "Ota Yuzo");
        more.m_props.Set("RE", result);
    }
    CPlayerTable table;
    for (std::uint32_t i = 0; i < entry.GameCount(); ++i)
        table.AddGame({"shusaku.sgf", i}, PlayedGameOf(entry.Game(i)));
    EXPECT_EQ(table.GameCount(), 5u);
    const std::optional<SPlayerRecord> shusaku = table.Record(PlayerKey("Shusaku"));
    ASSERT_TRUE(shusaku);
    EXPECT_EQ(shusaku->total, (SWinLoss{5, 1, 1, 3}));
    EXPECT_EQ(shusaku->opponents[0].key, "otayuzo");
    EXPECT_EQ(shusaku->opponents[1].lastDay, 18460911u);
}
