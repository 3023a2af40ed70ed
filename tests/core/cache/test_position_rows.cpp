#include "TestSupport.h"

#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/CollectionPositionRows.h"
#include "collection/VarnexDoc.h"
#include "reader/GameReader.h"
#include "reader/GameRecord.h"
#include "reader/GameRecordReader.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// A row that shows what it was made from: the problem, the size, every
// move as two bytes, and the black player, so a row of other contents or
// another file differs.
std::string TestRow(const SGameRecord& record)
{
    std::string row = "p" + std::to_string(static_cast<int>(record.problem)) + "s" + std::to_string(record.width);
    for (const SGameMove& move : record.moves)
        row += move.kind == SGameMove::EKind::Play
                   ? std::string{static_cast<char>('a' + move.x), static_cast<char>('a' + move.y)}
                   : std::string("--");
    const CPropertyValue black = record.root.Find("PB");
    row += "|" + std::string(black ? *black : "");
    return row;
}

class PositionRowsTest : public testing::Test
{
protected:
    // Opens the collection with the cache and the test's builder, and gives
    // every position row of it by path, with how many came from the cache.
    std::map<std::string, std::string> Rows(SPositionRowsSummary* summary = nullptr, bool build = true)
    {
        CVarnexDoc doc;
        SHeaderCacheOptions options;
        options.racyMarginNs = 0;
        doc.SetHeaderCache(CHeaderCache::Open(CacheFolder(), m_collection, options));
        if (build)
            doc.SetPositionRowBuilder([this](const SGameRecord& record) {
                ++m_built;
                return TestRow(record);
            });
        std::string error;
        EXPECT_TRUE(LoadCollectionFile(doc, m_collection, &error)) << error;
        m_headerHits = doc.HeaderCache()->Counts().hits;
        m_games.clear();
        doc.m_mapFiles.ForEach([this](const std::string& path, const CGameEntry& entry) {
            for (std::size_t game = 0; game < entry.GameCount(); ++game) {
                const CPropertyValue black = entry.Game(game).m_props.Find("PB");
                m_games[path] += (game ? "," : "") + std::string(black ? *black : "");
            }
        });
        std::map<std::string, std::string> rows;
        const SPositionRowsSummary counted =
            ForEachCollectionPositionRow(doc, [&](const std::string& path, const std::vector<std::string_view>& games) {
                // A row refused is given again, made from its file. The
                // games of a file of several are joined by " / ".
                std::string joined;
                for (std::size_t i = 0; i < games.size(); ++i)
                    joined += (i ? " / " : "") + std::string(games[i]);
                rows[path] = joined;
                return !(m_refuse && joined.substr(0, m_refuse->size()) == *m_refuse);
            });
        if (summary)
            *summary = counted;
        return rows;
    }

    void SaveCollection(const std::vector<std::string>& paths)
    {
        CVarnexDoc doc;
        for (const std::string& path : paths)
            doc.m_mapFiles.Insert(path, std::make_unique<CGameEntry>());
        ASSERT_TRUE(SaveCollectionFile(doc, m_collection));
    }

    static std::string Expected(const std::string& path) { return TestRow(ReadGameRecordFile(path)); }

    std::string CacheFolder() const { return (m_dir.path() / "cache").string(); }
    std::string CacheFile() const { return CHeaderCache::FileFor(CacheFolder(), m_collection); }

    static void Sql(const std::string& file, const std::string& statements)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statements.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    static void SetTimes(const std::string& path, std::int64_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    CTempDir m_dir;
    std::string m_collection = (m_dir.path() / "games.vnx").string();
    // Rows starting so are refused, as a loader refuses rows it cannot read.
    std::optional<std::string> m_refuse;
    // Counted on the thread that makes the rows.
    std::atomic<int> m_built = 0;
    long long m_headerHits = 0;
    // The black players of each file's games as the last open read them.
    std::map<std::string, std::string> m_games;
};

} // namespace

