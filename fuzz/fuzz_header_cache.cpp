// Opens the header cache on a database whose rows come from the input:
// paths, file status, read times and property blobs of any bytes, each row
// with a checksum made right, so the lookups reach the decoding of the
// blobs instead of stopping at the checksum. The input can also damage the
// meta table, the schema version and the database file's own bytes. A cache
// never crashes on what it finds, and a row it accepts gives back exactly
// the values the row holds.
#include "cache/HeaderCache.h"
#include "cache/RowChecksum.h"
#include "reader/PropertyTable.h"
#include "util/KeyedHash.h"

#include "FuzzInput.h"
#include "FuzzWorkFolder.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

struct SRow
{
    std::string path;
    SFileStatus status;
    std::int64_t readNs = 0;
    std::string props;
};

// The properties a well-formed blob holds: a length (7 bits a byte, low
// bits first) and the bytes, for each identifier and each value. Nothing
// when the blob is not well formed.
bool Decode(std::string_view in, std::vector<std::pair<std::string, std::string>>& items)
{
    const auto take = [&in](std::string& text) {
        std::uint64_t length = 0;
        for (int shift = 0;; shift += 7) {
            if (shift >= 64 || in.empty())
                return false;
            const auto byte = static_cast<unsigned char>(in.front());
            in.remove_prefix(1);
            length |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                break;
        }
        if (length > in.size())
            return false;
        text.assign(in.substr(0, length));
        in.remove_prefix(length);
        return true;
    };
    while (!in.empty()) {
        std::pair<std::string, std::string> item;
        if (!take(item.first) || !take(item.second))
            return false;
        items.push_back(std::move(item));
    }
    return true;
}

void Exec(sqlite3* db, const std::string& sql)
{
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

// Rewrites the database the cache made: the input's rows in place of its
// own, and perhaps damage to the tables that say whose it is.
void WriteRows(const std::string& file, const std::vector<SRow>& rows, CFuzzInput& input)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return;
    }
    sqlite3_stmt* insert = nullptr;
    Exec(db, "PRAGMA synchronous=OFF");
    Exec(db, "BEGIN");
    if (sqlite3_prepare_v2(db,
                           "INSERT OR REPLACE INTO headers(id, path, size, mtime_ns, ctime_ns, inode, device, read_ns,"
                           " props, checksum) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                           -1, &insert, nullptr) == SQLITE_OK) {
        // The row ids are keyed with the database's own key, so the rows
        // are found by their path.
        std::uint64_t key0 = 0;
        std::uint64_t key1 = 0;
        sqlite3_stmt* meta = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT key0, key1 FROM meta", -1, &meta, nullptr) == SQLITE_OK &&
            sqlite3_step(meta) == SQLITE_ROW) {
            key0 = static_cast<std::uint64_t>(sqlite3_column_int64(meta, 0));
            key1 = static_cast<std::uint64_t>(sqlite3_column_int64(meta, 1));
        }
        sqlite3_finalize(meta);
        for (const SRow& row : rows) {
            // Now and then a row whose id is not its path's, or whose
            // checksum is off by one.
            const std::uint8_t twist = input.Byte();
            std::int64_t id = static_cast<std::int64_t>(SipHash13(row.path, key0, key1));
            if (twist == 1)
                id ^= 1;
            std::uint64_t checksum = RowChecksum(row.path, row.status, row.readNs, row.props);
            if (twist == 2)
                checksum ^= 1;
            sqlite3_bind_int64(insert, 1, id);
            sqlite3_bind_blob64(insert, 2, row.path.data(), row.path.size(), SQLITE_STATIC);
            sqlite3_bind_int64(insert, 3, static_cast<sqlite3_int64>(row.status.size));
            sqlite3_bind_int64(insert, 4, row.status.mtimeNs);
            sqlite3_bind_int64(insert, 5, row.status.ctimeNs);
            sqlite3_bind_int64(insert, 6, static_cast<sqlite3_int64>(row.status.inode));
            sqlite3_bind_int64(insert, 7, static_cast<sqlite3_int64>(row.status.device));
            sqlite3_bind_int64(insert, 8, row.readNs);
            if (twist == 3)
                sqlite3_bind_null(insert, 9); // a NULL the schema refuses
            else
                sqlite3_bind_blob64(insert, 9, row.props.empty() ? "" : row.props.data(), row.props.size(),
                                    SQLITE_STATIC);
            sqlite3_bind_int64(insert, 10, static_cast<sqlite3_int64>(checksum));
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
    }
    sqlite3_finalize(insert);
    const std::uint8_t damage = input.Byte();
    if (damage == 1)
        Exec(db, "DELETE FROM meta");
    else if (damage == 2)
        Exec(db, "INSERT INTO meta VALUES(x'00', 1, 2)");
    else if (damage == 3)
        Exec(db, "PRAGMA user_version=" + std::to_string(input.Byte()));
    else if (damage == 4)
        Exec(db, "UPDATE meta SET collection = x'41'");
    else if (damage == 5)
        Exec(db, "DROP TABLE headers");
    Exec(db, "COMMIT");
    // The rows go into the database file itself, so bytes of it can be
    // changed below.
    Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    sqlite3_close_v2(db);
}

