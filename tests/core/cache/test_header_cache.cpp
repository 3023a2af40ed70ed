#include "TestSupport.h"

#include "cache/HeaderCache.h"
#include "cache/RowChecksum.h"
#include "collection/CollectionFile.h"
#include "collection/DocHost.h"
#include "collection/VarnexDoc.h"
#include "reader/PropertyTable.h"
#include "util/Fnv1a.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Everything an open shows: the rows with their values and flags in
// enumeration order, the unread records, and the counts of the load.
struct SOpened
{
    std::vector<std::string> rows;
    std::vector<std::string> unread;
    long long added = 0;
    long long alreadyPresent = 0;
    long long unreadable = 0;
    CHeaderCache::SCounts counts;

    bool operator==(const SOpened& other) const
    {
        return rows == other.rows && unread == other.unread && added == other.added &&
               alreadyPresent == other.alreadyPresent && unreadable == other.unreadable;
    }
};

class HeaderCacheTest : public testing::Test
{
protected:
    // A margin of 0 trusts rows of files written just now; the changes below
    // give every changed file a new status explicitly.
    SOpened Open(bool withCache, std::int64_t racyMarginNs = 0)
    {
        CVarnexDoc doc;
        if (withCache) {
            SHeaderCacheOptions options;
            options.racyMarginNs = racyMarginNs;
            options.busyTimeoutMs = 100;
            doc.SetHeaderCache(CHeaderCache::Open(CacheFolder(), m_collection, options));
        }
        SAddSummary summary;
        std::string error;
        EXPECT_TRUE(LoadCollectionFile(doc, m_collection, &error, &summary)) << error;
        SOpened opened;
        doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
            std::string row = path + " flags " + std::to_string(entry.m_nFlags);
            for (const auto& [id, value] : entry.m_props.Items())
                row += " " + std::string(id) + "[" + std::string(value) + "]";
            opened.rows.push_back(row);
        });
        for (const CUnreadEntry& entry : doc.m_unread)
            opened.unread.push_back(entry.path + " " + std::to_string(entry.flags));
        opened.added = summary.added;
        opened.alreadyPresent = summary.alreadyPresent;
        opened.unreadable = summary.unreadable;
        if (doc.HeaderCache())
            opened.counts = doc.HeaderCache()->Counts();
        return opened;
    }

    std::string CacheFolder() const { return (m_dir.path() / "cache").string(); }
    std::string CacheFile() const { return CHeaderCache::FileFor(CacheFolder(), m_collection); }

    void SaveCollection(const std::vector<std::string>& paths)
    {
        CVarnexDoc doc;
        for (const std::string& path : paths)
            doc.m_mapFiles.Insert(path, std::make_unique<CGameEntry>(static_cast<std::uint32_t>(path.size() % 3)));
        ASSERT_TRUE(SaveCollectionFile(doc, m_collection));
    }

    std::string Game(const std::string& name, const std::string& players)
    {
        return m_dir.Write(name, "(;GM[1]PB[" + players + "]PW[White]RE[B+R];B[pd])");
    }

    static void SetTimes(const std::string& path, std::int64_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    static void Sql(const std::string& file, const std::string& statements)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    // The first column of the first row of query, read without writing.
    static long long Query(const std::string& file, const std::string& query)
    {
        sqlite3* db = nullptr;
        long long value = -1;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }

    CTempDir m_dir;
    std::string m_collection = (m_dir.path() / "games.vnx").string();
};

std::vector<std::string> CorpusGames(std::size_t most)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(CorpusDir(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (it->is_regular_file() && (ext == ".sgf" || ext == ".SGF" || ext == ".mgt"))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    if (files.size() > most)
        files.resize(most);
    return files;
}

} // namespace