TEST_F(PositionRowsTest, RowsMadeWhileFilesAreReadAreFoundAgainWithoutReadingAnyFile)
{
    const std::string a = m_dir.Write("a.sgf", "(;GM[1]SZ[19]PB[Aa];B[pd];W[dp];B[]C[x](;W[qq])(;W[cc]))");
    const std::string b = m_dir.Write("b.sgf", "(PB[Bare]SZ[9];B[ee];W[cc])");
    const std::string cut = m_dir.Write("cut.sgf", "(;PB[Cut];B[aa];W[bb");
    const std::string junk = m_dir.Write("junk.sgf", "no game here");
    SaveCollection({a, b, cut, junk});

    SPositionRowsSummary first;
    const auto rows = Rows(&first);
    // Every readable file got its row while the collection was read.
    EXPECT_EQ(m_built, 3);
    EXPECT_EQ(first.fromCache, 3u);
    EXPECT_EQ(first.built, 0u);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.at(a), "p0s19pddp--qq|Aa");
    EXPECT_EQ(rows.at(b), "p0s9eecc|Bare");
    EXPECT_EQ(rows.at(cut), "p5s19aa|Cut");

    m_built = 0;
    SPositionRowsSummary again;
    EXPECT_EQ(Rows(&again), rows);
    EXPECT_EQ(m_built, 0);
    EXPECT_EQ(m_headerHits, 3);
    EXPECT_EQ(again.fromCache, 3u);

    // Looked up one by one, with the status they were written with only.
    auto cache = CHeaderCache::Open(CacheFolder(), m_collection, {0, 0});
    ASSERT_TRUE(cache);
    SFileStatus status;
    ASSERT_TRUE(StatGameFile(a, status));
    std::string row = "left";
    EXPECT_TRUE(cache->LookupPositions(a, status, row));
    EXPECT_EQ(row, rows.at(a));
    status.size += 1;
    row = "left";
    EXPECT_FALSE(cache->LookupPositions(a, status, row));
    EXPECT_EQ(row, "left");
    EXPECT_FALSE(cache->LookupPositions(junk, status, row));
}

TEST_F(PositionRowsTest, AChangedFileGetsANewRowAndAnOldRowIsNeverTaken)
{
    const std::string a = m_dir.Write("a.sgf", "(;PB[Old];B[aa])");
    const std::string b = m_dir.Write("b.sgf", "(;PB[Bb];B[bb])");
    SaveCollection({a, b});
    SetTimes(a, 1000);
    Rows();

    // Rewritten with the same size: the new status says so.
    m_dir.Write("a.sgf", "(;PB[New];B[cc])");
    SetTimes(a, 2000);
    m_built = 0;
    SPositionRowsSummary summary;
    const auto rows = Rows(&summary);
    EXPECT_EQ(m_built, 1);
    EXPECT_EQ(rows.at(a), "p0s19cc|New");
    EXPECT_EQ(summary.fromCache, 2u);

    // A row made for another status than the header row's (the file's
    // contents before or after) is not kept beside it.
    auto cache = CHeaderCache::Open(CacheFolder(), m_collection, {0, 0});
    SFileStatus old;
    ASSERT_TRUE(StatGameFile(b, old));
    old.mtimeNs -= 1;
    cache->RecordPositions(b, old, old.mtimeNs + 5'000'000'000, "stale");
    cache->Flush();
    std::string row;
    EXPECT_FALSE(cache->LookupPositions(b, old, row));
    cache.reset();
    m_built = 0;
    EXPECT_EQ(Rows(&summary).at(b), Expected(b));
    EXPECT_EQ(summary.fromCache, 2u);
    EXPECT_EQ(m_built, 0);
}

TEST_F(PositionRowsTest, DamagedMissingAndOldSchemaRowsAreMadeAgainFromTheFiles)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back(m_dir.Write("g" + std::to_string(i) + ".sgf",
                                    "(;PB[P" + std::to_string(i) + "];B[" + char('a' + i % 19) + "d];W[dd])"));
    SaveCollection(paths);
    const auto full = Rows();
    ASSERT_EQ(full.size(), 40u);
    for (const std::string& path : paths)
        EXPECT_EQ(full.at(path), Expected(path));

    // Bytes of one row changed, another's status changed, a third removed:
    // each is made again from its file, the others come from the cache.
    Sql(CacheFile(), "UPDATE headers SET positions = x'00' || positions WHERE rowid = 3;"
                     "UPDATE headers SET positions_checksum = positions_checksum + 1 WHERE rowid = 7;"
                     "UPDATE headers SET positions = NULL WHERE rowid = 11;");
    SPositionRowsSummary summary;
    EXPECT_EQ(Rows(&summary), full);
    EXPECT_EQ(summary.fromCache, 37u);
    EXPECT_EQ(summary.built, 3u);
    EXPECT_EQ(Rows(&summary), full);
    EXPECT_EQ(summary.fromCache, 40u);

    // Rows the caller refuses are made again from their files.
    m_refuse = "p0";
    EXPECT_EQ(Rows(&summary), full);
    EXPECT_EQ(summary.refused, 40u);
    EXPECT_EQ(summary.built, 40u);
    m_refuse.reset();

    // The header row's bytes in place of the position row's are no row.
    Sql(CacheFile(), "UPDATE headers SET positions = props, positions_checksum = checksum");
    EXPECT_EQ(Rows(&summary), full);
    EXPECT_EQ(summary.built, 40u);

    // A database of the schema before position rows: rebuilt whole.
    Sql(CacheFile(), "ALTER TABLE headers DROP COLUMN positions; PRAGMA user_version=2");
    m_built = 0;
    EXPECT_EQ(Rows(&summary), full);
    EXPECT_EQ(m_headerHits, 0);
    EXPECT_EQ(m_built, 40);
    EXPECT_EQ(summary.fromCache, 40u);
}

