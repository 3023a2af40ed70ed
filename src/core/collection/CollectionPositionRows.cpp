#include "collection/CollectionPositionRows.h"

#include "cache/HeaderCache.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "files/FileStatus.h"
#include "reader/GameRecord.h"
#include "reader/GameRecordReader.h"

#include <unordered_set>
#include <vector>

SPositionRowsSummary ForEachCollectionPositionRow(CVarnexDoc& doc, const CollectionRowVisitor& f,
                                                  const std::function<bool()>& stop)
{
    SPositionRowsSummary summary;
    const PositionRowBuilder& build = doc.PositionRows();
    if (!build)
        return summary;
    doc.FinishPositionRows();
    CHeaderCache* cache = doc.HeaderCache();
    // The entries given a row so far. A path has one row in the cache at
    // most (one id a path), so no entry is given two.
    std::unordered_set<const CGameEntry*> done;
    done.reserve(doc.m_mapFiles.size());
    if (cache) {
        std::string path;
        cache->ForEachPositionRow([&](std::string_view rowPath, const SFileStatus& status, std::string_view row) {
            const CGameEntry* entry = doc.m_mapFiles.Find(rowPath);
            // A row of another status is of other contents than the ones
            // the document shows.
            if (summary.stopped || !entry || !(entry->m_status == status) || !done.insert(entry).second)
                return;
            path.assign(rowPath);
            if (f(path, row)) {
                ++summary.fromCache;
            } else {
                // Refused by the caller (a row of an older format, or one
                // damaged in a way only its reader sees): made again below.
                done.erase(entry);
                ++summary.refused;
            }
            summary.stopped = stop && stop();
        });
    }
    if (summary.stopped || done.size() == doc.m_mapFiles.size())
        return summary;

    std::vector<std::string> missing;
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        if (!done.count(&entry))
            missing.push_back(path);
    });
    for (const std::string& path : missing) {
        // The status before the read, as for a header row: a file written
        // meanwhile gets a newer one, and its row is never trusted for it.
        const std::int64_t taken = WallClockNs();
        SFileStatus status;
        const bool known = StatGameFile(path, status);
        const SGameRecord record = ReadGameRecordFile(path);
        if (!known || record.problem == EGameProblem::CannotOpen) {
            ++summary.unreadable;
            continue;
        }
        std::string row = build(record);
        f(path, row);
        ++summary.built;
        if (cache)
            cache->RecordPositions(path, status, taken, std::move(row));
        if (stop && stop()) {
            summary.stopped = true;
            break;
        }
    }
    if (cache)
        cache->Flush();
    return summary;
}
