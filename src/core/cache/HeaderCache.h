#pragma once

#include "files/FileStatus.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CPropertyTable;
struct sqlite3;
struct sqlite3_stmt;

struct SHeaderCacheOptions
{
    // How long a statement waits for another program's lock; after that the
    // cache gives up (reads go to the files, writes are dropped).
    int busyTimeoutMs = 2000;
    // File times move in coarse ticks (a jiffy, two seconds on FAT): a file
    // changed this shortly before it was read could change again without a
    // new status, so its row is not trusted and the file is read again.
    std::int64_t racyMarginNs = 2'000'000'000;
};

// The root-node values of the game files of one collection, kept in an
// SQLite database beside the file status they were read with, so opening
// the collection again reads only the files that changed. Beside each
// header row a file may have a position row (bytes the cache does not look
// into, made from the whole game by whoever reads it), kept and checked the
// same way, so a search over the collection reads no game file. Only an
// accelerator: a database of ours that is missing, of another schema or
// another collection, or damaged is rebuilt; one locked by another program
// is left alone; no failure of it ever reaches the user. Every row carries a
// checksum, because SQLite does not notice bytes changed inside a row.
// Ours are marked with kApplicationId: a database without the mark that has
// tables is someone else's and is never changed (the cache is not used),
// and no symbolic link at the cache's path is ever followed. A table of
// its own keeps the board pictures of the list's icons, one row per game of
// a file and position shown, checked the same way.
class CHeaderCache
{
public:
    static constexpr int kSchemaVersion = 4;
    // The database header's application id of a header cache ("VnxC").
    static constexpr int kApplicationId = 0x566E7843;

    // The database of collectionPath in folder: one per collection path.
    static std::string FileFor(const std::string& folder, const std::string& collectionPath);

    // The cache of collectionPath, created or rebuilt as needed; nothing
    // when no usable database can be had (locked, no folder, no space).
    static std::shared_ptr<CHeaderCache> Open(const std::string& folder, const std::string& collectionPath,
                                              const SHeaderCacheOptions& options = {});
    ~CHeaderCache();
    CHeaderCache(const CHeaderCache&) = delete;
    CHeaderCache& operator=(const CHeaderCache&) = delete;

    // The values stored for path, when its row was written with status and
    // can be trusted; table is left as it was otherwise. more, when given,
    // gets the games after the first of a file of several (emptied for a
    // file of one).
    bool Lookup(const std::string& path, const SFileStatus& status, CPropertyTable& table,
                std::vector<CPropertyTable>* more = nullptr);
    // Replaces the row of path with the values read after status was taken
    // at statusTakenNs (wall clock), and its position row with positionRow
    // (none when not given: one of earlier contents with the same status
    // goes). more holds the games after the first of a file of several.
    // Rows are written in batches.
    void Record(const std::string& path, const SFileStatus& status, std::int64_t statusTakenNs,
                const CPropertyTable& table, const std::string* positionRow = nullptr,
                const std::vector<CPropertyTable>* more = nullptr);
    // Replaces the position row of path alone, leaving its header row as it
    // is: a search that completes the index of files read before. The row
    // is kept only when the header row of path was written with status.
    void RecordPositions(const std::string& path, const SFileStatus& status, std::int64_t statusTakenNs,
                         std::string positionRow);
    // Writes the rows recorded so far.
    void Flush();

    // The position row stored for path, when it was written with status and
    // can be trusted; row is left as it was otherwise.
    bool LookupPositions(const std::string& path, const SFileStatus& status, std::string& row);
    // Calls f with every position row that can be trusted, with its path and
    // the status it was written with (the caller compares that with the
    // file's), in the order the rows were written. Rows recorded before are
    // written first. The views are valid during the call only.
    using PositionRowVisitor =
        std::function<void(std::string_view path, const SFileStatus& status, std::string_view row)>;
    void ForEachPositionRow(const PositionRowVisitor& f);

    // The picture bytes stored for game (0-based) of path at openAt, when
    // they were written with status and can be trusted; picture is left as
    // it was otherwise.
    bool LookupPicture(const std::string& path, std::uint32_t game, std::int32_t openAt, const SFileStatus& status,
                       std::string& picture);
    // Replaces the picture row of game of path at openAt with bytes made
    // from the file after status was taken at statusTakenNs. Written with
    // the next batch of rows.
    void RecordPicture(const std::string& path, std::uint32_t game, std::int32_t openAt, const SFileStatus& status,
                       std::int64_t statusTakenNs, std::string picture);

