#include "cache/HeaderCache.h"

#include "cache/RowChecksum.h"
#include "cache/SqliteValues.h"
#include "reader/PropertyTable.h"
#include "util/Fnv1a.h"
#include "util/Framed.h"
#include "util/KeyedHash.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Rows wait in memory and go out in one transaction per batch, so another
// program waits for a short write at most, and so does the window, which
// writes a batch between two runs of its event loop (about 10 microseconds
// a row).
constexpr std::size_t kFlushRows = 2048;
// Misses in a row after which the scan in written order is given up.
constexpr int kScanMissesBeforeSearchOnly = 64;

// A row is found by a keyed hash of its path, an integer: searching by
// paths that share their long folder part compared most of each path at
// every step. Two paths of one hash share a row (the path in it tells them
// apart); without the database's key no one can make them. Rows are added
// at the end in the order files are read, which is the order the next open
// asks for them; only the small index of hashes is written all over. A
// file's position row is two more columns of its row (NULL when it has
// none), with a checksum of its own: one row and one index entry a file,
// written at once. The games after the first of a file of several game
// trees are one more column (NULL for a file of one game), each game's
// packed table after its length, under a checksum of its own: a file's
// games are found, trusted and written together, by the file's status.
constexpr const char* kCreate = "CREATE TABLE headers(id INTEGER NOT NULL, path BLOB NOT NULL,"
                                " size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL, ctime_ns INTEGER NOT NULL,"
                                " inode INTEGER NOT NULL, device INTEGER NOT NULL, read_ns INTEGER NOT NULL,"
                                " props BLOB NOT NULL, checksum INTEGER NOT NULL,"
                                " positions BLOB, positions_checksum INTEGER NOT NULL,"
                                " games BLOB, games_checksum INTEGER NOT NULL);"
                                "CREATE UNIQUE INDEX headers_id ON headers(id);"
                                "CREATE TABLE meta(collection BLOB NOT NULL, key0 INTEGER NOT NULL,"
                                " key1 INTEGER NOT NULL);";

} // namespace

std::string CHeaderCache::FileFor(const std::string& folder, const std::string& collectionPath)
{
    std::error_code ec;
    const std::string key = std::filesystem::absolute(collectionPath, ec).lexically_normal().string();
    char name[48];
    std::snprintf(name, sizeof name, "headers-%016llx.sqlite",
                  static_cast<unsigned long long>(Fnv1a(kFnv1aStart, ec ? collectionPath : key)));
    return (std::filesystem::path(folder) / name).string();
}

std::shared_ptr<CHeaderCache> CHeaderCache::Open(const std::string& folder, const std::string& collectionPath,
                                                 const SHeaderCacheOptions& options)
{
    if (folder.empty() || collectionPath.empty())
        return nullptr;
    std::error_code ec;
    // One collection file reached by two spellings of its path has one cache.
    std::string key = std::filesystem::absolute(collectionPath, ec).lexically_normal().string();
    if (ec)
        return nullptr;
    std::filesystem::create_directories(folder, ec);
    std::shared_ptr<CHeaderCache> cache(new CHeaderCache(FileFor(folder, key), key, options));
    if (!cache->Connect())
        return nullptr;
    return cache;
}

CHeaderCache::CHeaderCache(std::string file, std::string collection, const SHeaderCacheOptions& options)
    : m_file(std::move(file)), m_collection(std::move(collection)), m_options(options)
{
}

CHeaderCache::~CHeaderCache()
{
    Flush();
    Close();
}

bool CHeaderCache::Connect()
{
    // A damaged database is removed and made again, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int rc = OpenAndCheck();
        if (rc == SQLITE_OK)
            return true;
        Close();
        if (!IsDamage(rc))
            return false;
        RemoveFiles();
    }
    return false;
}

// The database and the files SQLite keeps beside it are each missing or a
// regular file: a link would have the writes land wherever it points.
bool CHeaderCache::SafeToOpen() const
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        struct stat info
        {
        };
        if (::lstat((m_file + suffix).c_str(), &info) == 0 ? !S_ISREG(info.st_mode) : errno != ENOENT)
            return false;
    }
    return true;
}

