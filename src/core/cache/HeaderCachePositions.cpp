// The position rows of the header cache: stored, looked up and walked. Each
// is two columns of its file's header row (the bytes and their checksum),
// written with it; the cache never looks into the bytes.
#include "cache/HeaderCache.h"

#include "cache/RowChecksum.h"
#include "cache/SqliteValues.h"

#include <algorithm>

namespace {

// The columns every position statement selects, in this order.
constexpr const char* kColumns =
    "size, mtime_ns, ctime_ns, inode, device, read_ns, positions, positions_checksum, path, rowid";

struct SStoredRow
{
    SFileStatus status;
    std::int64_t readNs = 0;
    std::string_view row;
    std::string_view path;
};

SStoredRow ReadColumns(sqlite3_stmt* statement)
{
    SStoredRow stored;
    stored.status = StoredStatus(statement, 0);
    stored.readNs = sqlite3_column_int64(statement, 5);
    stored.row = Blob(statement, 6);
    stored.path = Blob(statement, 8);
    return stored;
}

// Whether a stored row is whole and of a file that had settled when it was
// read (see SHeaderCacheOptions::racyMarginNs).
bool Trusted(sqlite3_stmt* statement, const SStoredRow& stored, std::int64_t racyMarginNs)
{
    const auto checksum = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 7));
    return Settled(stored.status, stored.readNs, racyMarginNs) && sqlite3_column_type(statement, 6) != SQLITE_NULL &&
           checksum == PositionRowChecksum(stored.path, stored.status, stored.readNs, stored.row);
}

} // namespace

int CHeaderCache::PreparePositions()
{
    const std::string select = std::string("SELECT ") + kColumns + " FROM headers WHERE id = ?1";
    const int rc = sqlite3_prepare_v2(m_db, select.c_str(), -1, &m_selectPositions, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_prepare_v2(m_db, "UPDATE headers SET positions = ?1, positions_checksum = ?2 WHERE rowid = ?3", -1,
                              &m_updatePositions, nullptr);
}

void CHeaderCache::ClosePositions()
{
    sqlite3_finalize(m_selectPositions);
    sqlite3_finalize(m_updatePositions);
    m_selectPositions = m_updatePositions = nullptr;
}

int CHeaderCache::WritePositions(const SRow& row)
{
    // The row's checksum covers the read time of the header row it joins.
    sqlite3_bind_int64(m_selectPositions, 1, row.id);
    int rc = sqlite3_step(m_selectPositions);
    std::int64_t rowid = 0;
    std::int64_t readNs = 0;
    if (rc == SQLITE_ROW) {
        const SStoredRow stored = ReadColumns(m_selectPositions);
        if (stored.path == row.path && stored.status == row.status) {
            rowid = sqlite3_column_int64(m_selectPositions, 9);
            readNs = stored.readNs;
        }
        rc = SQLITE_DONE;
    }
    sqlite3_reset(m_selectPositions);
    if (rc != SQLITE_DONE || rowid == 0)
        return rc;
    BindBlob(m_updatePositions, 1, row.positions);
    sqlite3_bind_int64(m_updatePositions, 2,
                       static_cast<sqlite3_int64>(PositionRowChecksum(row.path, row.status, readNs, row.positions)));
    sqlite3_bind_int64(m_updatePositions, 3, rowid);
    rc = sqlite3_step(m_updatePositions);
    sqlite3_reset(m_updatePositions);
    return rc;
}

bool CHeaderCache::LookupPositions(const std::string& path, const SFileStatus& status, std::string& row)
{
    if (!m_selectPositions)
        return false;
    // Off the header rows' scan: the two tables are read apart.
    StopScan();
    BeginRead();
    sqlite3_bind_int64(m_selectPositions, 1, RowId(path));
    const int rc = sqlite3_step(m_selectPositions);
    bool found = false;
    if (rc == SQLITE_ROW) {
        const SStoredRow stored = ReadColumns(m_selectPositions);
        found = stored.path == path && stored.status == status &&
                Trusted(m_selectPositions, stored, m_options.racyMarginNs);
        if (found)
            row.assign(stored.row);
    }
    sqlite3_reset(m_selectPositions);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && IsDamage(rc))
        Failed(rc);
    else
        CountRead();
    return found;
}

void CHeaderCache::ForEachPositionRow(const PositionRowVisitor& f)
{
    Flush();
    if (!m_db)
        return;
    // One statement in one read transaction, in the order the rows were
    // written: the table's pages one after the other.
    const std::string query =
        std::string("SELECT ") + kColumns + " FROM headers WHERE positions IS NOT NULL ORDER BY rowid";
    sqlite3_stmt* walk = nullptr;
    int rc = sqlite3_prepare_v2(m_db, query.c_str(), -1, &walk, nullptr);
    if (rc == SQLITE_OK) {
        BeginRead();
        while ((rc = sqlite3_step(walk)) == SQLITE_ROW) {
            const SStoredRow stored = ReadColumns(walk);
            if (Trusted(walk, stored, m_options.racyMarginNs))
                f(stored.path, stored.status, stored.row);
        }
    }
    sqlite3_finalize(walk);
    EndRead();
    if (IsDamage(rc))
        Failed(rc);
}
