#include "game/DuplicateGroups.h"

#include <algorithm>
#include <climits>
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
    CGameGrouping grouping;
    for (const SCanonicalGame& game : games)
        grouping.Add(game);
    return grouping.Groups();
}

CGameGrouping::CGameGrouping() : m_nodes(1) {}

std::uint32_t CGameGrouping::Child(std::uint32_t node, std::uint32_t token)
{
    SNode& parent = m_nodes[node];
    if (parent.firstChild != 0 && parent.firstToken == token)
        return parent.firstChild;
    const auto made = static_cast<std::uint32_t>(m_nodes.size());
    if (parent.firstChild == 0) {
        parent.firstToken = token;
        parent.firstChild = made;
        m_nodes.emplace_back();
        return made;
    }
    const auto [it, inserted] = m_moreChildren.try_emplace((std::uint64_t{node} << 32) | token, made);
    if (inserted)
        m_nodes.emplace_back();
    return it->second;
}

void CGameGrouping::Add(const SCanonicalGame& game)
{
    std::uint32_t node = 0;
    for (const std::uint32_t token : game.tokens)
        node = Child(node, token);
    m_games.push_back({node, game.moves, game.identity});
}

std::vector<std::vector<std::size_t>> CGameGrouping::Groups() const
{
    constexpr std::uint32_t kNone = UINT32_MAX;
    const std::size_t nodes = m_nodes.size();

    // Every node's children in token order, as ranges of one array, so that
    // a walk of the tree meets the forms in token order.
    std::vector<std::uint32_t> childStart(nodes + 1, 0);
    const auto forEachEdge = [this, nodes](const auto& visit) {
        for (std::uint32_t n = 0; n < nodes; ++n) {
            if (m_nodes[n].firstChild != 0)
                visit(n, m_nodes[n].firstToken, m_nodes[n].firstChild);
        }
        for (const auto& [edge, child] : m_moreChildren)
            visit(static_cast<std::uint32_t>(edge >> 32), static_cast<std::uint32_t>(edge), child);
    };
    forEachEdge([&childStart](std::uint32_t parent, std::uint32_t, std::uint32_t) { ++childStart[parent + 1]; });
    std::partial_sum(childStart.begin(), childStart.end(), childStart.begin());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> children(nodes - 1); // (token, child)
    {
        std::vector<std::uint32_t> fill(childStart.begin(), childStart.end() - 1);
        forEachEdge([&children, &fill](std::uint32_t parent, std::uint32_t token, std::uint32_t child) {
            children[fill[parent]++] = {token, child};
        });
    }
    for (std::size_t n = 0; n < nodes; ++n) {
        if (childStart[n + 1] - childStart[n] > 1)
            std::sort(children.begin() + childStart[n], children.begin() + childStart[n + 1]);
    }

    // Classes of equal games: the games of one node, by identity (only short
    // games have one), each class's games in the order added.
    std::vector<std::uint32_t> byNode(m_games.size());
    std::iota(byNode.begin(), byNode.end(), 0u);
    std::sort(byNode.begin(), byNode.end(), [this](std::uint32_t a, std::uint32_t b) {
        const SGame& x = m_games[a];
        const SGame& y = m_games[b];
        if (x.node != y.node)
            return x.node < y.node;
        if (x.identity != y.identity)
            return x.identity < y.identity;
        return a < b;
    });
    std::vector<std::uint32_t> classBegin; // into byNode; one past the last closes it
    std::vector<std::uint32_t> firstClass(nodes, kNone);
    for (std::uint32_t i = 0; i < byNode.size(); ++i) {
        const SGame& game = m_games[byNode[i]];
        if (i > 0 && game.node == m_games[byNode[i - 1]].node && game.identity == m_games[byNode[i - 1]].identity)
            continue;
        if (firstClass[game.node] == kNone)
            firstClass[game.node] = static_cast<std::uint32_t>(classBegin.size());
        classBegin.push_back(i);
    }
    const auto classes = static_cast<std::uint32_t>(classBegin.size());
    classBegin.push_back(static_cast<std::uint32_t>(byNode.size()));
    const auto nodeOfClass = [&](std::uint32_t c) { return m_games[byNode[classBegin[c]]].node; };

    // One walk, no recursion: classes in token order on the way down; on the
    // way up, each node's deepest form below it (of equal depths, the first
    // in token order), which is the longest game that starts with it.
    std::vector<std::uint32_t> depth(nodes, 0);
    std::vector<std::uint32_t> deepest(nodes, kNone); // in the node's tree, the node included
    std::vector<std::uint32_t> below(nodes, kNone);   // strictly below the node
    std::vector<std::uint32_t> classOrder;
    classOrder.reserve(classes);
    const auto visit = [&](std::uint32_t node) {
        for (std::uint32_t c = firstClass[node]; c < classes && nodeOfClass(c) == node; ++c)
            classOrder.push_back(c);
    };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{0u, childStart[0]}}; // (node, next child)
    visit(0);
    while (!stack.empty()) {
        const std::uint32_t node = stack.back().first;
        if (stack.back().second < childStart[node + 1]) {
            const std::uint32_t child = children[stack.back().second++].second;
            depth[child] = depth[node] + 1;
            visit(child);
            stack.emplace_back(child, childStart[child]);
            continue;
        }
        std::uint32_t best = kNone;
        for (std::uint32_t i = childStart[node]; i < childStart[node + 1]; ++i) {
            const std::uint32_t found = deepest[children[i].second];
            if (found != kNone && (best == kNone || depth[found] > depth[best]))
                best = found;
        }
        below[node] = best;
        deepest[node] = best != kNone ? best : firstClass[node] != kNone ? node : kNone;
        stack.pop_back();
    }

    // A copy cut short (kPrefixMoves moves or more) goes with the longest
    // game that starts with it.
    std::vector<std::vector<std::size_t>> byTarget(classes);
    for (const std::uint32_t c : classOrder) {
        const std::uint32_t node = nodeOfClass(c);
        const bool joins = m_games[byNode[classBegin[c]]].moves >= kPrefixMoves && below[node] != kNone;
        std::vector<std::size_t>& group = byTarget[joins ? firstClass[below[node]] : c];
        for (std::uint32_t i = classBegin[c]; i < classBegin[c + 1]; ++i)
            group.push_back(byNode[i]);
    }
    std::vector<std::vector<std::size_t>> groups;
    for (const std::uint32_t c : classOrder) {
        if (byTarget[c].size() >= 2)
            groups.push_back(std::move(byTarget[c]));
    }
    return groups;
}
