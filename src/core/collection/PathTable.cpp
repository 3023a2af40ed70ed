#include "collection/PathTable.h"

#include <algorithm>

std::uint32_t CPathTable::HashPath(std::string_view path)
{
    std::uint32_t h = 0;
    for (char c : path)
        h = h * 33u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return h;
}

CGameEntry* CPathTable::Find(std::string_view path) const
{
    const std::uint32_t hash = HashPath(path);
    const Bucket& bucket = m_buckets[hash % kBuckets];
    for (const Node& node : bucket) {
        if (node.hash == hash && node.path == path)
            return node.entry.get();
    }
    return nullptr;
}

CGameEntry& CPathTable::Insert(std::string_view path, std::unique_ptr<CGameEntry> entry)
{
    const std::uint32_t hash = HashPath(path);
    Bucket& bucket = m_buckets[hash % kBuckets];
    bucket.push_back(Node{hash, std::string(path), std::move(entry)});
    ++m_count;
    return *bucket.back().entry;
}

bool CPathTable::Remove(std::string_view path)
{
    const std::uint32_t hash = HashPath(path);
    Bucket& bucket = m_buckets[hash % kBuckets];
    const auto it = std::find_if(bucket.begin(), bucket.end(),
                                 [&](const Node& node) { return node.hash == hash && node.path == path; });
    if (it == bucket.end())
        return false;
    // Take the node out before the entry dies, so the table is consistent
    // whatever the entry's destruction does.
    Node node = std::move(*it);
    bucket.erase(it);
    --m_count;
    return true;
}

void CPathTable::Clear()
{
    // Entries are destroyed in enumeration order.
    std::vector<Bucket> old(kBuckets);
    old.swap(m_buckets);
    m_count = 0;
    for (Bucket& bucket : old) {
        while (!bucket.empty())
            bucket.pop_back();
    }
}
