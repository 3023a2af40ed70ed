#pragma once

#include <sqlite3.h>

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
