#include "reader/PropertyTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ItemsOf(const CPropertyTable& table)
{
    Pairs items;
    for (const CPropertyTable::Item item : table.Items())
        items.emplace_back(item.first, item.second);
    return items;
}

TEST(PropertyTable, FindsEachIdentifierExactlyAndNothingElse)
{
    CPropertyTable table;
    EXPECT_EQ(table.Find("PB"), nullptr);
    table.Set("PB", "Black");
    table.Set("PW", "White");
    table.Set("P", "one letter");
    ASSERT_NE(table.Find("PB"), nullptr);
    EXPECT_EQ(*table.Find("PB"), "Black");
    EXPECT_EQ(*table.Find("P"), "one letter");
    EXPECT_EQ(table.Find("pb"), nullptr);
    EXPECT_EQ(table.Find("PBX"), nullptr);
    EXPECT_EQ(table.Find(""), nullptr);
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.Items(), (Pairs{{"PB", "Black"}, {"PW", "White"}, {"P", "one letter"}}));
}

TEST(PropertyTable, ReplacingAValueKeepsItsPlaceWhateverItsNewLength)
{
    CPropertyTable table;
    table.Set("AA", "1");
    table.Set("BB", "2");
    table.Set("CC", "3");
    table.Set("BB", std::string(300, 'x')); // its length now takes two bytes
    table.Set("AA", "9");
    table.Set("CC", "");
    EXPECT_EQ(table.Items(), (Pairs{{"AA", "9"}, {"BB", std::string(300, 'x')}, {"CC", ""}}));
    table.Set("BB", "short");
    EXPECT_EQ(table.Items(), (Pairs{{"AA", "9"}, {"BB", "short"}, {"CC", ""}}));
    EXPECT_EQ(table.size(), 3u);
    // A value taken from the table itself, which the write may move.
    table.Set("DD", *table.Find("BB"));
    table.Set("AA", *table.Find("BB"));
    table.Set("BB", (*table.Find("BB")).substr(1));
    EXPECT_EQ(table.Items(), (Pairs{{"AA", "short"}, {"BB", "hort"}, {"CC", ""}, {"DD", "short"}}));
}

TEST(PropertyTable, KeepsEmptyValuesLaterValuesAndBinaryBytes)
{
    CPropertyTable table;
    // A property's later values stand under an empty identifier.
    table.Set("AB", "aa");
    table.Set("", "bb");
    table.Set("GN", "");
    const std::string binary("a\0b\x80\xff\0", 6);
    table.Set("GC", binary);
    ASSERT_NE(table.Find(""), nullptr);
    EXPECT_EQ(*table.Find(""), "bb");
    ASSERT_NE(table.Find("GN"), nullptr); // present and empty is not absent
    EXPECT_TRUE(table.Find("GN")->empty());
    EXPECT_EQ(*table.Find("GC"), binary);
    EXPECT_EQ(table.Items(), (Pairs{{"AB", "aa"}, {"", "bb"}, {"GN", ""}, {"GC", binary}}));
}

TEST(PropertyTable, HoldsManyPropertiesOfEveryLength)
{
    CPropertyTable table;
    Pairs expected;
    for (int i = 0; i < 400; ++i) {
        std::string id = "X" + std::to_string(i);
        std::string value(static_cast<std::size_t>(i * 41 % 20000), static_cast<char>(i));
        table.Set(id, value);
        expected.emplace_back(std::move(id), std::move(value));
    }
    EXPECT_EQ(table.size(), 400u);
    for (const auto& [id, value] : expected) {
        ASSERT_NE(table.Find(id), nullptr) << id;
        EXPECT_EQ(*table.Find(id), value) << id;
    }
    EXPECT_EQ(ItemsOf(table), expected);

    CPropertyTable copy(table);
    CPropertyTable moved(std::move(table));
    EXPECT_EQ(copy.Items(), expected);
    EXPECT_EQ(moved.Items(), expected);
    EXPECT_TRUE(table.empty());
    copy = CPropertyTable();
    EXPECT_TRUE(copy.Items().empty());
}

TEST(PropertyTable, TakesItsPackedBytesBackAndRefusesOthers)
{
    CPropertyTable table;
    table.Set("PB", std::string(200, 'b'));
    table.Set("", std::string("\0", 1));
    table.Set("RE", "");
    const std::string packed(table.Packed());
    // Identifier length, identifier, value length (two bytes for 200), value.
    EXPECT_EQ(packed.substr(0, 5), std::string("\x02PB\xc8\x01", 5));

    CPropertyTable back;
    ASSERT_TRUE(back.AssignPacked(packed));
    EXPECT_EQ(back.Items(), table.Items());
    EXPECT_EQ(back.size(), 3u);
    EXPECT_EQ(*back.Find("RE"), "");

    CPropertyTable kept;
    kept.Set("GN", "kept");
    for (const std::string& bad :
         {packed.substr(0, packed.size() - 1), std::string("\x02PB\x01", 4), std::string("\x02PB\x00\x02PB\x00", 8),
          std::string("\x01", 1), std::string("\x80\x80\x80\x80\x80\x01", 6)}) {
        EXPECT_FALSE(kept.AssignPacked(bad)) << bad;
        EXPECT_EQ(kept.Items(), (Pairs{{"GN", "kept"}}));
    }
    EXPECT_TRUE(kept.AssignPacked(""));
    EXPECT_TRUE(kept.empty());
}

} // namespace
