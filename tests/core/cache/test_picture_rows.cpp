#include "TestSupport.h"

#include "cache/HeaderCache.h"
#include "files/FileStatus.h"
#include "reader/PropertyTable.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>

namespace {

class PictureRowsTest : public testing::Test
{
protected:
    std::shared_ptr<CHeaderCache> Open() const
    {
        SHeaderCacheOptions options;
        options.racyMarginNs = 0;
        return CHeaderCache::Open((m_dir.path() / "cache").string(), m_collection, options);
    }
    std::string CacheFile() const { return CHeaderCache::FileFor((m_dir.path() / "cache").string(), m_collection); }

    static void Sql(const std::string& file, const std::string& statements)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    // Stores picture for game at openAt of m_game, read now.
    void Store(std::uint32_t game, std::int32_t openAt, const std::string& picture)
    {
        SFileStatus status;
        ASSERT_TRUE(StatGameFile(m_game, status));
        auto cache = Open();
        ASSERT_TRUE(cache);
        cache->RecordPicture(m_game, game, openAt, status, WallClockNs() + 1, picture);
    }
    // The picture found for game at openAt with the file's status now.
    std::string Found(std::uint32_t game, std::int32_t openAt) const
    {
        SFileStatus status;
        EXPECT_TRUE(StatGameFile(m_game, status));
        auto cache = Open();
        std::string picture = "none";
        if (cache)
            cache->LookupPicture(m_game, game, openAt, status, picture);
        return picture;
    }

    CTempDir m_dir;
    std::string m_collection = (m_dir.path() / "games.vnx").string();
    std::string m_game = m_dir.Write("problems.sgf", "(;SZ[9]AB[cc])(;SZ[9]AW[dd])");
};

} // namespace

TEST_F(PictureRowsTest, APictureIsFoundByItsFileGameAndPositionAfterAReopen)
{
    Store(0, -1, "first game at the end");
    Store(1, -1, "second game at the end");
    Store(1, 0, "second game at the start");
    EXPECT_EQ(Found(0, -1), "first game at the end");
    EXPECT_EQ(Found(1, -1), "second game at the end");
    EXPECT_EQ(Found(1, 0), "second game at the start");
    EXPECT_EQ(Found(0, 0), "none");
    EXPECT_EQ(Found(2, -1), "none");
    Store(0, -1, "made again");
    EXPECT_EQ(Found(0, -1), "made again") << "a row is replaced, not doubled";
}

TEST_F(PictureRowsTest, AChangedFileOrADamagedRowIsNotTrusted)
{
    Store(0, -1, "before");
    m_dir.Write("problems.sgf", "(;SZ[9]AB[cc]AW[ee])");
    EXPECT_EQ(Found(0, -1), "none") << "the file changed since its picture was made";

    Store(0, -1, "picture");
    Store(1, -1, "other");
    Sql(CacheFile(), "UPDATE pictures SET picture = x'706963747572f5' WHERE game = 0");
    EXPECT_EQ(Found(0, -1), "none") << "bytes changed inside the row";
    Sql(CacheFile(), "UPDATE pictures SET open_at = 5 WHERE game = 1");
    EXPECT_EQ(Found(1, 5), "none") << "a row moved to another position";
    EXPECT_EQ(Found(1, -1), "none");
}

TEST_F(PictureRowsTest, ACacheWrittenBeforePicturesWereKeptKeepsItsHeaderRows)
{
    SFileStatus status;
    ASSERT_TRUE(StatGameFile(m_game, status));
    CPropertyTable table;
    table.Set("PB", "Lee");
    {
        auto cache = Open();
        ASSERT_TRUE(cache);
        cache->Record(m_game, status, WallClockNs() + 1, table);
    }
    Sql(CacheFile(), "DROP TABLE pictures");
    Store(0, -1, "picture");
    EXPECT_EQ(Found(0, -1), "picture");
    auto cache = Open();
    CPropertyTable found;
    ASSERT_TRUE(cache->Lookup(m_game, status, found));
    EXPECT_EQ(found.Packed(), table.Packed());
}