int CHeaderCache::OpenAndCheck()
{
    if (!SafeToOpen())
        return SQLITE_CANTOPEN;
    // NOFOLLOW as well, for a link made between the look and the open.
    int rc = sqlite3_open_v2(m_file.c_str(), &m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW,
                             nullptr);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_busy_timeout(m_db, m_options.busyTimeoutMs);
    // Before anything is written, even the journal mode in the header.
    rc = CheckOurs();
    if (rc != SQLITE_OK)
        return rc;
    // Readers and one writer at once: two programs on one collection.
    // No syncs: a row cut by a crash fails its checksum, damage shows as
    // such, and either way the file is read again. A page cache large
    // enough for the b-tree keeps lookups in collection order off the disk.
    rc = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;", nullptr,
                      nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = ResetIfStale();
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_prepare_v2(m_db,
                            "SELECT size, mtime_ns, ctime_ns, inode, device, read_ns, props, checksum, path, rowid,"
                            " games, games_checksum FROM headers WHERE id = ?1",
                            -1, &m_select, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_prepare_v2(m_db,
                            "SELECT size, mtime_ns, ctime_ns, inode, device, read_ns, props, checksum, path, rowid,"
                            " games, games_checksum FROM headers WHERE rowid > ?1 ORDER BY rowid",
                            -1, &m_scan, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_prepare_v2(m_db,
                            "INSERT OR REPLACE INTO headers(id, path, size, mtime_ns, ctime_ns, inode, device,"
                            " read_ns, props, checksum, positions, positions_checksum, games, games_checksum)"
                            " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)",
                            -1, &m_replace, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = PreparePositions();
    if (rc == SQLITE_OK)
        PreparePictures();
    return rc;
}

// SQLITE_OK when the database is ours to write: marked as ours, without
// tables (new, or an empty file), or a cache of this collection written
// before the mark was. Damage shows here as in the first read of the file;
// anyone else's database gives SQLITE_PERM and is left as it is.
int CHeaderCache::CheckOurs()
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(m_db,
                                "SELECT (SELECT application_id FROM pragma_application_id),"
                                " (SELECT count(*) FROM sqlite_schema)",
                                -1, &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    int applicationId = 0;
    long long tables = 0;
    if (rc == SQLITE_ROW) {
        applicationId = sqlite3_column_int(statement, 0);
        tables = sqlite3_column_int64(statement, 1);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_OK)
        return rc;
    m_marked = applicationId == kApplicationId;
    if (m_marked || tables == 0 || (applicationId == 0 && Matches()))
        return SQLITE_OK;
    return SQLITE_PERM;
}

// Whether the database is of this schema and this collection. A statement
// that fails (a missing table) means it is not.
bool CHeaderCache::Matches()
{
    sqlite3_stmt* statement = nullptr;
    bool matches = false;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        matches = sqlite3_column_int(statement, 0) == kSchemaVersion;
    sqlite3_finalize(statement);
    if (!matches)
        return false;
    statement = nullptr;
    matches = false;
    if (sqlite3_prepare_v2(m_db, "SELECT collection, key0, key1 FROM meta", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        m_key0 = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 1));
        m_key1 = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 2));
        matches = Blob(statement, 0) == m_collection && sqlite3_step(statement) == SQLITE_DONE;
    }
    sqlite3_finalize(statement);
    return matches;
}

