#pragma once

#include "collection/GameEntry.h"
#include "util/OpenAddressing.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The document's path table: full path to owned CGameEntry, paths compared
// byte for byte. Its enumeration order is part of the program's behaviour
// (the order of rows on a refill and of records in a saved collection):
// bucket 0 to 520, and within a bucket the most recently inserted path first.
//
// The 521 buckets only keep that order. Lookups go through an index beside
// them, hashed with a keyed hash of its own: at a million paths a bucket
// holds about 1,900 of them, and names made to share the bucket hash would
// all land in one, so walking a bucket per lookup made adding quadratic.
class CPathTable
{
public:
    static constexpr std::uint32_t kBuckets = 521;

    // h = h * 33 + b over the bytes, b taken as a signed byte, in unsigned
    // 32-bit arithmetic.
    static std::uint32_t HashPath(std::string_view path);

    CPathTable();
    ~CPathTable();
    CPathTable(const CPathTable&) = delete;
    CPathTable& operator=(const CPathTable&) = delete;

    CGameEntry* Find(std::string_view path) const;
    // Inserts a path that is not in the table yet.
    CGameEntry& Insert(std::string_view path, std::unique_ptr<CGameEntry> entry);
    // Removes and destroys; false when the path is not there.
    bool Remove(std::string_view path);
    void Clear();

    // Counts every insertion, removal and clearing: an entry found before
    // the generation moved may be gone, or the path may have another.
    std::uint64_t Generation() const { return m_generation; }

    std::size_t size() const { return m_index.size(); }
    bool empty() const { return m_index.size() == 0; }

    // Calls f(path, entry) for every entry in enumeration order.
    template <class F> void ForEach(F&& f) const
    {
        for (const Node* newest : m_newest) {
            for (const Node* node = newest; node; node = node->older)
                f(static_cast<const std::string&>(node->path), static_cast<const CGameEntry&>(*node->entry));
        }
    }

private:
    struct Node
    {
        std::string path;
        std::unique_ptr<CGameEntry> entry;
        // The bucket's list, newest first; a free node's next free one.
        Node* newer = nullptr;
        Node* older = nullptr;
        std::uint32_t bucket = 0;
    };

    // One place of the index: the keyed hash kept beside the node, so a
    // probe compares paths only when the hashes agree.
    struct Slot
    {
        std::uint64_t hash = 0;
        Node* node = nullptr;

        bool Empty() const { return node == nullptr; }
        bool Removed() const { return node == RemovedMark(); }
    };

    // SipHash-1-3 under a key drawn once per process: names cannot be made
    // to collide in the index without knowing the key.
    static std::uint64_t IndexHash(std::string_view path);

    // The mark of a removed path's place.
    static Node* RemovedMark();
    // Where path is in the index, or npos.
    std::size_t Locate(std::string_view path) const;
    Node* NewNode();
    void Unlink(Node& node);

    static constexpr std::size_t kNodesPerBlock = 200;

    COpenAddressing<Slot> m_index;
    std::vector<Node*> m_newest = std::vector<Node*>(kBuckets, nullptr);
    // Nodes come from blocks of 200; removed ones are used again.
    std::vector<std::unique_ptr<Node[]>> m_blocks;
    std::size_t m_blockUsed = kNodesPerBlock;
    Node* m_free = nullptr;
    std::uint64_t m_generation = 0;
};