    // Where a cache is, so another thread can open a connection of its own
    // to it (a connection serves one thread at a time).
    struct SPlace
    {
        std::string file;
        std::string collection;
        SHeaderCacheOptions options;
    };
    SPlace Place() const { return {m_file, m_collection, m_options}; }
    static std::shared_ptr<CHeaderCache> OpenPlace(const SPlace& place);

    struct SCounts
    {
        long long hits = 0;
        long long misses = 0;
    };
    const SCounts& Counts() const { return m_counts; }
    const std::string& File() const { return m_file; }

private:
    struct SRow
    {
        std::string path;
        std::int64_t id = 0;
        SFileStatus status;
        std::int64_t readNs = 0;
        std::string props;
        // The position row alone, into the file's header row.
        bool positionsOnly = false;
        bool hasPositions = false;
        std::string positions;
        bool hasGames = false;
        std::string games;
    };

    CHeaderCache(std::string file, std::string collection, const SHeaderCacheOptions& options);
    static SRow NewRow(const std::string& path, const SFileStatus& status, std::int64_t readNs);
    bool Connect();
    int OpenAndCheck();
    bool SafeToOpen() const;
    int CheckOurs();
    int ResetIfStale();
    bool Matches();
    std::int64_t RowId(const std::string& path) const;
    // Lookups share one read transaction per this many: a transaction of its
    // own for each would cost more than reading a small game file.
    static constexpr int kReadsPerTransaction = 4096;
    void BeginRead();
    // Counts a lookup done; the last of a transaction ends it.
    void CountRead();
    void EndRead();
    // The scan of rows in the order they were written: stands on a row not
    // yet taken, has passed the one it stood on, reached the end, or is
    // stopped (reset, to go on after m_scanAfter).
    enum class EScan { Stopped, OnRow, Passed, AtEnd };
    // Steps the scan to a row not yet taken: SQLITE_ROW, SQLITE_DONE at the
    // end, or the error.
    int ScanRow();
    void StopScan();
    void Close();
    // The statements of the position rows; the table is made with the rest.
    int PreparePositions();
    void ClosePositions();
    // Writes the position row of row into its header row, when that was
    // written with the same status: SQLITE_DONE or the error.
    int WritePositions(const SRow& row);
    void RemoveFiles() const;
    // The table of pictures and its statements; a database that cannot get
    // the table (another program holds it) is used without pictures.
    void PreparePictures();
    void ClosePictures();
    // Writes the pictures recorded so far inside the open write transaction:
    // SQLITE_OK or the error.
    int WritePictures();
    // A statement failed: damage rebuilds the database, anything else stops
    // the writes for this session.
    void Failed(int rc);

    std::string m_file;
    std::string m_collection;
    SHeaderCacheOptions m_options;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_select = nullptr;
    sqlite3_stmt* m_replace = nullptr;
    sqlite3_stmt* m_scan = nullptr;
    sqlite3_stmt* m_selectPositions = nullptr;
    sqlite3_stmt* m_updatePositions = nullptr;
    sqlite3_stmt* m_selectPicture = nullptr;
    sqlite3_stmt* m_replacePicture = nullptr;
    EScan m_scanState = EScan::Stopped;
    std::int64_t m_scanAfter = 0;
    // Lookups in a row that the scan's next row did not answer. Rows written
    // in another order than they are asked for (by an add that walked the
    // folders, then an open in the collection's order) would cost a wasted
    // step and a new seek each; after a run of misses the scan is given up
    // and rows are searched by id alone.
    int m_scanMisses = 0;
    // The database's own key of the row ids.
    std::uint64_t m_key0 = 0;
    std::uint64_t m_key1 = 0;
    bool m_writable = true;
    // The database carries the mark of ours (else it is new, or a cache
    // written before the mark was, and gets it).
    bool m_marked = false;
    // Lookups in the open read transaction, plus one; 0 when none is open.
    int m_readsOpen = 0;
    std::vector<SRow> m_pending;
    struct SPictureRow
    {
        std::string path;
        std::uint32_t game = 0;
        std::int32_t openAt = 0;
        SFileStatus status;
        std::int64_t readNs = 0;
        std::string picture;
    };
    std::vector<SPictureRow> m_pendingPictures;
    SCounts m_counts;
};
