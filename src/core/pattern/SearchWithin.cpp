#include "pattern/SearchWithin.h"

#include "pattern/GameMatcher.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// Games are handed out in blocks, as the whole search does.
constexpr std::size_t kGamesPerBlock = 256;

} // namespace

std::vector<SPatternHit> SearchPatternWithin(const CPositionIndex& index, const SPattern& pattern,
                                             const std::vector<std::uint32_t>& games, unsigned threads)
{
    const CPreparedPattern prepared(pattern);
    std::vector<std::optional<CGameMatcher::SOutcome>> outcomes(games.size());
    std::atomic<std::size_t> nextBlock{0};
    const auto work = [&] {
        CGameMatcher matcher(prepared);
        while (true) {
            const std::size_t first = nextBlock.fetch_add(kGamesPerBlock);
            if (first >= games.size())
                return;
            const std::size_t end = std::min(games.size(), first + kGamesPerBlock);
            for (std::size_t i = first; i < end; ++i)
                outcomes[i] = matcher.Match(index.Game(games[i]));
        }
    };
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, static_cast<unsigned>(games.size() / kGamesPerBlock + 1));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();

    std::vector<SPatternHit> hits;
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (outcomes[i])
            hits.push_back({games[i], outcomes[i]->firstHit, std::move(outcomes[i]->continuation)});
    }
    return hits;
}