int CHeaderCache::ResetIfStale()
{
    const std::string mark = "PRAGMA application_id=" + std::to_string(kApplicationId);
    if (Matches())
        return m_marked ? SQLITE_OK : sqlite3_exec(m_db, mark.c_str(), nullptr, nullptr, nullptr);
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    // Another program may have made it while this one waited for the lock,
    // or made it something else: only ours, or an empty one, is rebuilt.
    rc = CheckOurs();
    if (rc == SQLITE_OK && Matches())
        return sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db,
                          "DROP TABLE IF EXISTS headers; DROP TABLE IF EXISTS positions;"
                          " DROP TABLE IF EXISTS meta; DROP TABLE IF EXISTS pictures;",
                          nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, kCreate, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_stmt* insert = nullptr;
        rc = sqlite3_prepare_v2(m_db, "INSERT INTO meta VALUES(?1, ?2, ?3)", -1, &insert, nullptr);
        if (rc == SQLITE_OK) {
            std::random_device rd;
            auto draw = [&] { return (static_cast<std::uint64_t>(rd()) << 32) ^ rd(); };
            m_key0 = draw();
            m_key1 = draw();
            BindBlob(insert, 1, m_collection);
            sqlite3_bind_int64(insert, 2, static_cast<sqlite3_int64>(m_key0));
            sqlite3_bind_int64(insert, 3, static_cast<sqlite3_int64>(m_key1));
            rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
        }
        sqlite3_finalize(insert);
    }
    if (rc == SQLITE_OK) {
        const std::string version = "PRAGMA user_version=" + std::to_string(kSchemaVersion);
        rc = sqlite3_exec(m_db, version.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, mark.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

std::int64_t CHeaderCache::RowId(const std::string& path) const
{
    return static_cast<std::int64_t>(SipHash13(path, m_key0, m_key1));
}

void CHeaderCache::BeginRead()
{
    if (m_readsOpen == 0 && sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
        m_readsOpen = 1;
}

void CHeaderCache::CountRead()
{
    if (m_readsOpen > 0 && ++m_readsOpen > kReadsPerTransaction)
        EndRead();
}

void CHeaderCache::EndRead()
{
    // The scan is reset first, so the read transaction really ends and no
    // write ever runs under an open scan; it goes on from m_scanAfter.
    StopScan();
    if (m_readsOpen == 0)
        return;
    m_readsOpen = 0;
    sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
}

void CHeaderCache::StopScan()
{
    if (m_scan)
        sqlite3_reset(m_scan);
    m_scanState = EScan::Stopped;
}

int CHeaderCache::ScanRow()
{
    if (m_scanState == EScan::OnRow)
        return SQLITE_ROW;
    if (m_scanState == EScan::AtEnd)
        return SQLITE_DONE;
    if (m_scanState == EScan::Stopped) {
        sqlite3_reset(m_scan);
        sqlite3_bind_int64(m_scan, 1, m_scanAfter);
    }
    const int rc = sqlite3_step(m_scan);
    m_scanState = rc == SQLITE_ROW ? EScan::OnRow : rc == SQLITE_DONE ? EScan::AtEnd : EScan::Stopped;
    return rc;
}

void CHeaderCache::Close()
{
    m_readsOpen = 0;
    m_scanState = EScan::Stopped;
    sqlite3_finalize(m_select);
    sqlite3_finalize(m_scan);
    sqlite3_finalize(m_replace);
    m_select = m_scan = m_replace = nullptr;
    ClosePositions();
    ClosePictures();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void CHeaderCache::RemoveFiles() const
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        ::unlink((m_file + suffix).c_str());
}

void CHeaderCache::Failed(int rc)
{
    m_pending.clear();
    m_pendingPictures.clear();
    if (IsDamage(rc)) {
        // Rows already taken were checked one by one; what is left is made
        // again from the files.
        Close();
        RemoveFiles();
        if (OpenAndCheck() != SQLITE_OK)
            Close();
        return;
    }
    m_writable = false;
}

namespace {

// The later games of a file as the games column holds them.
std::string PackGames(const std::vector<CPropertyTable>& games)
{
    std::string bytes;
    for (const CPropertyTable& game : games)
        AppendFramed(bytes, game.Packed());
    return bytes;
}

bool UnpackGames(std::string_view bytes, std::vector<CPropertyTable>& games)
{
    std::vector<std::string_view> parts;
    if (!SplitFramed(bytes, parts) || parts.empty())
        return false;
    games.assign(parts.size(), CPropertyTable());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!games[i].AssignPacked(parts[i]))
            return false;
    }
    return true;
}

} // namespace

bool CHeaderCache::Lookup(const std::string& path, const SFileStatus& status, CPropertyTable& table,
                          std::vector<CPropertyTable>* more)
{
    if (!m_select) {
        ++m_counts.misses;
        return false;
    }
    BeginRead();
    // Rows stand in the order their files were read, which is the order an
    // open asks for them again: the scan's next row is most often the one
    // wanted, found without a search. Any other is searched for by its id,
    // and the scan goes on after it.
    sqlite3_stmt* row = nullptr;
    int rc = m_scanMisses < kScanMissesBeforeSearchOnly ? ScanRow() : SQLITE_DONE;
    if (rc == SQLITE_ROW && Blob(m_scan, 8) == path) {
        row = m_scan;
        m_scanMisses = 0;
    } else if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        const bool scanOnAnotherRow = rc == SQLITE_ROW;
        sqlite3_bind_int64(m_select, 1, RowId(path));
        rc = sqlite3_step(m_select);
        if (rc == SQLITE_ROW && Blob(m_select, 8) == path) {
            row = m_select;
            StopScan();
            // A row stands elsewhere than the scan was: asked out of order
            // (a file new to the cache is no miss of the order).
            if (scanOnAnotherRow)
                ++m_scanMisses;
        }
    }
    bool found = false;
    if (row) {
        const SFileStatus stored = StoredStatus(row, 0);
        const std::int64_t readNs = sqlite3_column_int64(row, 5);
        const std::string_view props = Blob(row, 6);
        const auto checksum = static_cast<std::uint64_t>(sqlite3_column_int64(row, 7));
        const bool settled = Settled(stored, readNs, m_options.racyMarginNs);
        // A row holds the table's own packed bytes, copied in whole; the
        // table is left as it was when they do not make one.
        found = stored == status && settled && checksum == RowChecksum(path, stored, readNs, props);
        // The later games come whole or not at all: a file's rows are its
        // games, never some of them.
        std::vector<CPropertyTable> games;
        if (found && sqlite3_column_type(row, 10) != SQLITE_NULL) {
            const std::string_view packed = Blob(row, 10);
            found = static_cast<std::uint64_t>(sqlite3_column_int64(row, 11)) ==
                        GamesChecksum(path, stored, readNs, packed) &&
                    UnpackGames(packed, games);
        }
        found = found && table.AssignPacked(props);
        if (found && more)
            *more = std::move(games);
        m_scanAfter = sqlite3_column_int64(row, 9);
        if (row == m_scan)
            m_scanState = EScan::Passed;
    }
    sqlite3_reset(m_select);
    sqlite3_clear_bindings(m_select);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && IsDamage(rc))
        Failed(rc);
    else
        CountRead();
    ++(found ? m_counts.hits : m_counts.misses);
    return found;
}

