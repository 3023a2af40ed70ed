#include "pattern/PatternSearch.h"

#include "pattern/GameMatcher.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <tuple>

namespace {

// Games are handed to the threads in blocks: small enough to share the
// work evenly, large enough that taking one costs nothing.
constexpr std::uint32_t kGamesPerBlock = 512;

struct SGameOutcome
{
    bool hit = false;
    CGameMatcher::SOutcome outcome;
};

} // namespace

SPatternResult SearchPattern(const CPositionIndex& index, const SPattern& pattern, unsigned threads)
{
    const CPreparedPattern prepared(pattern);
    const auto games = static_cast<std::uint32_t>(index.GameCount());
    std::vector<SGameOutcome> outcomes(games);
    std::atomic<std::uint32_t> nextBlock{0};
    const auto work = [&] {
        CGameMatcher matcher(prepared);
        while (true) {
            const std::uint32_t first = nextBlock.fetch_add(kGamesPerBlock);
            if (first >= games)
                return;
            const std::uint32_t end = std::min(games, first + kGamesPerBlock);
            for (std::uint32_t g = first; g < end; ++g) {
                if (std::optional<CGameMatcher::SOutcome> outcome = matcher.Match(index.Game(g)))
                    outcomes[g] = {true, std::move(*outcome)};
            }
        }
    };
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, games / kGamesPerBlock + 1);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();

    SPatternResult result;
    for (std::uint32_t g = 0; g < games; ++g) {
        if (outcomes[g].hit)
            result.hits.push_back({g, outcomes[g].outcome.firstHit, outcomes[g].outcome.continuation});
    }
    result.continuations = TallyContinuations(index, result.hits);
    return result;
}

std::vector<SContinuationStats> TallyContinuations(const CPositionIndex& index, const std::vector<SPatternHit>& hits)
{
    std::map<std::tuple<int, int, EStone>, SContinuationStats> byMove;
    for (const SPatternHit& hit : hits) {
        if (!hit.continuation)
            continue;
        const SPatternMove& move = *hit.continuation;
        SContinuationStats& stats = byMove[{move.x, move.y, move.colour}];
        stats.x = move.x;
        stats.y = move.y;
        stats.colour = move.colour;
        ++stats.games;
        EStone winner = index.Winner(hit.game);
        if (move.exchanged && winner != EStone::Empty)
            winner = Opponent(winner);
        if (winner == EStone::Black)
            ++stats.blackWins;
        else if (winner == EStone::White)
            ++stats.whiteWins;
    }
    std::vector<SContinuationStats> table;
    for (const auto& entry : byMove)
        table.push_back(entry.second);
    std::sort(table.begin(), table.end(), [](const SContinuationStats& a, const SContinuationStats& b) {
        if (a.games != b.games)
            return a.games > b.games;
        return PatternMoveBefore({a.x, a.y, a.colour, false}, {b.x, b.y, b.colour, false});
    });
    return table;
}
