#include "collection/DerivedValues.h"
#include "collection/GameEntry.h"
#include "collection/ShownText.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace {
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

TEST_F(DerivedValueTest, MyNamesAlsoMatchThePlayersAsShown)
{
    // Shows the bytes of the GB2312 name 古力 as UTF-8, and counts what it is asked.
    struct CShown : IShownText
    {
        std::string ShownUtf8(const CGameEntry&, std::string_view text) override
        {
            asked.emplace_back(text);
            return text == "\xB9\xC5\xC1\xA6" ? "\xE5\x8F\xA4\xE5\x8A\x9B" : std::string(text);
        }
        std::vector<std::string> asked;
    } shown;
    Props({{"CA", "gb2312"}, {"PB", "\xB9\xC5\xC1\xA6"}, {"PW", "Bob"}, {"WR", "9d"}});
    MyNames("\xE5\x8F\xA4\xE5\x8A\x9B");
    EXPECT_EQ(Value("$Opponent"), std::nullopt) << "the bytes alone differ";
    std::string value;
    ASSERT_TRUE(m_entry.GetValue("$Opponent", value, m_store, &shown));
    EXPECT_EQ(value, "Bob");
    ASSERT_TRUE(m_entry.GetValue("$OpponentRank", value, m_store, &shown));
    EXPECT_EQ(value, "9d");
    EXPECT_EQ(shown.asked, (std::vector<std::string>{"\xB9\xC5\xC1\xA6", "\xB9\xC5\xC1\xA6"}))
        << "ASCII names are never decoded";
    // Stored bytes that equal the name still match.
    MyNames("\xB9\xC5\xC1\xA6");
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

TEST_F(DerivedValueTest, TheResultNamesTheWinnerAndDrawsOrVoidGamesHaveNone)
{
    Props({{"PB", "Ann"}, {"PW", "Carl"}, {"BR", "3d"}, {"WR", "5k"}});
    for (const char* result : {"B+Resign", "b+3.5", "B+"}) {
        m_entry.m_props.Set("RE", result);
        EXPECT_EQ(Value("$Winner"), "Ann") << result;
        EXPECT_EQ(Value("$WinnerRank"), "3d") << result;
        EXPECT_EQ(Value("$Loser"), "Carl") << result;
        EXPECT_EQ(Value("$LoserRank"), "5k") << result;
    }
    for (const char* result : {"W+R", "w+0.5", "W+"}) {
        m_entry.m_props.Set("RE", result);
        EXPECT_EQ(Value("$Winner"), "Carl") << result;
        EXPECT_EQ(Value("$LoserRank"), "3d") << result;
    }
    for (const char* result : {"0", "Draw", "Jigo", "?", "", "B", "B-", " B+", "Void"}) {
        m_entry.m_props.Set("RE", result);
        for (const char* signature : {"$Winner", "$WinnerRank", "$Loser", "$LoserRank"})
            EXPECT_EQ(Value(signature), std::nullopt) << result << " " << signature;
    }
}

TEST_F(DerivedValueTest, ResultsInChineseJapaneseAndKoreanNameTheWinnerInTheirOwnCharset)
{
    struct SCase
    {
        const char* ca;
        const char* result;
        const char* winner; // nullptr: none
    };
    const SCase cases[] = {
        // UTF-8: 黑中盘胜, 黑胜3目, 黒中押し勝, 흑 불계승, 白中盘胜, 백 5집반 승, 白负黑胜
        {nullptr, "\xE9\xBB\x91\xE4\xB8\xAD\xE7\x9B\x98\xE8\x83\x9C", "Ann"},
        {nullptr,
         "\xE9\xBB\x91\xE8\x83\x9C"
         "3\xE7\x9B\xAE",
         "Ann"},
        {"UTF-8", "\xE9\xBB\x92\xE4\xB8\xAD\xE6\x8A\xBC\xE3\x81\x97\xE5\x8B\x9D", "Ann"},
        {nullptr, "\xED\x9D\x91 \xEB\xB6\x88\xEA\xB3\x84\xEC\x8A\xB9", "Ann"},
        {nullptr, "\xE7\x99\xBD\xE4\xB8\xAD\xE7\x9B\x98\xE8\x83\x9C", "Carl"},
        {nullptr, "\xEB\xB0\xB1 5\xEC\xA7\x91\xEB\xB0\x98 \xEC\x8A\xB9", "Carl"},
        {nullptr, "\xE7\x99\xBD\xE8\xB4\x9F\xE9\xBB\x91\xE8\x83\x9C", "Ann"},
        // GB2312 黑中盘胜 and 白胜, declared and not.
        {"GB2312", "\xBA\xDA\xD6\xD0\xC5\xCC\xCA\xA4", "Ann"},
        {nullptr, "\xBA\xDA\xD6\xD0\xC5\xCC\xCA\xA4", "Ann"},
        {"gbk", "\xB0\xD7\xCA\xA4", "Carl"},
        // Shift_JIS 黒中押し勝 and 白の勝ち.
        {"Shift_JIS", "\x8D\x95\x92\x86\x89\x9F\x82\xB5\x8F\x9F", "Ann"},
        {nullptr, "\x94\x92\x82\xCC\x8F\x9F\x82\xBF", "Carl"},
        // EUC-KR 흑 불계승 and 백 승.
        {"EUC-KR", "\xC8\xE6 \xBA\xD2\xB0\xE8\xBD\xC2", "Ann"},
        {nullptr, "\xB9\xE9 \xBD\xC2", "Carl"},
        // No winner: 和棋 (draw), 무승부 (draw), 黑负 (Black lost, no win word), 持碁.
        {nullptr, "\xE5\x92\x8C\xE6\xA3\x8B", nullptr},
        {nullptr, "\xEB\xAC\xB4\xEC\x8A\xB9\xEB\xB6\x80", nullptr},
        {"EUC-KR", "\xC8\xE6\xB9\xE9 \xB9\xAB\xBD\xC2\xBA\xCE", nullptr},
        {nullptr, "\xE9\xBB\x91\xE8\xB4\x9F", nullptr},
        {"Shift_JIS", "\x8E\x9D\x8C\xE9", nullptr},
        // A trail byte is never the start of a character: in Shift_JIS 0x95 0x8F is
        // the second half of one character and the first of the next, not 勝 0x8F 0x9F.
        {"Shift_JIS", "\x89\x8D\x95\x8F\x9F\x40", nullptr},
    };
    for (const SCase& c : cases) {
        m_entry = CGameEntry();
        Props({{"PB", "Ann"}, {"PW", "Carl"}, {"RE", c.result}});
        if (c.ca)
            m_entry.m_props.Set("CA", c.ca);
        EXPECT_EQ(Value("$Winner"), c.winner ? std::optional<std::string>(c.winner) : std::nullopt) << c.result;
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
