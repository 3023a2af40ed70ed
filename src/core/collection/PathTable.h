#pragma once

#include "collection/GameEntry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The document's path table: full path to owned CGameEntry, paths compared
// byte for byte. Its enumeration order is part of the program's behaviour
// (the order of rows on a refill and of records in a saved collection):
// bucket 0 to 520, and within a bucket the most recently inserted path first.
class CPathTable
{
public:
    static constexpr std::uint32_t kBuckets = 521;

    // h = h * 33 + b over the bytes, b taken as a signed byte, in unsigned
    // 32-bit arithmetic.
    static std::uint32_t HashPath(std::string_view path);

    CGameEntry* Find(std::string_view path) const;
    // Inserts a path that is not in the table yet.
    CGameEntry& Insert(std::string_view path, std::unique_ptr<CGameEntry> entry);
    // Removes and destroys; false when the path is not there.
    bool Remove(std::string_view path);
    void Clear();

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

    // Calls f(path, entry) for every entry in enumeration order.
    template <class F>
    void ForEach(F&& f) const
    {
        for (const Bucket& bucket : m_buckets) {
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it)
                f(static_cast<const std::string&>(it->path), static_cast<const CGameEntry&>(*it->entry));
        }
    }

private:
    struct Node
    {
        std::uint32_t hash; // the full hash, compared before the path
        std::string path;
        std::unique_ptr<CGameEntry> entry;
    };
    // Oldest first; enumeration walks each bucket backwards.
    using Bucket = std::vector<Node>;

    std::vector<Bucket> m_buckets = std::vector<Bucket>(kBuckets);
    std::size_t m_count = 0;
};
