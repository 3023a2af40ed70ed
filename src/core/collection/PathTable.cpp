#include "collection/PathTable.h"

#include <random>

namespace {

std::uint64_t Rotl(std::uint64_t x, int b)
{
    return (x << b) | (x >> (64 - b));
}

struct CSipKey
{
    std::uint64_t k0;
    std::uint64_t k1;
};

const CSipKey& ProcessKey()
{
    static const CSipKey key = [] {
        std::random_device rd;
        auto draw = [&] { return (static_cast<std::uint64_t>(rd()) << 32) ^ rd(); };
        return CSipKey{draw(), draw()};
    }();
    return key;
}

std::uint64_t SipHash13(std::string_view bytes, const CSipKey& key)
{
    std::uint64_t v0 = key.k0 ^ 0x736f6d6570736575ull;
    std::uint64_t v1 = key.k1 ^ 0x646f72616e646f6dull;
    std::uint64_t v2 = key.k0 ^ 0x6c7967656e657261ull;
    std::uint64_t v3 = key.k1 ^ 0x7465646279746573ull;
    auto round = [&] {
        v0 += v1;
        v1 = Rotl(v1, 13);
        v1 ^= v0;
        v0 = Rotl(v0, 32);
        v2 += v3;
        v3 = Rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = Rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = Rotl(v1, 17);
        v1 ^= v2;
        v2 = Rotl(v2, 32);
    };
    auto word = [](const char* p, std::size_t n) {
        std::uint64_t m = 0;
        for (std::size_t i = 0; i < n; ++i)
            m |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
        return m;
    };
    const std::size_t whole = bytes.size() / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        const std::uint64_t m = word(bytes.data() + i, 8);
        v3 ^= m;
        round();
        v0 ^= m;
    }
    const std::uint64_t last =
        (static_cast<std::uint64_t>(bytes.size()) << 56) | word(bytes.data() + whole, bytes.size() - whole);
    v3 ^= last;
    round();
    v0 ^= last;
    v2 ^= 0xff;
    round();
    round();
    round();
    return v0 ^ v1 ^ v2 ^ v3;
}

} // namespace

std::uint32_t CPathTable::HashPath(std::string_view path)
{
    std::uint32_t h = 0;
    for (char c : path)
        h = h * 33u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return h;
}

std::size_t CPathTable::CIndexHash::operator()(std::string_view path) const
{
    return static_cast<std::size_t>(SipHash13(path, ProcessKey()));
}

CPathTable::CPathTable() = default;

CPathTable::~CPathTable()
{
    Clear();
}

CGameEntry* CPathTable::Find(std::string_view path) const
{
    const auto it = m_index.find(path);
    return it == m_index.end() ? nullptr : it->second->entry.get();
}

CGameEntry& CPathTable::Insert(std::string_view path, std::unique_ptr<CGameEntry> entry)
{
    auto node = std::make_unique<Node>();
    node->path.assign(path);
    node->entry = std::move(entry);
    node->bucket = HashPath(path) % kBuckets;
    Node& placed = *node;
    m_index.emplace(std::string_view(placed.path), std::move(node));
    // The newest path of a bucket comes first.
    Node*& newest = m_newest[placed.bucket];
    placed.older = newest;
    if (newest)
        newest->newer = &placed;
    newest = &placed;
    return *placed.entry;
}

void CPathTable::Unlink(Node& node)
{
    if (node.newer)
        node.newer->older = node.older;
    else
        m_newest[node.bucket] = node.older;
    if (node.older)
        node.older->newer = node.newer;
    node.newer = node.older = nullptr;
}

bool CPathTable::Remove(std::string_view path)
{
    const auto it = m_index.find(path);
    if (it == m_index.end())
        return false;
    // Take the node out before the entry dies, so the table is consistent
    // whatever the entry's destruction does.
    std::unique_ptr<Node> node = std::move(it->second);
    Unlink(*node);
    m_index.erase(it);
    return true;
}

void CPathTable::Clear()
{
    // Entries are destroyed in enumeration order, after the table is empty.
    auto old = std::move(m_index);
    m_index.clear();
    std::vector<Node*> lists(kBuckets, nullptr);
    lists.swap(m_newest);
    for (Node* node : lists) {
        for (; node; node = node->older)
            node->entry.reset();
    }
}
