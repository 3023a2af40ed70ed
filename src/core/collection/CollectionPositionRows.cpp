#include "collection/CollectionPositionRows.h"

#include "cache/HeaderCache.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "files/FileStatus.h"
#include "reader/GameReader.h"
#include "reader/GameRecord.h"
#include "reader/GameRecordReader.h"
#include "util/Framed.h"

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
        std::vector<std::string_view> rows;
        cache->ForEachPositionRow([&](std::string_view rowPath, const SFileStatus& status, std::string_view row) {
            const CGameEntry* entry = doc.m_mapFiles.Find(rowPath);
            // A row of another status is of other contents than the ones
            // the document shows.
            if (summary.stopped || !entry || !(entry->m_status == status) || !done.insert(entry).second)
                return;
            path.assign(rowPath);
            // A file of several games keeps their rows one after the other;
            // rows of another number of games are of other contents.
            const std::size_t games = entry->GameCount();
            bool whole = true;
            if (games == 1)
                rows.assign(1, row);
            else
                whole = SplitFramed(row, rows) && rows.size() == games;
            if (whole && f(path, rows)) {
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
        // One game's record at a time: a file of many games never holds
        // all its records at once.
        std::vector<std::string> made;
        const bool read =
            known && ForEachGameRecord(path, [&](std::size_t, SGameRecord& record) { made.push_back(build(record)); });
        if (!read || made.empty()) {
            ++summary.unreadable;
            continue;
        }
        std::string row;
        if (made.size() == 1) {
            row = std::move(made.front());
            f(path, {row});
        } else {
            for (const std::string& one : made)
                AppendFramed(row, one);
            f(path, std::vector<std::string_view>(made.begin(), made.end()));
        }
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
