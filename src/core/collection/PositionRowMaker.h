#pragma once

#include "collection/PositionRowBuilder.h"
#include "files/FileStatus.h"
#include "reader/GameReader.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CHeaderCache;

// Makes the position rows of the game files a document reads, on a thread of
// its own: the reading thread goes on to the next file while the main line
// of the last one is read and its row built, so on a machine of two cores
// the rows cost little more than the header values alone. The cache is used
// by the reading thread only: finished rows wait here until it stores them.
// The builder runs on the maker's thread, so it must not touch anything the
// reading thread changes.
class CPositionRowMaker
{
public:
    explicit CPositionRowMaker(PositionRowBuilder build);
    ~CPositionRowMaker();
    CPositionRowMaker(const CPositionRowMaker&) = delete;
    CPositionRowMaker& operator=(const CPositionRowMaker&) = delete;

    // Queues the row of a file whose root node gave table, read with status
    // taken at takenNs; waits while many are queued. The file's header row
    // goes to the cache with its position row, once made; rows made
    // meanwhile go to cache.
    // The games after the first of a file of several are in more; their rows
    // are kept one after the other in the file's one position row.
    void Add(CHeaderCache& cache, const std::string& path, const SFileStatus& status, std::int64_t takenNs,
             SGameFileBytes file, const CPropertyTable& table, const SMoreGames& more = {});
    // Stores the rows made so far in cache, without waiting.
    void StoreMade(CHeaderCache& cache);
    // Waits for every queued row and stores it in cache.
    void Finish(CHeaderCache& cache);
    // Waits for every queued row and drops it (the cache they were for is
    // going away).
    void Drop();

private:
    struct SJob
    {
        std::string path;
        SFileStatus status;
        std::int64_t takenNs = 0;
        SGameFileBytes file;
        CPropertyTable table;
        SMoreGames more;
        std::string row;
        // False when no row could be made: the header row goes alone.
        bool made = true;
    };

    void Run();
    // The position row of a job's file: its one game's, or its games' rows
    // kept one after the other.
    std::string MakeRow(const SJob& job) const;
    // Queues the gathered jobs; with wait, first waits for room.
    void HandOver(bool wait);
    void WaitIdle(std::unique_lock<std::mutex>& lock);
    void Store(CHeaderCache& cache, std::vector<SJob>& made);

    const PositionRowBuilder m_build;
    std::mutex m_mutex;
    std::condition_variable m_wake;  // a job was queued, or the end
    std::condition_variable m_moved; // a job was made: room in the queue
    std::deque<SJob> m_queued;
    std::vector<SJob> m_made;
    // Jobs of the reading thread not yet queued: they are handed over a few
    // at a time, so waking the maker's thread costs little a file.
    std::vector<SJob> m_gathered;
    bool m_busy = false; // the thread is making a job taken off the queue
    bool m_stop = false;
    std::thread m_thread;
};
