#include "report/KeyIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

// Keys that share a long folder part, as paths do, looked up, removed and
// added again in a random order against a map that holds copies.
TEST(KeyIndexTest, AgreesWithAMapThroughAddsRemovalsAndGrowth)
{
    std::vector<std::string> keys;
    for (int i = 0; i < 5000; ++i)
        keys.push_back("/home/player/games/archive/" + std::to_string(i % 97) + "/game-" + std::to_string(i) + ".sgf");
    CKeyIndex index([&keys](int position) { return std::string_view(keys[static_cast<std::size_t>(position)]); });
    std::unordered_map<std::string, int> expected;
    std::mt19937 random(7);
    for (int step = 0; step < 60000; ++step) {
        const int position = static_cast<int>(random() % keys.size());
        const std::string& key = keys[static_cast<std::size_t>(position)];
        if (random() % 3 == 0) {
            EXPECT_EQ(index.Erase(key), expected.erase(key) == 1) << step;
        } else {
            EXPECT_EQ(index.Insert(key, position), expected.emplace(key, position).second) << step;
        }
        ASSERT_EQ(index.size(), expected.size());
    }
    for (int position = 0; position < static_cast<int>(keys.size()); ++position) {
        const auto it = expected.find(keys[static_cast<std::size_t>(position)]);
        EXPECT_EQ(index.Find(keys[static_cast<std::size_t>(position)]), it == expected.end() ? -1 : it->second);
    }
    EXPECT_EQ(index.Find("/home/player/games/archive/none.sgf"), -1);
    index.Clear();
    EXPECT_EQ(index.Find(keys[0]), -1);
    EXPECT_TRUE(index.Insert(keys[0], 0));
    EXPECT_EQ(index.Find(keys[0]), 0);
}

// A key already there keeps its first position; the empty key is a key.
TEST(KeyIndexTest, ASecondPositionForAKeyIsRefused)
{
    const std::vector<std::string> keys = {"a", "", "a"};
    CKeyIndex index([&keys](int position) { return std::string_view(keys[static_cast<std::size_t>(position)]); });
    EXPECT_EQ(index.Find(""), -1);
    EXPECT_TRUE(index.Insert(keys[0], 0));
    EXPECT_TRUE(index.Insert(keys[1], 1));
    EXPECT_FALSE(index.Insert(keys[2], 2));
    EXPECT_EQ(index.Find("a"), 0);
    EXPECT_EQ(index.Find(""), 1);
    EXPECT_TRUE(index.Erase("a"));
    EXPECT_FALSE(index.Erase("a"));
    EXPECT_TRUE(index.Insert(keys[2], 2));
    EXPECT_EQ(index.Find("a"), 2);
}