// Rows written by an earlier run must still pass their checksum, or every
// row would be thrown away and read again: the hash never changes.
TEST(RowChecksum, StaysWhatEarlierRunsStored)
{
    EXPECT_EQ(Fnv1a(kFnv1aStart, ""), 0xcbf29ce484222325ull);
    EXPECT_EQ(Fnv1a(kFnv1aStart, "a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(Fnv1a(kFnv1aStart, "foobar"), 0x85944171f73967e8ull);
    EXPECT_EQ(Fnv1aLittleEndian(kFnv1aStart, 0x726162006f6f66ull, 3), Fnv1a(kFnv1aStart, "foo"));
    SFileStatus s;
    s.size = 1234;
    s.mtimeNs = 1700000000123456789;
    s.ctimeNs = 1700000001987654321;
    s.inode = 987654;
    s.device = 2049;
    EXPECT_EQ(RowChecksum("/games/a.sgf", s, 1700000002000000000, "PB\x01Lee"), 0xa76276edcdb20bd3ull);
}

TEST_F(HeaderCacheTest, AnOpenWithTheCacheShowsWhatAFullReadShowsAfterFilesChanged)
{
    VARNEX_REQUIRE_CORPUS();
    std::vector<std::string> paths = CorpusGames(1500);
    const std::string changed = Game("changed.sgf", "Aaaa");
    const std::string replaced = Game("replaced.sgf", "Bbbb");
    const std::string swapA = Game("swap-a.sgf", "Cccc");
    const std::string swapB = Game("swap-b.sgf", "Dddddd");
    const std::string touched = Game("touched.sgf", "Eeee");
    const std::string truncated = Game("truncated.sgf", "Ffff");
    const std::string deleted = Game("deleted.sgf", "Gggg");
    const std::string back = (m_dir.path() / "back.sgf").string(); // missing at first
    const std::string same = Game("same.sgf", "Hhhh");
    for (const std::string& path : {changed, replaced, swapA, swapB, touched, truncated, deleted, same})
        SetTimes(path, 1'000'000'000);
    paths.insert(paths.end(), {changed, replaced, swapA, swapB, touched, truncated, deleted, back, same});
    SaveCollection(paths);

    const SOpened first = Open(true);
    EXPECT_EQ(first.counts.hits, 0);
    EXPECT_EQ(first, Open(false));
    EXPECT_GE(first.rows.size(), 8u);

    // The same length and the old times would be taken for the old file.
    {
        std::fstream out(changed, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(10);
        out << "Zzzz";
    }
    SetTimes(changed, 1'000'000'005);
    const std::string fresh = Game("fresh.tmp", "Replacement");
    ASSERT_EQ(::rename(fresh.c_str(), replaced.c_str()), 0);
    const std::string parked = swapA + ".tmp";
    ASSERT_EQ(::rename(swapA.c_str(), parked.c_str()), 0);
    ASSERT_EQ(::rename(swapB.c_str(), swapA.c_str()), 0);
    ASSERT_EQ(::rename(parked.c_str(), swapB.c_str()), 0);
    SetTimes(touched, 1'000'000'100);
    ASSERT_EQ(::truncate(truncated.c_str(), 20), 0);
    ASSERT_EQ(::unlink(deleted.c_str()), 0);
    Game("back.sgf", "Returned");

    const SOpened cached = Open(true);
    const SOpened full = Open(false);
    EXPECT_EQ(cached, full);
    EXPECT_EQ(cached.rows, full.rows);
    EXPECT_EQ(cached.unread, full.unread);
    // Every corpus file and same.sgf came from the cache; the 7 changed
    // files (one gone, one back) were read again.
    EXPECT_EQ(cached.counts.hits, static_cast<long long>(first.added) - 7);
    EXPECT_NE(std::find_if(full.rows.begin(), full.rows.end(),
                           [](const std::string& row) { return row.find("PB[Zzzz]") != std::string::npos; }),
              full.rows.end());
    // A third open takes the files read again from the cache too.
    EXPECT_EQ(Open(true).counts.hits, cached.added);
}

// Rows are most often asked for in the order they were written; any other
// order, paths the cache never saw, and rows left behind by files no longer
// in the collection still find each row and only it.
TEST_F(HeaderCacheTest, RowsAreFoundInAnyOrderAmongPathsTheCacheNeverSaw)
{
    // More lookups than one read transaction takes, so the scan also goes on
    // across transactions.
    constexpr int kFiles = 2500;
    SHeaderCacheOptions options;
    options.racyMarginNs = 0;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i)
        paths.push_back("/games/folder-" + std::to_string(i % 7) + "/game-" + std::to_string(i) + ".sgf");
    auto statusOf = [](int i) { return SFileStatus{static_cast<std::uint64_t>(i), i * 1000, i * 1000, 7, 9}; };
    {
        const auto cache = CHeaderCache::Open(CacheFolder(), m_collection, options);
        ASSERT_TRUE(cache);
        for (int i = 0; i < kFiles; ++i) {
            CPropertyTable table;
            table.Set("PB", "Black " + std::to_string(i));
            table.Set("GN", std::string(i % 50, 'x'));
            cache->Record(paths[static_cast<std::size_t>(i)], statusOf(i), 1'000'000'000, table);
        }
    }
    std::vector<int> order;
    for (int i = 0; i < kFiles; ++i)
        order.push_back(i);
    std::vector<int> shuffled = order;
    std::reverse(shuffled.begin() + 800, shuffled.begin() + 1600);
    std::rotate(shuffled.begin(), shuffled.begin() + 2100, shuffled.end());
    for (const std::vector<int>& asked : {order, shuffled}) {
        const auto cache = CHeaderCache::Open(CacheFolder(), m_collection, options);
        ASSERT_TRUE(cache);
        long long expectedHits = 0;
        for (int i : asked) {
            CPropertyTable table;
            // A path the cache never saw, every tenth file dropped from the
            // collection, and every 45th changed since.
            EXPECT_FALSE(cache->Lookup("/games/new-" + std::to_string(i) + ".sgf", statusOf(i), table));
            if (i % 10 == 3)
                continue;
            SFileStatus status = statusOf(i);
            status.mtimeNs += i % 45 == 0 ? 1 : 0;
            const bool hit = cache->Lookup(paths[static_cast<std::size_t>(i)], status, table);
            EXPECT_EQ(hit, i % 45 != 0) << i;
            if (hit) {
                ++expectedHits;
                ASSERT_NE(table.Find("PB"), nullptr);
                EXPECT_EQ(*table.Find("PB"), "Black " + std::to_string(i));
                EXPECT_EQ(*table.Find("GN"), std::string(i % 50, 'x'));
            }
        }
        EXPECT_EQ(cache->Counts().hits, expectedHits);
    }
}

TEST_F(HeaderCacheTest, AFileWrittenJustBeforeItWasReadIsNotTakenFromTheCache)
{
    // Written now: a second write within the same tick of the file clock
    // could leave the status as it is, so the row is not trusted yet.
    const std::string path = Game("a.sgf", "Aaaa");
    SaveCollection({path});
    const std::int64_t margin = SHeaderCacheOptions{}.racyMarginNs;
    Open(true, margin);
    EXPECT_EQ(Open(true, margin).counts.hits, 0);
    // Without the margin the same row is taken.
    EXPECT_EQ(Open(true, 0).counts.hits, 1);
}

TEST_F(HeaderCacheTest, DamagedForeignOrLockedCachesAreIgnoredAndRebuilt)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 1500; ++i)
        paths.push_back(Game("g" + std::to_string(i) + ".sgf", "Player " + std::to_string(i * 7)));
    paths.push_back((m_dir.path() / "missing.sgf").string());
    SaveCollection(paths);
    const SOpened full = Open(false);
    ASSERT_EQ(full.added, 1500);
    Open(true);
    ASSERT_EQ(Open(true).counts.hits, 1500);

    // Bytes overwritten in the middle of the database file.
    const auto size = fs::file_size(CacheFile());
    ASSERT_GT(size, 60000u);
    {
        std::fstream out(CacheFile(), std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(static_cast<std::streamoff>(size / 2));
        out << std::string(8192, '\x5A');
    }
    EXPECT_EQ(Open(true), full);
    Open(true);
    EXPECT_EQ(Open(true).counts.hits, 1500);

    // A file that is no database at all.
    std::ofstream(CacheFile(), std::ios::binary | std::ios::trunc) << std::string(5000, 'x');
    EXPECT_EQ(Open(true), full);
    EXPECT_EQ(Open(true).counts.hits, 1500);

    // Another schema version.
    Sql(CacheFile(), "PRAGMA user_version=99");
    const SOpened otherSchema = Open(true);
    EXPECT_EQ(otherSchema, full);
    EXPECT_EQ(otherSchema.counts.hits, 0);
    EXPECT_EQ(Open(true).counts.hits, 1500);

    // The database of another collection under this one's name.
    Sql(CacheFile(), "UPDATE meta SET collection = x'2f6f74686572'");
    const SOpened otherCollection = Open(true);
    EXPECT_EQ(otherCollection, full);
    EXPECT_EQ(otherCollection.counts.hits, 0);

    // Held by another program: this open waits briefly, then reads the files.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(CacheFile().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM headers;", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(Open(true), full);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Open(true).counts.hits, 1500);
}

TEST_F(HeaderCacheTest, ARowWhosePropertiesWereChangedInTheDatabaseIsNotTrusted)
{
    SaveCollection({Game("a.sgf", "Aaaa"), Game("b.sgf", "Bbbb")});
    const SOpened full = Open(false);
    Open(true);
    ASSERT_EQ(Open(true).counts.hits, 2);
    // Well-formed values, only those of the other game.
    Sql(CacheFile(), "UPDATE headers SET props = (SELECT props FROM headers WHERE rowid = 2) WHERE rowid = 1");
    const SOpened opened = Open(true);
    EXPECT_EQ(opened, full);
    EXPECT_EQ(opened.counts.hits, 1);
}

TEST_F(HeaderCacheTest, AFileRewrittenInPlaceWithItsTimeSetBackIsReadAgain)
{
    const std::string path = Game("a.sgf", "Aaaa");
    SetTimes(path, 1'000'000'000);
    SaveCollection({path});
    Open(true);
    ASSERT_EQ(Open(true).counts.hits, 1);
    struct stat before
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    // Same inode, same size, the old modification time: only the change
    // time tells.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "(;GM[1]PB[Zzzz]PW[White]RE[B+R];B[pd])";
    SetTimes(path, 1'000'000'000);
    struct stat after
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);
    ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);

    const SOpened opened = Open(true);
    EXPECT_EQ(opened, Open(false));
    EXPECT_EQ(opened.counts.hits, 0);
    ASSERT_EQ(opened.rows.size(), 1u);
    EXPECT_NE(opened.rows[0].find("PB[Zzzz]"), std::string::npos) << opened.rows[0];
}

TEST_F(HeaderCacheTest, NoLinkIsFollowedAndNoOtherDatabaseIsChanged)
{
    SaveCollection({Game("a.sgf", "Aaaa"), Game("b.sgf", "Bbbb")});
    const SOpened full = Open(false);
    fs::create_directories(CacheFolder());
    const std::string empty = m_dir.Write("empty.txt", "");
    const std::string text = m_dir.Write("notes.txt", "precious notes");
    const std::string other = (m_dir.path() / "other.db").string();
    Sql(other, "CREATE TABLE t(x); INSERT INTO t VALUES(42);");
    const std::string otherBytes = ReadFileBytes(other);

    // A link at the cache's path, to an empty file, a text, a database.
    for (const std::string& target : {empty, text, other}) {
        SCOPED_TRACE(target);
        fs::create_symlink(target, CacheFile());
        EXPECT_EQ(Open(true), full);
        EXPECT_EQ(Open(true).counts.hits, 0);
        EXPECT_TRUE(fs::is_symlink(CacheFile()));
        fs::remove(CacheFile());
    }
    // (Compared whole, not printed: a database would fill the screen.)
    EXPECT_EQ(fs::file_size(empty), 0u);
    EXPECT_EQ(ReadFileBytes(text), "precious notes");
    EXPECT_TRUE(ReadFileBytes(other) == otherBytes);

    // A link where the database's log would go.
    fs::create_symlink(text, CacheFile() + "-wal");
    EXPECT_EQ(Open(true), full);
    EXPECT_EQ(ReadFileBytes(text), "precious notes");
    fs::remove(CacheFile() + "-wal");
    EXPECT_FALSE(fs::exists(CacheFile()));

    // Another program's database at the cache's path: read past, never
    // rebuilt, its tables as they were.
    fs::copy_file(other, CacheFile());
    EXPECT_EQ(Open(true), full);
    EXPECT_EQ(Open(true).counts.hits, 0);
    EXPECT_EQ(Query(CacheFile(), "SELECT x FROM t"), 42);
    EXPECT_EQ(Query(CacheFile(), "SELECT count(*) FROM sqlite_schema"), 1);
    EXPECT_EQ(Query(CacheFile(), "PRAGMA application_id"), 0);
    fs::remove(CacheFile());

    // An empty regular file of its own name becomes the cache, marked ours.
    m_dir.Write("cache/" + fs::path(CacheFile()).filename().string(), "");
    Open(true);
    EXPECT_EQ(Open(true).counts.hits, 2);
    EXPECT_EQ(Query(CacheFile(), "PRAGMA application_id"), CHeaderCache::kApplicationId);

    // A cache written before the mark existed is taken and marked.
    Sql(CacheFile(), "PRAGMA application_id=0");
    EXPECT_EQ(Open(true).counts.hits, 2);
    EXPECT_EQ(Query(CacheFile(), "PRAGMA application_id"), CHeaderCache::kApplicationId);
}

TEST_F(HeaderCacheTest, TwoProgramsOpeningOneCollectionAtOnceKeepTheCacheWhole)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 3000; ++i)
        paths.push_back(Game("g" + std::to_string(i) + ".sgf", "Player " + std::to_string(i)));
    SaveCollection(paths);
    const SOpened full = Open(false);

    // Each thread is one program: its own document and its own connection.
    std::vector<SOpened> opened(2);
    std::vector<std::thread> programs;
    for (SOpened& result : opened)
        programs.emplace_back([&] { result = Open(true); });
    for (std::thread& program : programs)
        program.join();
    EXPECT_EQ(opened[0], full);
    EXPECT_EQ(opened[1], full);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(CacheFile().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);
    EXPECT_EQ(Open(true).counts.hits, 3000);
}
