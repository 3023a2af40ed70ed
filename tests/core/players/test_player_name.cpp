#include "players/PlayerName.h"

#include <gtest/gtest.h>

#include <vector>

// Every spelling archives give one player keys alike, in each script.
TEST(PlayerName, RankWordsAndMarksAtTheEndComeOff)
{
    const std::string chang = PlayerKey("Chang Hao");
    EXPECT_EQ(chang, "changhao");
    for (const char* spelling :
         {"Chang Hao 9p", "chang hao 9d", "Chang Hao 9 dan", "Chang Hao P9", "Chang Hao [4k]", "Chang Hao 4k",
          "Chang Hao (9p)", "Chang Hao 1-kyu", "Chang Hao pro", "  Chang  Hao\t9P  ", "CHANG HAO ama 3d",
          "\xEF\xBC\xA3hang \xEF\xBC\xA8\xEF\xBD\x81o \xEF\xBC\x99\xEF\xBD\x90"}) // Ｃhang Ｈａo ９ｐ
        EXPECT_EQ(PlayerKey(spelling), chang) << spelling;

    const std::string changHan = PlayerKey("\xE5\xB8\xB8\xE6\x98\x8A"); // 常昊
    for (const char* spelling :
         {"\xE5\xB8\xB8\xE6\x98\x8A \xE4\xB9\x9D\xE6\xAE\xB5",                         // 常昊 九段
          "\xE5\xB8\xB8\xE6\x98\x8A\xE4\xB9\x9D\xE6\xAE\xB5",                          // 常昊九段
          "\xE5\xB8\xB8\xE6\x98\x8A(9\xE6\xAE\xB5)",                                   // 常昊(9段)
          "\xE5\xB8\xB8\xE6\x98\x8A\xE3\x80\x80\xEF\xBC\x99\xE6\xAE\xB5",              // 常昊　９段
          "\xE5\xB8\xB8\xE6\x98\x8A \xE8\x81\x8C\xE4\xB8\x9A\xE4\xB9\x9D\xE6\xAE\xB5", // 常昊 职业九段
          "\xE5\xB8\xB8\xE6\x98\x8A 9p"})
        EXPECT_EQ(PlayerKey(spelling), changHan) << spelling;

    // 이세돌 8단, 이세돌9단 (Korean); 趙治勲 名人, 趙治勲本因坊, 趙治勲 1段 アマ (Japanese).
    EXPECT_EQ(PlayerKey("\xEC\x9D\xB4\xEC\x84\xB8\xEB\x8F\x8C 8\xEB\x8B\xA8"), "\xEC\x9D\xB4\xEC\x84\xB8\xEB\x8F\x8C");
    EXPECT_EQ(PlayerKey("\xEC\x9D\xB4\xEC\x84\xB8\xEB\x8F\x8C"
                        "9\xEB\x8B\xA8"),
              "\xEC\x9D\xB4\xEC\x84\xB8\xEB\x8F\x8C");
    const std::string cho = "\xE8\xB6\x99\xE6\xB2\xBB\xE5\x8B\xB2";
    EXPECT_EQ(PlayerKey(cho + " \xE5\x90\x8D\xE4\xBA\xBA"), cho);
    EXPECT_EQ(PlayerKey(cho + "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A"), cho);
    EXPECT_EQ(PlayerKey(cho + " 1\xE6\xAE\xB5 \xE3\x82\xA2\xE3\x83\x9E"), cho);
    EXPECT_EQ(PlayerKey(cho + " \xE3\x82\xA2\xE3\x83\x9E\xE4\xBA\x94\xE6\xAE\xB5"), cho); // アマ五段
    // Latin titles after the name, and the Honinbo house before it.
    EXPECT_EQ(PlayerKey("Cho Chikun Meijin"), "chochikun");
    EXPECT_EQ(PlayerKey("Honinbo Shusai"), "shusai");
    EXPECT_EQ(PlayerKey("\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A\xE7\xA7\x80\xE7\xAD\x96"),
              "\xE7\xA7\x80\xE7\xAD\x96"); // 本因坊秀策
}

// Conservative: only listed words at the end come off, only as words.
TEST(PlayerName, NamesThatMerelyLookLikeRanksStayApart)
{
    EXPECT_EQ(PlayerKey("Ahmed"), "ahmed");
    EXPECT_EQ(PlayerKey("R2D2"), "r2d2");
    EXPECT_EQ(PlayerKey("Go9p"), "go9p");
    EXPECT_EQ(PlayerKey("Lee Sedol (Korea)"), "leesedol(korea)");
    EXPECT_NE(PlayerKey("Lee Sedol"), PlayerKey("Lee Sedo"));
    EXPECT_NE(PlayerKey("Cho Chikun"), PlayerKey("Cho Chihun"));
    // 王天元 is a name; 김명인 too; the Korean title comes off only after a blank.
    EXPECT_EQ(PlayerKey("\xE7\x8E\x8B\xE5\xA4\xA9\xE5\x85\x83"), "\xE7\x8E\x8B\xE5\xA4\xA9\xE5\x85\x83");
    EXPECT_EQ(PlayerKey("\xEA\xB9\x80\xEB\xAA\x85\xEC\x9D\xB8"), "\xEA\xB9\x80\xEB\xAA\x85\xEC\x9D\xB8");
    EXPECT_EQ(PlayerKey("\xEA\xB9\x80 \xEB\xAA\x85\xEC\x9D\xB8"), "\xEA\xB9\x80");
    // A name that is nothing but rank words stays a name.
    EXPECT_EQ(PlayerKey("9p"), "9p");
    EXPECT_EQ(PlayerKey("Honinbo"), "honinbo");
    EXPECT_EQ(PlayerKey(" "), "");
}

TEST(PlayerName, ShownNameIsTheMostFrequentSpellingWithoutRank)
{
    EXPECT_EQ(NameWithoutRank("  Chang Hao 9p "), "Chang Hao");
    const std::vector<SNameSpelling> spellings = {
        {"Chang Hao", 2}, {"\xE5\xB8\xB8\xE6\x98\x8A 9p", 2}, {"\xE5\xB8\xB8\xE6\x98\x8A \xE4\xB9\x9D\xE6\xAE\xB5", 1}};
    // 常昊 9p and 常昊 九段 count together: three games against two.
    EXPECT_EQ(ShownPlayerName(spellings), "\xE5\xB8\xB8\xE6\x98\x8A");
    // Equally frequent: the first seen.
    EXPECT_EQ(ShownPlayerName(std::vector<SNameSpelling>{{"B 3d", 1}, {"A", 1}}), "B");
    EXPECT_EQ(ShownPlayerName({}), "");
}
