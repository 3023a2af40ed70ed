#include "collection/CachedRead.h"

#include "cache/HeaderCache.h"
#include "collection/GameEntry.h"
#include "collection/PositionRowMaker.h"
#include "reader/GameReader.h"

bool ReadGameEntry(const std::string& path, CGameEntry& entry, IReadHooks& hooks, CHeaderCache* cache, bool trustRows,
                   CPositionRowMaker* rows)
{
    hooks.BeforeRead();
    // Every game of the file is read in the one pass over it.
    SMoreGames more;
    if (!cache) {
        // Without a cache the status comes from the open file: no second walk of the path.
        entry.m_status = {};
        if (!ReadGameFileContents(path, entry.m_props, hooks, &entry.m_status, nullptr, &more))
            return false;
        entry.SetMoreGames(std::move(more.tables));
        return true;
    }
    // The status comes before the read: a file written meanwhile has a newer
    // one, so its row is never taken for the new contents.
    const std::int64_t taken = WallClockNs();
    const bool known = StatGameFile(path, entry.m_status);
    if (!known)
        entry.m_status = {};
    if (known && trustRows && cache->Lookup(path, entry.m_status, entry.m_props, &more.tables)) {
        entry.SetMoreGames(std::move(more.tables));
        return true;
    }
    if (!rows || !known) {
        if (!ReadGameFileContents(path, entry.m_props, hooks, nullptr, nullptr, &more))
            return false;
        if (known)
            cache->Record(path, entry.m_status, taken, entry.m_props, nullptr, &more.tables);
        entry.SetMoreGames(std::move(more.tables));
        return true;
    }
    SGameFileBytes file;
    if (!ReadGameFileContents(path, entry.m_props, hooks, nullptr, &file, &more))
        return false;
    // The header row goes to the cache with the position rows, once made.
    rows->Add(*cache, path, entry.m_status, taken, std::move(file), entry.m_props, more);
    entry.SetMoreGames(std::move(more.tables));
    return true;
}
