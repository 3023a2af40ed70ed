// The position rows of the header cache: stored, looked up and walked. They
// live in a table of their own beside the header rows, under the same ids,
// written in the same batches; the cache never looks into their bytes.
#include "cache/HeaderCache.h"

#include "cache/RowChecksum.h"
#include "cache/SqliteValues.h"

#include <algorithm>

namespace {

// The columns every position statement selects, in this order.
constexpr const char* kColumns = "size, mtime_ns, ctime_ns, inode, device, read_ns, row, checksum, path";

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
    stored.status.size = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 0));
    stored.status.mtimeNs = sqlite3_column_int64(statement, 1);
    stored.status.ctimeNs = sqlite3_column_int64(statement, 2);
    stored.status.inode = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 3));
    stored.status.device = static_cast<std::uint64_t>(sqlite3_column_int64(statement, 4));
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
    const bool settled = std::max(stored.status.mtimeNs, stored.status.ctimeNs) < stored.readNs - racyMarginNs;
    return settled && checksum == PositionRowChecksum(stored.path, stored.status, stored.readNs, stored.row);
}

} // namespace

int CHeaderCache::PreparePositions()
{
    const std::string select = std::string("SELECT ") + kColumns + " FROM positions WHERE id = ?1";
    int rc = sqlite3_prepare_v2(m_db, select.c_str(), -1, &m_selectPositions, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    rc = sqlite3_prepare_v2(m_db,
                            "INSERT OR REPLACE INTO positions(id, path, size, mtime_ns, ctime_ns, inode, device,"
                            " read_ns, row, checksum) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                            -1, &m_replacePositions, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    return sqlite3_prepare_v2(m_db, "DELETE FROM positions WHERE id = ?1", -1, &m_dropPositions, nullptr);
}

void CHeaderCache::ClosePositions()
{
    sqlite3_finalize(m_selectPositions);
    sqlite3_finalize(m_replacePositions);
    sqlite3_finalize(m_dropPositions);
    m_selectPositions = m_replacePositions = m_dropPositions = nullptr;
}

int CHeaderCache::WritePositions(const SRow& row)
{
    if (row.write == SRow::EWrite::HeaderDropPositions) {
        sqlite3_bind_int64(m_dropPositions, 1, row.id);
        const int rc = sqlite3_step(m_dropPositions);
        sqlite3_reset(m_dropPositions);
        return rc;
    }
    const SFileStatus& s = row.status;
    sqlite3_bind_int64(m_replacePositions, 1, row.id);
    BindBlob(m_replacePositions, 2, row.path);
    sqlite3_bind_int64(m_replacePositions, 3, static_cast<sqlite3_int64>(s.size));
    sqlite3_bind_int64(m_replacePositions, 4, s.mtimeNs);
    sqlite3_bind_int64(m_replacePositions, 5, s.ctimeNs);
    sqlite3_bind_int64(m_replacePositions, 6, static_cast<sqlite3_int64>(s.inode));
    sqlite3_bind_int64(m_replacePositions, 7, static_cast<sqlite3_int64>(s.device));
    sqlite3_bind_int64(m_replacePositions, 8, row.readNs);
    BindBlob(m_replacePositions, 9, row.positions);
    sqlite3_bind_int64(m_replacePositions, 10,
                       static_cast<sqlite3_int64>(PositionRowChecksum(row.path, s, row.readNs, row.positions)));
    const int rc = sqlite3_step(m_replacePositions);
    sqlite3_reset(m_replacePositions);
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
    const std::string query = std::string("SELECT ") + kColumns + " FROM positions ORDER BY rowid";
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
