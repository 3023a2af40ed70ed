// Position search over an archive-shaped collection, as varnex-cli pattern
// runs it: the collection is added once (header values and position rows
// into the header cache), then the index is loaded from the cache and every
// query of the query file is answered, each timed on its own. Prints the
// load, the bytes of the index a game, each query's time and games found,
// and the median and the worst. Prints; never fails.
#include "ToolArgs.h"

#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/CollectionPositionIndex.h"
#include "collection/VarnexDoc.h"
#include "pattern/Pattern.h"
#include "pattern/PatternSearch.h"
#include "pattern/PositionRow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct SQuery
{
    std::string text;
    SPattern pattern;
};

std::vector<SQuery> ReadQueries(const char* file)
{
    std::vector<SQuery> queries;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string region, rows, fixed;
        if (!(words >> region >> rows))
            continue;
        words >> fixed;
        SPatternParse parse = ParsePattern(region, rows, SGameRecord::kDefaultSize, fixed == "fixed");
        if (parse.pattern)
            queries.push_back({line, std::move(*parse.pattern)});
        else
            std::printf("  query not read (%s): %s\n", parse.error.c_str(), line.c_str());
    }
    return queries;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: varnex-bench-pattern-archive COLLECTION.vnx CACHE_FOLDER QUERIES\n"
                        "  COLLECTION.vnx was added with its header cache in CACHE_FOLDER\n";
    if (const auto status = CheckToolArgs(argc, argv, usage))
        return *status;
    if (argc < 4) {
        std::fputs(usage, stderr);
        return 2;
    }
    const std::vector<SQuery> queries = ReadQueries(argv[3]);

    const auto loadStart = Clock::now();
    CVarnexDoc doc;
    doc.SetHeaderCache(CHeaderCache::Open(argv[2], argv[1]));
    doc.SetPositionRowBuilder(BuildPositionRow);
    std::string error;
    if (!LoadCollectionFile(doc, argv[1], &error)) {
        std::printf("cannot open %s: %s\n", argv[1], error.c_str());
        return 0;
    }
    const double openMs = MsSince(loadStart);
    const SCollectionIndex loaded = LoadCollectionIndex(doc);
    const double loadMs = MsSince(loadStart);
    const double games = static_cast<double>(loaded.index.GameCount());
    std::printf("position index of %zu games: collection opened in %.0f ms, index loaded in %.0f ms more "
                "(%zu rows from the cache, %zu made); %.0f bytes a game (target <= 600)\n",
                loaded.index.GameCount(), openMs, loadMs - openMs, loaded.summary.fromCache, loaded.summary.built,
                games > 0 ? static_cast<double>(loaded.index.MemoryBytes()) / games : 0.0);

    std::vector<double> times;
    for (const SQuery& query : queries) {
        // The best of three: the first run warms the caches of the processor.
        double best = 1e30;
        std::size_t found = 0;
        std::size_t continuations = 0;
        for (int run = 0; run < 3; ++run) {
            const auto start = Clock::now();
            const SPatternResult result = SearchPattern(loaded.index, query.pattern);
            best = std::min(best, MsSince(start));
            found = result.hits.size();
            continuations = result.continuations.size();
        }
        times.push_back(best);
        std::printf("  %8.1f ms  %7zu games  %4zu continuations  %s\n", best, found, continuations, query.text.c_str());
    }
    if (!times.empty())
        std::printf("queries: %zu, median %.1f ms (target <= 20), worst %.1f ms (target <= 100)\n", times.size(),
                    Median(times), *std::max_element(times.begin(), times.end()));
    return 0;
}