TEST_F(PositionRowsTest, WithoutABuilderNoRowIsMadeAndAFileReadAgainLosesItsOldRow)
{
    const std::string a = m_dir.Write("a.sgf", "(;PB[Aa];B[aa])");
    SaveCollection({a});
    EXPECT_TRUE(Rows(nullptr, false).empty());
    EXPECT_EQ(Rows().size(), 1u); // made by the search, stored

    // Read again past the cache by a document without a builder: the row,
    // of the same status, might be of other contents, and goes.
    {
        CVarnexDoc doc;
        doc.SetHeaderCache(CHeaderCache::Open(CacheFolder(), m_collection, {0, 0}));
        ASSERT_TRUE(LoadCollectionFile(doc, m_collection));
        doc.Refresh(true);
        doc.FlushHeaderCache();
    }
    auto cache = CHeaderCache::Open(CacheFolder(), m_collection, {0, 0});
    int seen = 0;
    cache->ForEachPositionRow([&](std::string_view, const SFileStatus&, std::string_view) { ++seen; });
    EXPECT_EQ(seen, 0);
}

// The one read that gives both the values and the main line keeps every
// value, result and reason of the read of the root node alone.
TEST(OneRead, GivesTheRootReadersValuesAndReasonsAndTheWholeReadersMainLine)
{
    struct CReasons : IReadHooks
    {
        void ReportNotRead(const std::string&, const std::string& reason) override { reasons.push_back(reason); }
        std::uint64_t MaxRecordBytes() const override { return most; }
        std::vector<std::string> reasons;
        std::uint64_t most = kMaxRecordBytes;
    };
    CTempDir dir;
    const std::string bigRoot = "(;PB[" + std::string(300, 'x') + "];B[aa])";
    const std::vector<std::string> files = {
        dir.Write("plain.sgf", "(;PB[A]PW[B]RE[W+R];B[pd];W[dd])"),
        dir.Write("bare.sgf", "(PB[A]RE[B+1];B[pd])"),
        dir.Write("cut-in-value.sgf", "(;PB[A"),
        dir.Write("cut-in-id.sgf", "(;PB[A]RE"),
        dir.Write("cut-after-root.sgf", "(;PB[A];B[aa];W["),
        dir.Write("empty.sgf", ""),
        dir.Write("junk.sgf", "junk"),
        dir.Write("big-root.sgf", bigRoot),
        dir.Write("crlf.sgf", "(;PB[A\r\nB]\r\n;B[aa]\x1a;W[bb])"),
        dir.Write("long.sgf", "(;PB[Long]" + std::string(9000, ' ') + ";B[aa];W[bb])"),
        (dir.path() / "missing.sgf").string(),
        dir.path().string(),
    };
    for (const std::uint64_t most : {kMaxRecordBytes, std::uint64_t{100}}) {
        for (const std::string& path : files) {
            CReasons rootHooks;
            CReasons wholeHooks;
            rootHooks.most = wholeHooks.most = most;
            CPropertyTable rootOnly;
            CPropertyTable withRecord;
            SGameFileBytes bytes;
            const bool rootRead = ReadGameFile(path, rootOnly, rootHooks);
            EXPECT_EQ(ReadGameFileContents(path, withRecord, wholeHooks, nullptr, &bytes), rootRead) << path;
            const SGameRecord record = MainLineOf(bytes, withRecord, most);
            EXPECT_EQ(withRecord.Packed(), rootOnly.Packed()) << path;
            EXPECT_EQ(wholeHooks.reasons, rootHooks.reasons) << path;
            if (rootRead && record.problem != EGameProblem::TooLarge) {
                EXPECT_EQ(TestRow(record), TestRow(ReadGameRecordFile(path))) << path;
                EXPECT_EQ(record.root.Packed(), rootOnly.Packed()) << path;
            }
        }
    }
    CPropertyTable table;
    SGameFileBytes bytes;
    ASSERT_TRUE(ReadGameFileContents(files[9], table, DefaultReadHooks(), nullptr, &bytes));
    EXPECT_EQ(TestRow(MainLineOf(bytes, table)), "p0s19aabb|Long");
}

