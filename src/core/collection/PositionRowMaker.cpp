#include "collection/PositionRowMaker.h"

#include "cache/HeaderCache.h"
#include "reader/GameRecord.h"
#include "util/Framed.h"

#include <new>

namespace {

// Files read ahead of the rows made: enough to keep both threads busy,
// few enough that their bytes hold little memory.
constexpr std::size_t kMaxQueued = 256;
// Jobs handed over at once.
constexpr std::size_t kGathered = 32;

} // namespace

CPositionRowMaker::CPositionRowMaker(PositionRowBuilder build) : m_build(std::move(build)), m_thread([this] { Run(); })
{
}

CPositionRowMaker::~CPositionRowMaker()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CPositionRowMaker::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queued.empty(); });
        if (m_queued.empty())
            return;
        SJob job = std::move(m_queued.front());
        m_queued.pop_front();
        m_busy = true;
        lock.unlock();
        try {
            job.row = MakeRow(job);
        } catch (const std::bad_alloc&) {
            // The row of a record too large for the memory left, as the
            // reader gives one; failing that none.
            job.file.text = std::string();
            try {
                SGameRecord tooLarge;
                tooLarge.problem = EGameProblem::TooLarge;
                job.row = m_build(tooLarge);
            } catch (const std::bad_alloc&) {
                job.made = false;
            }
        }
        job.file.text = std::string();
        lock.lock();
        m_busy = false;
        m_made.push_back(std::move(job));
        m_moved.notify_all();
    }
}

std::string CPositionRowMaker::MakeRow(const SJob& job) const
{
    if (job.more.tables.empty())
        return m_build(MainLineOf(job.file, job.table));
    std::string rows;
    AppendFramed(rows, m_build(MainLineOf(job.file, job.table)));
    for (std::size_t i = 0; i < job.more.tables.size(); ++i)
        AppendFramed(rows, m_build(MainLineOf(job.file, job.more.tables[i], kMaxRecordBytes, job.more.starts[i])));
    return rows;
}

void CPositionRowMaker::Add(CHeaderCache& cache, const std::string& path, const SFileStatus& status,
                            std::int64_t takenNs, SGameFileBytes file, const CPropertyTable& table,
                            const SMoreGames& more)
{
    SJob job;
    job.more = more;
    job.path = path;
    job.status = status;
    job.takenNs = takenNs;
    job.file = std::move(file);
    job.table = table;
    m_gathered.push_back(std::move(job));
    if (m_gathered.size() >= kGathered) {
        HandOver(true);
        StoreMade(cache);
    }
}

void CPositionRowMaker::HandOver(bool wait)
{
    if (m_gathered.empty())
        return;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (wait)
            m_moved.wait(lock, [this] { return m_queued.size() < kMaxQueued; });
        for (SJob& job : m_gathered)
            m_queued.push_back(std::move(job));
    }
    m_gathered.clear();
    m_wake.notify_one();
}

void CPositionRowMaker::StoreMade(CHeaderCache& cache)
{
    std::vector<SJob> made;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        made.swap(m_made);
    }
    Store(cache, made);
}

void CPositionRowMaker::WaitIdle(std::unique_lock<std::mutex>& lock)
{
    m_moved.wait(lock, [this] { return m_queued.empty() && !m_busy; });
}

void CPositionRowMaker::Finish(CHeaderCache& cache)
{
    HandOver(false);
    std::vector<SJob> made;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        WaitIdle(lock);
        made.swap(m_made);
    }
    Store(cache, made);
}

void CPositionRowMaker::Drop()
{
    m_gathered.clear();
    std::unique_lock<std::mutex> lock(m_mutex);
    WaitIdle(lock);
    m_made.clear();
}

void CPositionRowMaker::Store(CHeaderCache& cache, std::vector<SJob>& made)
{
    for (SJob& job : made)
        cache.Record(job.path, job.status, job.takenNs, job.table, job.made ? &job.row : nullptr, &job.more.tables);
}