CHeaderCache::SRow CHeaderCache::NewRow(const std::string& path, const SFileStatus& status, std::int64_t readNs)
{
    SRow row;
    row.path = path;
    row.status = status;
    row.readNs = readNs;
    return row;
}

void CHeaderCache::Record(const std::string& path, const SFileStatus& status, std::int64_t statusTakenNs,
                          const CPropertyTable& table, const std::string* positionRow,
                          const std::vector<CPropertyTable>* more)
{
    if (!m_replace || !m_writable)
        return;
    SRow row = NewRow(path, status, statusTakenNs);
    row.props = table.Packed();
    if (more && !more->empty()) {
        row.hasGames = true;
        row.games = PackGames(*more);
    }
    if (positionRow) {
        row.hasPositions = true;
        row.positions = *positionRow;
    }
    m_pending.push_back(std::move(row));
    if (m_pending.size() >= kFlushRows)
        Flush();
}

void CHeaderCache::RecordPositions(const std::string& path, const SFileStatus& status, std::int64_t statusTakenNs,
                                   std::string positionRow)
{
    if (!m_replace || !m_writable)
        return;
    SRow row = NewRow(path, status, statusTakenNs);
    row.positionsOnly = true;
    row.hasPositions = true;
    row.positions = std::move(positionRow);
    m_pending.push_back(std::move(row));
    if (m_pending.size() >= kFlushRows)
        Flush();
}

void CHeaderCache::Flush()
{
    EndRead();
    if (m_pending.empty() && m_pendingPictures.empty())
        return;
    if (!m_replace || !m_writable) {
        m_pending.clear();
        m_pendingPictures.clear();
        return;
    }
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return Failed(rc);
    for (SRow& row : m_pending)
        row.id = RowId(row.path);
    for (const SRow& row : m_pending) {
        if (row.positionsOnly) {
            rc = WritePositions(row);
            if (rc != SQLITE_DONE)
                break;
            rc = SQLITE_OK;
            continue;
        }
        const SFileStatus& s = row.status;
        sqlite3_bind_int64(m_replace, 1, row.id);
        BindBlob(m_replace, 2, row.path);
        sqlite3_bind_int64(m_replace, 3, static_cast<sqlite3_int64>(s.size));
        sqlite3_bind_int64(m_replace, 4, s.mtimeNs);
        sqlite3_bind_int64(m_replace, 5, s.ctimeNs);
        sqlite3_bind_int64(m_replace, 6, static_cast<sqlite3_int64>(s.inode));
        sqlite3_bind_int64(m_replace, 7, static_cast<sqlite3_int64>(s.device));
        sqlite3_bind_int64(m_replace, 8, row.readNs);
        BindBlob(m_replace, 9, row.props);
        sqlite3_bind_int64(m_replace, 10, static_cast<sqlite3_int64>(RowChecksum(row.path, s, row.readNs, row.props)));
        if (row.hasPositions) {
            BindBlob(m_replace, 11, row.positions);
            sqlite3_bind_int64(m_replace, 12,
                               static_cast<sqlite3_int64>(PositionRowChecksum(row.path, s, row.readNs, row.positions)));
        } else {
            sqlite3_bind_null(m_replace, 11);
            sqlite3_bind_int64(m_replace, 12, 0);
        }
        if (row.hasGames) {
            BindBlob(m_replace, 13, row.games);
            sqlite3_bind_int64(m_replace, 14,
                               static_cast<sqlite3_int64>(GamesChecksum(row.path, s, row.readNs, row.games)));
        } else {
            sqlite3_bind_null(m_replace, 13);
            sqlite3_bind_int64(m_replace, 14, 0);
        }
        rc = sqlite3_step(m_replace);
        sqlite3_reset(m_replace);
        if (rc != SQLITE_DONE)
            break;
        rc = SQLITE_OK;
    }
    if (rc == SQLITE_OK)
        rc = WritePictures();
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return Failed(rc);
    }
    m_pending.clear();
}

std::shared_ptr<CHeaderCache> CHeaderCache::OpenPlace(const SPlace& place)
{
    std::shared_ptr<CHeaderCache> cache(new CHeaderCache(place.file, place.collection, place.options));
    if (!cache->Connect())
        return nullptr;
    return cache;
}