TEST(OneRead, GivesTheSameValuesAsTheRootReaderOnTheCorpus)
{
    VARNEX_REQUIRE_CORPUS();
    int compared = 0;
    int withMoves = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(CorpusDir(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (!it->is_regular_file() || (ext != ".sgf" && ext != ".SGF" && ext != ".mgt"))
            continue;
        const std::string path = it->path().string();
        CPropertyTable rootOnly;
        CPropertyTable withRecord;
        SGameFileBytes bytes;
        const bool rootRead = ReadGameFile(path, rootOnly);
        ASSERT_EQ(ReadGameFileContents(path, withRecord, DefaultReadHooks(), nullptr, &bytes), rootRead) << path;
        ASSERT_EQ(withRecord.Packed(), rootOnly.Packed()) << path;
        if (!rootRead)
            continue;
        const SGameRecord record = MainLineOf(bytes, withRecord);
        // The whole-game reader finds the same root, and the same moves as
        // it does from a file of its own.
        ASSERT_EQ(record.root.Packed(), rootOnly.Packed()) << path;
        const SGameRecord alone = ReadGameRecordFile(path);
        ASSERT_EQ(TestRow(record), TestRow(alone)) << path;
        ASSERT_EQ(record.setup.size(), alone.setup.size()) << path;
        ++compared;
        withMoves += !record.moves.empty();
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(withMoves, 1000);
}

// Rows are made on another thread: however many files are read ahead, each
// row reaches the cache its file was read for, also when the document
// changes caches or goes away before the rows are made.
TEST_F(PositionRowsTest, RowsMadeMeanwhileGoToTheCacheTheirFilesWereReadFor)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 700; ++i)
        paths.push_back(m_dir.Write("g" + std::to_string(i) + ".sgf",
                                    "(;PB[P" + std::to_string(i) + "];B[" + char('a' + i % 19) + "c])"));
    SaveCollection(paths);
    const std::string otherFolder = (m_dir.path() / "other-cache").string();
    const auto rowsIn = [&](const std::string& folder) {
        std::map<std::string, std::string> rows;
        CHeaderCache::Open(folder, m_collection, {0, 0})
            ->ForEachPositionRow(
                [&](std::string_view path, const SFileStatus&, std::string_view row) { rows.emplace(path, row); });
        return rows;
    };
    {
        CVarnexDoc doc;
        doc.SetHeaderCache(CHeaderCache::Open(CacheFolder(), m_collection, {0, 0}));
        // Slow enough that the reading thread runs ahead of it.
        doc.SetPositionRowBuilder([](const SGameRecord& record) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            return TestRow(record);
        });
        ASSERT_TRUE(LoadCollectionFile(doc, m_collection));
        doc.SetHeaderCache(CHeaderCache::Open(otherFolder, m_collection, {0, 0}));
        EXPECT_EQ(rowsIn(CacheFolder()).size(), 700u);
        EXPECT_TRUE(rowsIn(otherFolder).empty());
        doc.Refresh(true);
        // The document goes with rows still being made.
    }
    const auto rows = rowsIn(otherFolder);
    ASSERT_EQ(rows.size(), 700u);
    for (const std::string& path : paths)
        EXPECT_EQ(rows.at(path), Expected(path));
}

TEST_F(PositionRowsTest, TheGamesOfAFileAreReadOnceAndFoundAgainTogether)
{
    const std::string several = m_dir.Write("several.sgf", "(;SZ[9]PB[Aa];B[aa])\n()\n(;SZ[13]PB[Bb];B[bb];W[cc])"
                                                           "(;SZ[19]PB[Cc];B[dd])(;PB[D");
    const std::string one = m_dir.Write("one.sgf", "(;SZ[9]PB[Ee];B[ee])");
    SaveCollection({several, one});

    SPositionRowsSummary first;
    const auto rows = Rows(&first);
    EXPECT_EQ(m_games.at(several), "Aa,Bb,Cc");
    EXPECT_EQ(m_games.at(one), "Ee");
    // One row for each game, made from the one read of each file.
    EXPECT_EQ(rows.at(several), "p0s9aa|Aa / p0s13bbcc|Bb / p0s19dd|Cc");
    EXPECT_EQ(m_built, 4);
    EXPECT_EQ(first.fromCache, 2u);

    // Opened again: every game from the cache, no file read.
    m_built = 0;
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(m_built, 0);
    EXPECT_EQ(m_headerHits, 2);
    EXPECT_EQ(m_games.at(several), "Aa,Bb,Cc");

    // A changed game: the file is read again, and its games are what it now holds.
    m_dir.Write("several.sgf", "(;SZ[9]PB[Aa];B[aa])(;SZ[9]PB[Zz];B[ab])");
    SetTimes(several, 1'000'000'000);
    const auto changed = Rows();
    EXPECT_EQ(m_games.at(several), "Aa,Zz");
    EXPECT_EQ(changed.at(several), "p0s9aa|Aa / p0s9ab|Zz");

    // Damaged later games are not trusted: the file is read again.
    Sql(CacheFile(), "UPDATE headers SET games = x'0741' WHERE games IS NOT NULL");
    m_built = 0;
    EXPECT_EQ(Rows(), changed);
    EXPECT_EQ(m_headerHits, 1);
    EXPECT_EQ(m_games.at(several), "Aa,Zz");
}
