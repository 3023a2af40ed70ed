// The board pictures of the header cache: a table of their own, one row per
// game of a file and position shown, keyed by the path's row id. The cache
// never looks into the picture bytes.
#include "cache/HeaderCache.h"

#include "cache/RowChecksum.h"
#include "cache/SqliteValues.h"

#include <algorithm>

namespace {

// Pictures wait in memory and go out with the next batch of header rows, or
// on their own once this many wait.
constexpr std::size_t kPicturesPerFlush = 256;

// Made in a database of the current schema that lacks it, too: a cache
// written before pictures were kept gains the table and keeps its rows.
constexpr const char* kCreatePictures =
    "CREATE TABLE IF NOT EXISTS pictures(id INTEGER NOT NULL, game INTEGER NOT NULL, open_at INTEGER NOT NULL,"
    " path BLOB NOT NULL, size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL, ctime_ns INTEGER NOT NULL,"
    " inode INTEGER NOT NULL, device INTEGER NOT NULL, read_ns INTEGER NOT NULL, picture BLOB NOT NULL,"
    " checksum INTEGER NOT NULL, PRIMARY KEY(id, game, open_at)) WITHOUT ROWID";

} // namespace

void CHeaderCache::PreparePictures()
{
    if (sqlite3_exec(m_db, kCreatePictures, nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT size, mtime_ns, ctime_ns, inode, device, read_ns, picture, checksum, path"
                           " FROM pictures WHERE id = ?1 AND game = ?2 AND open_at = ?3",
                           -1, &m_selectPicture, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db,
                           "INSERT OR REPLACE INTO pictures(id, game, open_at, path, size, mtime_ns, ctime_ns,"
                           " inode, device, read_ns, picture, checksum)"
                           " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)",
                           -1, &m_replacePicture, nullptr) != SQLITE_OK)
        ClosePictures();
}

void CHeaderCache::ClosePictures()
{
    sqlite3_finalize(m_selectPicture);
    sqlite3_finalize(m_replacePicture);
    m_selectPicture = m_replacePicture = nullptr;
}

bool CHeaderCache::LookupPicture(const std::string& path, std::uint32_t game, std::int32_t openAt,
                                 const SFileStatus& status, std::string& picture)
{
    if (!m_selectPicture)
        return false;
    // Off the header rows' scan: the two tables are read apart.
    StopScan();
    BeginRead();
    sqlite3_bind_int64(m_selectPicture, 1, RowId(path));
    sqlite3_bind_int64(m_selectPicture, 2, game);
    sqlite3_bind_int64(m_selectPicture, 3, openAt);
    const int rc = sqlite3_step(m_selectPicture);
    bool found = false;
    if (rc == SQLITE_ROW) {
        const SFileStatus stored = StoredStatus(m_selectPicture, 0);
        const std::int64_t readNs = sqlite3_column_int64(m_selectPicture, 5);
        const std::string_view bytes = Blob(m_selectPicture, 6);
        const auto checksum = static_cast<std::uint64_t>(sqlite3_column_int64(m_selectPicture, 7));
        const bool settled = Settled(stored, readNs, m_options.racyMarginNs);
        found = Blob(m_selectPicture, 8) == path && stored == status && settled &&
                checksum == PictureRowChecksum(path, game, openAt, stored, readNs, bytes);
        if (found)
            picture.assign(bytes);
    }
    sqlite3_reset(m_selectPicture);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && IsDamage(rc))
        Failed(rc);
    else
        CountRead();
    return found;
}

void CHeaderCache::RecordPicture(const std::string& path, std::uint32_t game, std::int32_t openAt,
                                 const SFileStatus& status, std::int64_t statusTakenNs, std::string picture)
{
    if (!m_replacePicture || !m_writable)
        return;
    m_pendingPictures.push_back({path, game, openAt, status, statusTakenNs, std::move(picture)});
    if (m_pendingPictures.size() >= kPicturesPerFlush)
        Flush();
}

int CHeaderCache::WritePictures()
{
    if (m_pendingPictures.empty())
        return SQLITE_OK;
    int rc = SQLITE_OK;
    for (const SPictureRow& row : m_pendingPictures) {
        const SFileStatus& s = row.status;
        sqlite3_bind_int64(m_replacePicture, 1, RowId(row.path));
        sqlite3_bind_int64(m_replacePicture, 2, row.game);
        sqlite3_bind_int64(m_replacePicture, 3, row.openAt);
        BindBlob(m_replacePicture, 4, row.path);
        sqlite3_bind_int64(m_replacePicture, 5, static_cast<sqlite3_int64>(s.size));
        sqlite3_bind_int64(m_replacePicture, 6, s.mtimeNs);
        sqlite3_bind_int64(m_replacePicture, 7, s.ctimeNs);
        sqlite3_bind_int64(m_replacePicture, 8, static_cast<sqlite3_int64>(s.inode));
        sqlite3_bind_int64(m_replacePicture, 9, static_cast<sqlite3_int64>(s.device));
        sqlite3_bind_int64(m_replacePicture, 10, row.readNs);
        BindBlob(m_replacePicture, 11, row.picture);
        sqlite3_bind_int64(
            m_replacePicture, 12,
            static_cast<sqlite3_int64>(PictureRowChecksum(row.path, row.game, row.openAt, s, row.readNs, row.picture)));
        rc = sqlite3_step(m_replacePicture);
        sqlite3_reset(m_replacePicture);
        if (rc != SQLITE_DONE)
            return rc;
    }
    m_pendingPictures.clear();
    return SQLITE_OK;
}
