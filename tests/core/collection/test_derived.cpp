#include "settings/MemorySettingsStore.h"
#include "collection/DerivedValues.h"
#include "collection/GameEntry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <utility>

namespace
{
class DerivedValueTest : public testing::Test
{
protected:
    void Props(std::initializer_list<std::pair<const char*, const char*>> props)
    {
        for (const auto& [id, value] : props) {
            m_entry.m_props.Set(id, value);
        }
    }
    void MyNames(std::string_view names) { m_store.WriteProfileString("Misc", "My Names", names); }

    std::optional<std::string> Value(std::string_view signature) const
    {
        std::string value = "untouched";
        if (!m_entry.GetValue(signature, value, m_store)) {
            EXPECT_EQ(value, "untouched") << "a failed GetValue changed the value";
            return std::nullopt;
        }
        return value;
    }

    CGameEntry m_entry;
    CMemorySettingsStore m_store;
};
} // namespace

TEST(ClassifySignature, DerivedNamesGiveTheirIndexAndEverythingElseSix)
{
    EXPECT_EQ(ClassifySignature("$Opponent"), kOpponent);
    EXPECT_EQ(ClassifySignature("$OpponentRank"), kOpponentRank);
    EXPECT_EQ(ClassifySignature("$Winner"), kWinner);
    EXPECT_EQ(ClassifySignature("$WinnerRank"), kWinnerRank);
    EXPECT_EQ(ClassifySignature("$Loser"), kLoser);
    EXPECT_EQ(ClassifySignature("$LoserRank"), kLoserRank);
    EXPECT_EQ(ClassifySignature("$Winner:anything"), kWinner);
    EXPECT_EQ(ClassifySignature("$WinnerRank:x:y"), kWinnerRank);

    EXPECT_EQ(ClassifySignature(""), kPlainSignature);
    EXPECT_EQ(ClassifySignature("$"), kPlainSignature);
    EXPECT_EQ(ClassifySignature("$winner"), kPlainSignature);
    EXPECT_EQ(ClassifySignature("$Winners"), kPlainSignature);
    EXPECT_EQ(ClassifySignature("Winner"), kPlainSignature);
    EXPECT_EQ(ClassifySignature(" $Winner"), kPlainSignature);
    EXPECT_EQ(ClassifySignature("GN"), kPlainSignature);
}

TEST_F(DerivedValueTest, PlainSignaturesLookUpTheWholeIdentifierExactly)
{
    Props({{"GN", "Game"}, {"DT", "2001-01-01"}});
    EXPECT_EQ(Value("GN"), "Game");
    EXPECT_EQ(Value("gn"), std::nullopt);
    EXPECT_EQ(Value("PC"), std::nullopt);
    EXPECT_EQ(Value("$Unknown"), std::nullopt);
    EXPECT_EQ(Value(""), std::nullopt);
}

TEST_F(DerivedValueTest, OpponentIsTheOtherPlayerWhenExactlyOneIsMine)
{
    Props({{"PB", "Ann"}, {"PW", "Carl"}, {"BR", "3d"}, {"WR", "5k"}});
    MyNames("Ann,Bob");
    EXPECT_EQ(Value("$Opponent"), "Carl");
    EXPECT_EQ(Value("$OpponentRank"), "5k");

    MyNames("Carl");
    EXPECT_EQ(Value("$Opponent"), "Ann");
    EXPECT_EQ(Value("$OpponentRank"), "3d");

    MyNames("Bob|Ann");
    EXPECT_EQ(Value("$Opponent"), "Carl");
}

TEST_F(DerivedValueTest, OpponentHasNoValueWhenBothOrNeitherPlayerIsMine)
{
    Props({{"PB", "Ann"}, {"PW", "Bob"}});
    MyNames("Ann,Bob");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
    MyNames("Dora");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
    MyNames("");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
}

TEST_F(DerivedValueTest, MyNamesMatchExactlyWithoutTrimmingOrCaseFolding)
{
    Props({{"PB", "ann"}, {"PW", "Bob"}});
    MyNames("Ann");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
    // The space after the comma belongs to the second name.
    MyNames("Ann, Bob");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
    MyNames("Ann,Bob");
    EXPECT_EQ(Value("$Opponent"), "ann");
    // An escaped bar is part of a name.
    m_entry.m_props.Set("PB", "A|B");
    MyNames("A\\|B");
    EXPECT_EQ(Value("$Opponent"), "Bob");
}

TEST_F(DerivedValueTest, EmptyPlayerNameIsNeverMine)
{
    Props({{"PB", ""}, {"PW", "Carl"}});
    MyNames("Carl,,");
    EXPECT_EQ(Value("$Opponent"), "");
    MyNames(",");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
}

TEST_F(DerivedValueTest, OpponentNeedsBothPlayersAndTheOtherRank)
{
    Props({{"PB", "Ann"}, {"BR", "3d"}});
    MyNames("Ann");
    EXPECT_EQ(Value("$Opponent"), std::nullopt);
    EXPECT_EQ(Value("$OpponentRank"), std::nullopt);
    Props({{"PW", "Carl"}});
    EXPECT_EQ(Value("$Opponent"), "Carl");
    EXPECT_EQ(Value("$OpponentRank"), std::nullopt);
}

TEST_F(DerivedValueTest, BlackWinsOnlyWithAResultStartingBPlus)
{
    Props({{"PB", "Ann"}, {"PW", "Carl"}, {"BR", "3d"}, {"WR", "5k"}});
    for (const char* result : {"B+Resign", "b+3.5", "B+"}) {
        m_entry.m_props.Set("RE", result);
        EXPECT_EQ(Value("$Winner"), "Ann") << result;
        EXPECT_EQ(Value("$WinnerRank"), "3d") << result;
        EXPECT_EQ(Value("$Loser"), "Carl") << result;
        EXPECT_EQ(Value("$LoserRank"), "5k") << result;
    }
    for (const char* result : {"W+R", "0", "Draw", "?", "", "B", "B-", " B+", "Void"}) {
        m_entry.m_props.Set("RE", result);
        EXPECT_EQ(Value("$Winner"), "Carl") << result;
        EXPECT_EQ(Value("$WinnerRank"), "5k") << result;
        EXPECT_EQ(Value("$Loser"), "Ann") << result;
        EXPECT_EQ(Value("$LoserRank"), "3d") << result;
    }
}

TEST_F(DerivedValueTest, ResultValuesNeedTheResultAndTheChosenProperty)
{
    Props({{"PB", "Ann"}, {"PW", "Carl"}, {"BR", "3d"}});
    for (const char* signature : {"$Winner", "$WinnerRank", "$Loser", "$LoserRank"}) {
        EXPECT_EQ(Value(signature), std::nullopt) << signature;
    }
    m_entry.m_props.Set("RE", "W+2.5");
    EXPECT_EQ(Value("$WinnerRank"), std::nullopt);
    EXPECT_EQ(Value("$LoserRank"), "3d");
    EXPECT_EQ(Value("$WinnerRank:shown as"), std::nullopt);
    EXPECT_EQ(Value("$Winner:shown as"), "Carl");
}