// Overwrites bytes of the database file at offsets the input names.
void DamageFile(const std::string& file, CFuzzInput& input)
{
    const std::uint8_t count = input.Byte() % 8;
    if (count == 0)
        return;
    std::FILE* f = std::fopen(file.c_str(), "r+b");
    if (!f)
        return;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    for (std::uint8_t i = 0; i < count && size > 0; ++i) {
        const long offset = static_cast<long>(input.Number(3) % static_cast<std::uint64_t>(size));
        const std::uint8_t byte = input.Byte();
        std::fseek(f, offset, SEEK_SET);
        std::fputc(byte, f);
    }
    std::fclose(f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = FuzzWorkFolder();
    const std::string collection = folder + "/c.vnx";
    const std::string file = CHeaderCache::FileFor(folder, collection);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        ::unlink((file + suffix).c_str());

    CFuzzInput input(data, size);
    std::vector<SRow> rows;
    for (int n = input.Byte() % 8; n > 0 && !input.Empty(); --n) {
        SRow row;
        row.path.assign(input.Text(input.Byte() % 16));
        row.status.size = input.Number(2);
        row.status.mtimeNs = static_cast<std::int64_t>(input.Number(2));
        row.status.ctimeNs = static_cast<std::int64_t>(input.Number(2));
        row.status.inode = input.Number(1);
        row.status.device = input.Number(1);
        row.readNs = static_cast<std::int64_t>(input.Number(3));
        row.props.assign(input.Text(input.Byte()));
        // One row per path: a second would replace the first.
        bool known = false;
        for (const SRow& other : rows)
            known = known || other.path == row.path;
        if (!known)
            rows.push_back(std::move(row));
    }

    SHeaderCacheOptions options;
    options.busyTimeoutMs = 0;
    options.racyMarginNs = static_cast<std::int64_t>(input.Byte());
    {
        // The cache makes its database (schema, meta and key) first.
        const auto made = CHeaderCache::Open(folder, collection, options);
        if (!made)
            return 0;
    }
    WriteRows(file, rows, input);
    DamageFile(file, input);

    const auto cache = CHeaderCache::Open(folder, collection, options);
    if (!cache)
        return 0;
    for (const SRow& row : rows) {
        CPropertyTable table;
        table.Set("XX", "kept");
        const bool found = cache->Lookup(row.path, row.status, table);
        if (found) {
            // A row is taken only when its blob is well formed, and then it
            // gives what the blob holds, a later value of an identifier in
            // place of an earlier one.
            std::vector<std::pair<std::string, std::string>> items;
            if (!Decode(row.props, items))
                __builtin_trap();
            CPropertyTable expected;
            for (const auto& [id, value] : items)
                expected.Set(id, value);
            if (expected.Items() != table.Items())
                __builtin_trap();
        } else if (table.Items().size() != 1 || (*table.Items().begin()).second != "kept") {
            // A row not taken leaves the table as it was.
            __builtin_trap();
        }
    }
    // A path no row has, then a row written through the cache itself and
    // read back.
    CPropertyTable none;
    if (cache->Lookup(folder + "/none", SFileStatus{}, none))
        __builtin_trap();
    CPropertyTable written;
    written.Set("PB", "a");
    written.Set("", "b");
    const SFileStatus status{1, 2, 3, 4, 5};
    cache->Record("p", status, 1'000'000'000'000, written);
    cache->Flush();
    CPropertyTable back;
    if (cache->Lookup("p", status, back) && back.Items() != written.Items())
        __builtin_trap();
    return 0;
}
