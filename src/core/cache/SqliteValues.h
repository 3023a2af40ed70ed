#pragma once

#include "files/FileStatus.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>

#include <string_view>

// Small helpers over SQLite's C interface that the cache's files share.

// Damage to the database file, as opposed to a lock or a full disk.
inline bool IsDamage(int rc)
{
    rc &= 0xFF;
    return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB;
}

// The bytes of a blob column, valid until the statement steps again.
inline std::string_view Blob(sqlite3_stmt* statement, int column)
{
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return data && size > 0 ? std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size))
                            : std::string_view();
}

inline int BindBlob(sqlite3_stmt* statement, int index, std::string_view bytes)
{
    // A zero-length blob, not NULL, for an empty text.
    return sqlite3_bind_blob64(statement, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_STATIC);
}

// The file status a row was written with, in five columns from first on:
// size, modification and change times, inode, device.
inline SFileStatus StoredStatus(sqlite3_stmt* statement, int first)
{
    SFileStatus status;
    status.size = static_cast<std::uint64_t>(sqlite3_column_int64(statement, first));
    status.mtimeNs = sqlite3_column_int64(statement, first + 1);
    status.ctimeNs = sqlite3_column_int64(statement, first + 2);
    status.inode = static_cast<std::uint64_t>(sqlite3_column_int64(statement, first + 3));
    status.device = static_cast<std::uint64_t>(sqlite3_column_int64(statement, first + 4));
    return status;
}

// Whether a file of this status had settled when it was read at readNs: one
// changed within racyMarginNs before could change again without a new status.
inline bool Settled(const SFileStatus& status, std::int64_t readNs, std::int64_t racyMarginNs)
{
    return std::max(status.mtimeNs, status.ctimeNs) < readNs - racyMarginNs;
}
