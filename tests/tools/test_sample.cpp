#include "sample/SampleCollection.h"
#include "sample/SampleGames.h"

#include "collection/CollectionFile.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "reader/GameReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace {

struct CReadSample
{
    std::string name;
    bool binary = false;
    CPropertyTable props;
};

// Writes the sample collection once for the suite and reads every game back
// through the program's own reader.
class SampleCollectionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<CTempDir>();
        std::string error;
        s_written = WriteSampleCollection(s_dir->path(), s_counts, error);
        s_error = error;
        for (const CSampleGame& game : SampleGames()) {
            CReadSample read;
            read.name = game.name;
            read.binary = !game.bytes.empty() && game.bytes[0] == '\x06';
            if (!ReadGameFile((s_dir->path() / "games" / game.name).string(), read.props))
                s_unreadable.push_back(game.name);
            s_read.push_back(std::move(read));
        }
    }
    static void TearDownTestSuite()
    {
        s_read.clear();
        s_dir.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_written) << s_error;
        ASSERT_TRUE(s_unreadable.empty()) << s_unreadable.front();
    }

    static std::set<std::string> ValuesOf(std::string_view id)
    {
        std::set<std::string> values;
        for (const CReadSample& game : s_read)
            if (const CPropertyValue value = game.props.Find(id))
                values.emplace(*value);
        return values;
    }

    static inline std::unique_ptr<CTempDir> s_dir;
    static inline bool s_written = false;
    static inline std::string s_error;
    static inline CSampleCounts s_counts;
    static inline std::vector<CReadSample> s_read;
    static inline std::vector<std::string> s_unreadable;
};

TEST_F(SampleCollectionTest, TheCollectionListsEveryGameWithItsViewedMark)
{
    EXPECT_GE(s_counts.games, 190);
    EXPECT_LE(s_counts.games, 210);
    EXPECT_GT(s_counts.viewed, 0);
    EXPECT_LT(s_counts.viewed, s_counts.games / 4);

    CVarnexDoc doc;
    std::string error;
    ASSERT_TRUE(LoadCollectionFile(doc, (s_dir->path() / "sample.vnx").string(), &error)) << error;
    EXPECT_EQ(static_cast<int>(doc.m_mapFiles.size()), s_counts.games);
    int viewed = 0;
    bool absolute = true;
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        viewed += (entry.m_nFlags & ENTRY_VIEWED) ? 1 : 0;
        absolute = absolute && fs::path(path).is_absolute();
    });
    EXPECT_EQ(viewed, s_counts.viewed);
    EXPECT_TRUE(absolute);
}

TEST_F(SampleCollectionTest, RecordsComeInEachCharsetWithTheMatchingCa)
{
    std::map<std::string, std::string> charsetOfFolder;
    int withoutCa = 0;
    for (const CReadSample& game : s_read) {
        const std::string folder = game.name.substr(0, game.name.find('/'));
        if (const CPropertyValue ca = game.props.Find("CA"))
            charsetOfFolder[folder] = *ca;
        else
            ++withoutCa;
    }
    EXPECT_EQ(charsetOfFolder["china"], "GB2312");
    EXPECT_EQ(charsetOfFolder["japan"], "Shift_JIS");
    EXPECT_EQ(charsetOfFolder["korea"], "EUC-KR");
    EXPECT_EQ(charsetOfFolder["world"], "UTF-8");
    EXPECT_GE(withoutCa, 3);

    // Real names in their own bytes: 古力 in GB2312, 井山裕太 in Shift_JIS,
    // 이세돌 in EUC-KR, 5段 in UTF-8.
    const std::set<std::string> players = ValuesOf("PB");
    const std::set<std::string> whites = ValuesOf("PW");
    auto played = [&](const std::string& name) { return players.count(name) + whites.count(name) > 0; };
    EXPECT_TRUE(played("\xb9\xc5\xc1\xa6"));
    EXPECT_TRUE(played("\x88\xe4\x8e\x52\x97\x54\x91\xbe"));
    EXPECT_TRUE(played("\xc0\xcc\xbc\xbc\xb5\xb9"));
    const std::set<std::string> ranks = ValuesOf("BR");
    EXPECT_TRUE(ranks.count("\x35\xe6\xae\xb5") || ValuesOf("WR").count("\x35\xe6\xae\xb5"));
}

TEST_F(SampleCollectionTest, AShiftJisTrailByteThatIsABackslashReadsBackUnchanged)
{
    // 十段戦: its second byte is 0x5C, which the record must escape.
    EXPECT_EQ(ValuesOf("EV").count("\x8f\x5c\x92\x69\x90\xed"), 1u);
}

TEST_F(SampleCollectionTest, ResultsRanksAndGameNamesCoverTheUsualForms)
{
    const std::set<std::string> results = ValuesOf("RE");
    for (const char* result : {"B+R", "W+3.5", "0", "Void", ""})
        EXPECT_EQ(results.count(result), 1u) << result;
    EXPECT_TRUE(std::any_of(s_read.begin(), s_read.end(), [](const CReadSample& g) { return !g.props.Find("RE"); }));

    std::set<std::string> ranks = ValuesOf("BR");
    ranks.merge(ValuesOf("WR"));
    for (const char* rank : {"9p", "3d", "15k"})
        EXPECT_EQ(ranks.count(rank), 1u) << rank;

    const auto named =
        std::count_if(s_read.begin(), s_read.end(), [](const CReadSample& g) { return g.props.Find("GN"); });
    EXPECT_GT(named, 0);
    EXPECT_LT(named, static_cast<long>(s_read.size()));
}

TEST_F(SampleCollectionTest, TheBinaryRecordsReadWithTheirGameInformation)
{
    std::vector<const CReadSample*> binary;
    for (const CReadSample& game : s_read)
        if (game.binary)
            binary.push_back(&game);
    ASSERT_EQ(binary.size(), 2u);
    const CPropertyTable& first = binary[0]->props;
    ASSERT_TRUE(first.Find("PB") && first.Find("PW") && first.Find("DT") && first.Find("RE") && first.Find("GN"));
    EXPECT_EQ(*first.Find("PB"), "Kuwahara Shusaku");
    EXPECT_EQ(*first.Find("DT"), "1846-09-11");
    EXPECT_EQ(*first.Find("RE"), "B+2");
    // The comment stands after the moves and the label, so it is only right
    // when every payload before it had its proper size.
    ASSERT_TRUE(first.Find("C"));
    EXPECT_EQ(*first.Find("C"), "Annotated from the old records.");
}

TEST(SampleCollectionRewrite, ReplacesEarlierGamesButNothingBesideThem)
{
    CTempDir dir;
    CSampleCounts counts;
    std::string error;
    ASSERT_TRUE(WriteSampleCollection(dir.path(), counts, error)) << error;
    const std::string stale = dir.Write("games/stale.sgf", "(;GN[old];B[aa])");
    const std::string mine = dir.Write("notes.txt", "keep");
    ASSERT_TRUE(WriteSampleCollection(dir.path(), counts, error)) << error;
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(mine));
}

} // namespace
