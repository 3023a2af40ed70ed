// What position rows cost: adding a tree of game files to a new collection
// with the header cache, without and with a builder of position rows (one
// that plays each game and writes 2 bytes a move, as an index does), and
// fetching the rows of every game of the collection again for a search,
// which reads no game file.
#include "ToolArgs.h"

#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/CollectionPositionRows.h"
#include "collection/VarnexDoc.h"
#include "files/FileStatus.h"
#include "game/GameTimeline.h"
#include "reader/GameRecord.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <time.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time in milliseconds: of the process, or of the calling thread.
double CpuMs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// On a shared machine the wall clock says more about the other programs
// than about this one; the processor times are kept beside it.
struct STimes
{
    double wall = 1e300;
    double process = 1e300;
    double reading = 1e300;

    void KeepBest(const STimes& other)
    {
        wall = std::min(wall, other.wall);
        process = std::min(process, other.process);
        reading = std::min(reading, other.reading);
    }
};

std::string PlayedRow(const SGameRecord& record)
{
    const CGameTimeline timeline(record);
    std::string row;
    row.reserve(2 * static_cast<std::size_t>(timeline.PlayedCount()) + 1);
    row += static_cast<char>(record.width);
    for (int m = 0; m < timeline.PlayedCount(); ++m) {
        const SGameMove& move = record.moves[static_cast<std::size_t>(m)];
        row += static_cast<char>(move.kind == SGameMove::EKind::Play ? move.x : 0xFF);
        row += static_cast<char>(move.y | (move.colour == EStone::White ? 0x80 : 0));
    }
    return row;
}

// The same bytes without playing: what the reading and storing cost alone.
std::string MovesRow(const SGameRecord& record)
{
    std::string row;
    row.reserve(2 * record.moves.size() + 1);
    row += static_cast<char>(record.width);
    for (const SGameMove& move : record.moves) {
        row += static_cast<char>(move.kind == SGameMove::EKind::Play ? move.x : 0xFF);
        row += static_cast<char>(move.y | (move.colour == EStone::White ? 0x80 : 0));
    }
    return row;
}

void RemoveCache(const std::string& folder)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
}

// Adds the tree to a new collection with a new cache, as varnex-cli add
// does, and saves it.
STimes Add(const std::string& tree, const std::string& collection, const std::string& cacheFolder,
           const PositionRowBuilder& rows)
{
    RemoveCache(cacheFolder);
    fs::remove(collection);
    const auto start = Clock::now();
    const double process = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const double reading = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    CVarnexDoc doc;
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, collection));
    if (rows)
        doc.SetPositionRowBuilder(rows);
    const SAddSummary summary = doc.AddBatch({tree});
    doc.FlushHeaderCache();
    if (!SaveCollectionFile(doc, collection))
        std::fprintf(stderr, "varnex-bench-position-rows: cannot save %s\n", collection.c_str());
    STimes times;
    times.wall = MsSince(start);
    times.process = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - process;
    times.reading = CpuMs(CLOCK_THREAD_CPUTIME_ID) - reading;
    if (summary.added == 0)
        std::fprintf(stderr, "varnex-bench-position-rows: nothing added from %s\n", tree.c_str());
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: varnex-bench-position-rows TREE WORKFOLDER\n"
                        "Adds the game files of TREE to a collection in WORKFOLDER with and without\n"
                        "position rows, then fetches every row again.\n";
    if (const auto status = CheckToolArgs(argc, argv, usage))
        return *status;
    if (argc != 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    // Absolute, as the collection stores its paths relative to its own folder.
    const std::string tree = fs::absolute(argv[1]).lexically_normal().string();
    const fs::path work = argv[2];
    fs::create_directories(work);
    const std::string collection = (work / "rows.vnx").string();
    const std::string cacheFolder = (work / "cache").string();

    // Each kind twice, alternating, so the file system's cache is as warm
    // for one as for the other.
    STimes without;
    STimes moves;
    STimes with;
    for (int round = 0; round < 2; ++round) {
        without.KeepBest(Add(tree, collection, cacheFolder, {}));
        moves.KeepBest(Add(tree, collection, cacheFolder, MovesRow));
        with.KeepBest(Add(tree, collection, cacheFolder, PlayedRow));
    }
    const auto more = [](double a, double b) { return 100.0 * (b - a) / a; };
    std::printf("add with the header cache, new cache, without position rows: %.0f ms (processor %.0f ms)\n",
                without.wall, without.process);
    const auto report = [&](const char* what, const STimes& t) {
        std::printf("the same with %s: %.0f ms (+%.0f %%), processor %.0f ms (+%.0f %%), of it the reading thread "
                    "%.0f ms (+%.0f %%)\n",
                    what, t.wall, more(without.wall, t.wall), t.process, more(without.process, t.process), t.reading,
                    more(without.reading, t.reading));
    };
    report("rows of 2 bytes a move, not played", moves);
    report("rows of a builder that plays each game", with);

    // The collection and the cache the last add left, opened as a search
    // opens them, then every row fetched.
    CVarnexDoc doc;
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, collection));
    doc.SetPositionRowBuilder(PlayedRow);
    auto start = Clock::now();
    std::string error;
    if (!LoadCollectionFile(doc, collection, &error))
        std::fprintf(stderr, "varnex-bench-position-rows: cannot open %s: %s\n", collection.c_str(), error.c_str());
    const double open = MsSince(start);

    std::size_t rawRows = 0;
    std::size_t rawBytes = 0;
    start = Clock::now();
    doc.HeaderCache()->ForEachPositionRow([&](std::string_view, const SFileStatus&, std::string_view row) {
        ++rawRows;
        rawBytes += row.size();
    });
    const double walk = MsSince(start);

    // A search that does not open the document: the rows walked, each
    // checked against its file's status now.
    std::size_t current = 0;
    start = Clock::now();
    doc.HeaderCache()->ForEachPositionRow([&](std::string_view path, const SFileStatus& stored, std::string_view) {
        SFileStatus status;
        current += StatGameFile(std::string(path), status) && status == stored;
    });
    const double walkAndStat = MsSince(start);

    std::size_t bytes = 0;
    start = Clock::now();
    const SPositionRowsSummary summary =
        ForEachCollectionPositionRow(doc, [&](const std::string&, const std::vector<std::string_view>& rows) {
            for (std::string_view row : rows)
                bytes += row.size();
            return true;
        });
    const double fetch = MsSince(start);
    std::printf("open of the collection (%zu games, %zu not read) with the cache: %.0f ms\n", doc.m_mapFiles.size(),
                doc.m_unread.size(), open);
    std::printf("walk of the cache's position rows: %zu rows, %.1f MB, %.0f ms\n", rawRows, rawBytes / 1e6, walk);
    std::printf("walk of the position rows, each file's status taken and compared: %zu current, %.0f ms\n", current,
                walkAndStat);
    std::printf("position rows of every game, matched with the collection: %zu from the cache, %zu made, "
                "%zu unreadable, %.1f MB, %.0f ms\n",
                summary.fromCache, summary.built, summary.unreadable, bytes / 1e6, fetch);
    RemoveCache(cacheFolder);
    fs::remove(collection);
    return 0;
}
