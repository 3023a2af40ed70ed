#include "collection/GameEntry.h"
#include "players/JoinedPlayerNames.h"
#include "players/PlayerAliases.h"
#include "players/PlayerName.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

TEST(PlayerAliases, JoinKeysEverySpellingUnderTheFirstAndSplitUndoesIt)
{
    CPlayerAliases aliases;
    EXPECT_EQ(aliases.Key("Lee Changho 9p"), "leechangho");
    EXPECT_FALSE(aliases.Join({"Lee Changho", "lee changho 9d"}));                       // one player already
    ASSERT_TRUE(aliases.Join({"Lee Changho", "\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8"}));  // 이창호
    ASSERT_TRUE(aliases.Join({"\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC", "Yi Ch'ang-ho"})); // 李昌鎬
    // Joining a name of each group joins the groups, under the first's head.
    ASSERT_TRUE(aliases.Join({"\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8 9\xEB\x8B\xA8", "Yi Ch'ang-ho"}));
    ASSERT_EQ(aliases.Groups().size(), 1u);
    EXPECT_EQ(aliases.Groups()[0], (std::vector<std::string>{"Lee Changho", "\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8",
                                                             "\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC", "Yi Ch'ang-ho"}));
    for (const char* name : {"\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC \xE4\xB9\x9D\xE6\xAE\xB5", "YI CH'ANG-HO 9P",
                             "\xEC\x9D\xB4\xEC\xB0\xBD\xED\x98\xB8"})
        EXPECT_EQ(aliases.Key(name), "leechangho") << name;
    EXPECT_EQ(aliases.Key("Lee Sedol"), "leesedol");

    // An alias leaves alone; the first name dissolves the group.
    EXPECT_TRUE(aliases.Split("Yi Ch'ang-ho 9p"));
    EXPECT_EQ(aliases.Key("Yi Ch'ang-ho"), "yich'ang-ho");
    EXPECT_EQ(aliases.Key("\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC"), "leechangho");
    EXPECT_FALSE(aliases.Split("Yi Ch'ang-ho"));
    EXPECT_TRUE(aliases.Split("Lee Changho"));
    EXPECT_TRUE(aliases.IsEmpty());
    EXPECT_EQ(aliases.Key("\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC"), PlayerKey("\xE6\x9D\x8E\xE6\x98\x8C\xE9\x8E\xAC"));
}

TEST(PlayerAliases, TextFormRoundTripsThroughExportImportAndTheSettings)
{
    CPlayerAliases aliases;
    aliases.Join({"Cho Hunhyun", "\xEC\xA1\xB0\xED\x9B\x88\xED\x98\x84", "\xE6\x9B\xB9\xE8\x96\xB0\xE9\x89\x89"});
    aliases.Join({"Go Seigen", "Wu Qingyuan"});
    const std::string text = aliases.ExportText();
    EXPECT_EQ(text, "Cho Hunhyun\t\xEC\xA1\xB0\xED\x9B\x88\xED\x98\x84\t\xE6\x9B\xB9\xE8\x96\xB0\xE9\x89\x89\n"
                    "Go Seigen\tWu Qingyuan\n");

    CPlayerAliases imported;
    // A byte-order mark, CRLF line ends, blanks round names, empty fields and
    // a line of one name (which joins nothing) are all read as meant.
    EXPECT_EQ(imported.ImportText("\xEF\xBB\xBF"
                                  "Cho Hunhyun\t \xEC\xA1\xB0\xED\x9B\x88\xED\x98\x84 \t\t"
                                  "\xE6\x9B\xB9\xE8\x96\xB0\xE9\x89\x89\r\nLonely\r\n\r\nGo Seigen\tWu Qingyuan"),
              2u);
    EXPECT_EQ(imported, aliases);
    // Nor does a mark at the start of a later line (files joined together):
    // the name read back from an export is the same name.
    CPlayerAliases joined;
    joined.ImportText("A\tB\n\xEF\xBB\xBF"
                      "Go Seigen\tWu Qingyuan\n");
    EXPECT_EQ(joined.Key("Wu Qingyuan"), "goseigen");
    CPlayerAliases again;
    again.ImportText(joined.ExportText());
    EXPECT_EQ(again, joined);

    CMemorySettingsStore store;
    aliases.Save(store);
    EXPECT_EQ(store.GetProfileString("Players", "Aliases"), text);
    CPlayerAliases loaded;
    loaded.Join({"stale", "group"});
    loaded.Load(store);
    EXPECT_EQ(loaded, aliases);
    EXPECT_EQ(loaded.Key("Wu Qingyuan 9d"), "goseigen");
}

// The Opponent column: a player is mine by bytes as before, and also when
// rank words come off to leave one of My Names, or when aliases join them.
TEST(PlayerAliases, MyNamesFollowRankWordsAndAliasesInTheOpponentColumn)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Misc", "My Names", "Tom Walker");
    auto opponent = [&](std::string_view black, std::string_view white) -> std::optional<std::string> {
        CGameEntry entry;
        entry.m_props.Set("PB", black);
        entry.m_props.Set("PW", white);
        const CJoinedPlayerNames joined(store);
        std::string value;
        if (!entry.GetValue("$Opponent", value, store, nullptr, &joined))
            return std::nullopt;
        return value;
    };
    EXPECT_EQ(opponent("Tom Walker", "Ann"), "Ann");
    EXPECT_EQ(opponent("Ann", "Tom Walker 2d"), "Ann");
    EXPECT_EQ(opponent("Ann", "Tom Walker [3k]"), "Ann");
    // Case and blanks count as they always did, without aliases.
    EXPECT_EQ(opponent("Ann", "tom walker 2d"), std::nullopt);
    EXPECT_EQ(opponent("Ann", "TomWalker"), std::nullopt);

    CPlayerAliases aliases;
    aliases.Join({"Tom Walker", "twalker", "\xE3\x83\x88\xE3\x83\xA0"}); // トム
    aliases.Save(store);
    EXPECT_EQ(opponent("TWalker 1d", "Ann"), "Ann");
    EXPECT_EQ(opponent("Ann", "\xE3\x83\x88\xE3\x83\xA0"), "Ann");
    EXPECT_EQ(opponent("Ann", "tom walker"), "Ann");
    EXPECT_EQ(opponent("Ann", "Bob"), std::nullopt);
    EXPECT_EQ(opponent("twalker", "Tom Walker"), std::nullopt); // both are mine
}
