#include "game/DuplicateGroups.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

namespace {

// Sets of files joined by a shared hash; a flat parent array keeps the
// memory per file small for collections of 100,000 files.
class CUnionFind
{
public:
    explicit CUnionFind(std::size_t count) : m_parent(count) { std::iota(m_parent.begin(), m_parent.end(), 0u); }
    std::uint32_t Root(std::uint32_t i)
    {
        while (m_parent[i] != i) {
            m_parent[i] = m_parent[m_parent[i]];
            i = m_parent[i];
        }
        return i;
    }
    void Join(std::uint32_t a, std::uint32_t b) { m_parent[Root(a)] = Root(b); }

private:
    std::vector<std::uint32_t> m_parent;
};

// Joins every run of equal hashes (0 is no hash).
void JoinRuns(std::vector<std::pair<std::uint64_t, std::uint32_t>>& hashes, CUnionFind& sets,
              std::vector<std::uint8_t>& linked)
{
    std::sort(hashes.begin(), hashes.end());
    for (std::size_t i = 1; i < hashes.size(); ++i) {
        if (hashes[i].first == hashes[i - 1].first) {
            sets.Join(hashes[i].second, hashes[i - 1].second);
            linked[hashes[i].second] = linked[hashes[i - 1].second] = 1;
        }
    }
}

bool StartsWith(const std::vector<std::uint32_t>& tokens, const std::vector<std::uint32_t>& start)
{
    return tokens.size() > start.size() && std::equal(start.begin(), start.end(), tokens.begin());
}

} // namespace

std::vector<std::vector<std::size_t>> CandidateSets(const std::vector<const SDuplicateKey*>& keys)
{
    std::vector<std::pair<std::uint64_t, std::uint32_t>> hashes;
    hashes.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] && keys[i]->usable)
            hashes.emplace_back(keys[i]->gameHash, static_cast<std::uint32_t>(i));
    }
    CUnionFind sets(keys.size());
    std::vector<std::uint8_t> linked(keys.size(), 0);
    JoinRuns(hashes, sets, linked);
    hashes.clear();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] && keys[i]->usable && keys[i]->prefixHash != 0)
            hashes.emplace_back(keys[i]->prefixHash, static_cast<std::uint32_t>(i));
    }
    JoinRuns(hashes, sets, linked);
    hashes = {};

    std::vector<std::pair<std::uint32_t, std::uint32_t>> members; // (root, index)
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (linked[i])
            members.emplace_back(sets.Root(static_cast<std::uint32_t>(i)), static_cast<std::uint32_t>(i));
    }
    std::sort(members.begin(), members.end());
    std::vector<std::vector<std::size_t>> result;
    for (std::size_t i = 0; i < members.size();) {
        std::size_t end = i;
        std::vector<std::size_t> set;
        while (end < members.size() && members[end].first == members[i].first)
            set.push_back(members[end++].second);
        if (set.size() >= 2)
            result.push_back(std::move(set));
        i = end;
    }
    return result;
}

std::vector<std::vector<std::size_t>> ExactGroups(const std::vector<SCanonicalGame>& games)
{
    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto less = [&games](std::size_t a, std::size_t b) {
        if (games[a].tokens != games[b].tokens)
            return games[a].tokens < games[b].tokens;
        return games[a].identity < games[b].identity;
    };
    std::sort(order.begin(), order.end(), less);

    // Classes of equal games, in sorted order. A game's longer copies sort
    // right after it (all that lies between a sequence and one that starts
    // with it starts with it too), so they are the run that follows.
    std::vector<std::size_t> classStart;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || less(order[i - 1], order[i]))
            classStart.push_back(i);
    }
    const std::size_t classes = classStart.size();
    auto gameOf = [&](std::size_t c) -> const SCanonicalGame& { return games[order[classStart[c]]]; };

    std::vector<std::size_t> target(classes);
    for (std::size_t c = 0; c < classes; ++c) {
        target[c] = c;
        const SCanonicalGame& game = gameOf(c);
        if (game.moves < kPrefixMoves)
            continue;
        // The longest of the games that start with this one: a cut copy that
        // two different longer games share goes with the longest of them.
        std::size_t best = c;
        for (std::size_t d = c + 1; d < classes && StartsWith(gameOf(d).tokens, game.tokens); ++d) {
            if (gameOf(d).tokens.size() > gameOf(best).tokens.size())
                best = d;
        }
        target[c] = best;
    }

    std::vector<std::vector<std::size_t>> byTarget(classes);
    for (std::size_t c = 0; c < classes; ++c) {
        const std::size_t end = c + 1 < classes ? classStart[c + 1] : order.size();
        for (std::size_t i = classStart[c]; i < end; ++i)
            byTarget[target[c]].push_back(order[i]);
    }
    std::vector<std::vector<std::size_t>> groups;
    for (std::vector<std::size_t>& group : byTarget) {
        if (group.size() >= 2)
            groups.push_back(std::move(group));
    }
    return groups;
}
