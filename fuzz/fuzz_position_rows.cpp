// Writes position rows of the input's paths, statuses and bytes through the
// header cache, then lets the input damage them in the database (bytes of a
// row, its status, its path or checksum, rows exchanged, the header row's
// bytes in its place, the table or the schema version) and the database
// file's own bytes. A position row the
// cache gives back, looked up or walked, is always exactly one it was given:
// a damaged row is never trusted.
#include "cache/HeaderCache.h"
#include "reader/PropertyTable.h"

#include "FuzzInput.h"
#include "FuzzWorkFolder.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

struct SRow
{
    std::string path;
    SFileStatus status;
    std::string positions;
};

// Rows are written this long after the file times, so they are settled.
constexpr std::int64_t kReadNs = std::int64_t{1} << 40;

// Changes the database behind the cache's back, as the input says.
void Damage(const std::string& file, CFuzzInput& input)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return;
    }
    for (int n = input.Byte() % 6; n > 0; --n) {
        const std::string rowid = std::to_string(input.Byte() % 9 + 1);
        const std::string other = std::to_string(input.Byte() % 9 + 1);
        const std::string number = std::to_string(input.Byte());
        std::string sql;
        switch (input.Byte() % 10) {
        case 0: // one byte of the row changed, or one added
            sql = "UPDATE headers SET positions = substr(positions, 1, " + number + ") || x'" +
                  (input.Byte() % 2 ? "00" : "ff") + "' || substr(positions, " + number +
                  " + 2) WHERE rowid = " + rowid;
            break;
        case 1:
            sql = "UPDATE headers SET positions = substr(positions, 1, length(positions) - 1) WHERE rowid = " + rowid;
            break;
        case 2:
            sql = "UPDATE headers SET size = size + " + number + " + 1 WHERE rowid = " + rowid;
            break;
        case 3:
            sql = "UPDATE headers SET positions_checksum = positions_checksum + 1 WHERE rowid = " + rowid;
            break;
        case 4: // the bytes of another row, with its checksum
            sql = "UPDATE headers SET (positions, positions_checksum) = (SELECT positions, positions_checksum FROM"
                  " headers WHERE rowid = " +
                  other + ") WHERE rowid = " + rowid;
            break;
        case 5:
            sql = "UPDATE headers SET path = (SELECT path FROM headers WHERE rowid = " + other +
                  ") WHERE rowid = " + rowid;
            break;
        case 6:
            sql = "UPDATE headers SET read_ns = read_ns - 1 WHERE rowid = " + rowid;
            break;
        case 7: // the header row's bytes in place of the position row's
            sql = "UPDATE headers SET positions = props, positions_checksum = checksum WHERE rowid = " + rowid;
            break;
        case 8:
            sql = "PRAGMA user_version = " + number;
            break;
        case 9:
            sql = input.Byte() % 2 ? "DROP TABLE headers" : "DELETE FROM headers WHERE rowid = " + rowid;
            break;
        }
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    // Now and then bytes of the file itself.
    const std::uint8_t count = input.Byte() % 4;
    std::FILE* f = count ? std::fopen(file.c_str(), "r+b") : nullptr;
    if (!f)
        return;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    for (std::uint8_t i = 0; i < count && size > 0; ++i) {
        std::fseek(f, static_cast<long>(input.Number(3) % static_cast<std::uint64_t>(size)), SEEK_SET);
        std::fputc(input.Byte(), f);
    }
    std::fclose(f);
}

const SRow* Written(const std::vector<SRow>& rows, std::string_view path)
{
    for (const SRow& row : rows)
        if (row.path == path)
            return &row;
    return nullptr;
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
    for (int n = input.Byte() % 9; n > 0 && !input.Empty(); --n) {
        SRow row;
        row.path.assign(input.Text(input.Byte() % 8));
        row.status.size = input.Number(1);
        row.status.mtimeNs = static_cast<std::int64_t>(input.Number(2));
        row.status.ctimeNs = static_cast<std::int64_t>(input.Number(2));
        row.status.inode = input.Number(1);
        row.positions.assign(input.Text(input.Byte()));
        if (!Written(rows, row.path))
            rows.push_back(std::move(row));
    }

    SHeaderCacheOptions options;
    options.busyTimeoutMs = 0;
    options.racyMarginNs = 0;
    {
        const auto cache = CHeaderCache::Open(folder, collection, options);
        if (!cache)
            return 0;
        CPropertyTable table;
        table.Set("PB", "b");
        // Half with their header row, half added to it as a search does.
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i % 2) {
                cache->Record(rows[i].path, rows[i].status, kReadNs, table);
                cache->RecordPositions(rows[i].path, rows[i].status, kReadNs, rows[i].positions);
            } else
                cache->Record(rows[i].path, rows[i].status, kReadNs, table, &rows[i].positions);
        }
    }
    Damage(file, input);

    const auto cache = CHeaderCache::Open(folder, collection, options);
    if (!cache)
        return 0;
    for (const SRow& row : rows) {
        std::string found = "kept";
        if (cache->LookupPositions(row.path, row.status, found) ? found != row.positions : found != "kept")
            __builtin_trap();
    }
    cache->ForEachPositionRow([&](std::string_view path, const SFileStatus& status, std::string_view bytes) {
        const SRow* row = Written(rows, path);
        if (!row || !(row->status == status) || row->positions != bytes)
            __builtin_trap();
    });
    return 0;
}
