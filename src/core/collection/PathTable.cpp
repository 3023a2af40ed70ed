#include "collection/PathTable.h"

#include "collection/KeyedHash.h"

std::uint32_t CPathTable::HashPath(std::string_view path)
{
    std::uint32_t h = 0;
    for (char c : path)
        h = h * 33u + static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    return h;
}

std::uint64_t CPathTable::IndexHash(std::string_view path)
{
    return ProcessKeyedHash(path);
}

CPathTable::Node* CPathTable::Removed()
{
    static Node mark;
    return &mark;
}

CPathTable::CPathTable() = default;

CPathTable::~CPathTable()
{
    Clear();
}

std::size_t CPathTable::Probe(std::string_view path, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t removed = m_slots.size();
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (!slot.node)
            return removed < m_slots.size() ? removed : i;
        if (slot.node == Removed()) {
            if (removed == m_slots.size())
                removed = i;
        } else if (slot.hash == hash && slot.node->path == path) {
            return i;
        }
    }
}

void CPathTable::Grow()
{
    // At most half full after growing; removed places are dropped.
    std::size_t capacity = m_slots.empty() ? 64 : m_slots.size();
    while ((m_count + 1) * 2 > capacity)
        capacity *= 2;
    std::vector<Slot> old(capacity);
    old.swap(m_slots);
    const std::size_t mask = capacity - 1;
    for (const Slot& slot : old) {
        if (!slot.node || slot.node == Removed())
            continue;
        std::size_t i = static_cast<std::size_t>(slot.hash) & mask;
        while (m_slots[i].node)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
    m_used = m_count;
}

CPathTable::Node* CPathTable::NewNode()
{
    if (m_free) {
        Node* node = m_free;
        m_free = node->older;
        node->older = nullptr;
        return node;
    }
    if (m_blockUsed == kNodesPerBlock) {
        m_blocks.push_back(std::make_unique<Node[]>(kNodesPerBlock));
        m_blockUsed = 0;
    }
    return &m_blocks.back()[m_blockUsed++];
}

CGameEntry* CPathTable::Find(std::string_view path) const
{
    if (m_count == 0)
        return nullptr;
    const Node* node = m_slots[Probe(path, IndexHash(path))].node;
    return node && node != Removed() ? node->entry.get() : nullptr;
}

CGameEntry& CPathTable::Insert(std::string_view path, std::unique_ptr<CGameEntry> entry)
{
    if ((m_used + 1) * 4 > m_slots.size() * 3)
        Grow();
    const std::uint64_t hash = IndexHash(path);
    Slot& slot = m_slots[Probe(path, hash)];
    if (!slot.node)
        ++m_used;
    Node& node = *NewNode();
    node.path.assign(path);
    node.entry = std::move(entry);
    node.bucket = HashPath(path) % kBuckets;
    slot = Slot{hash, &node};
    ++m_count;
    // The newest path of a bucket comes first.
    Node*& newest = m_newest[node.bucket];
    node.older = newest;
    node.newer = nullptr;
    if (newest)
        newest->newer = &node;
    newest = &node;
    return *node.entry;
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
    if (m_count == 0)
        return false;
    Slot& slot = m_slots[Probe(path, IndexHash(path))];
    Node* node = slot.node;
    if (!node || node == Removed())
        return false;
    // Take the node out before the entry dies, so the table is consistent
    // whatever the entry's destruction does.
    slot.node = Removed();
    --m_count;
    Unlink(*node);
    const std::unique_ptr<CGameEntry> entry = std::move(node->entry);
    std::string().swap(node->path);
    node->older = m_free;
    m_free = node;
    return true;
}

void CPathTable::Clear()
{
    // The table is empty before any entry dies. Entries go in the order
    // their nodes were made, which is about the order they were allocated
    // in: walking the buckets instead jumps all over a million entries.
    m_newest.assign(kBuckets, nullptr);
    auto blocks = std::move(m_blocks);
    m_blocks.clear();
    const std::size_t lastUsed = m_blockUsed;
    m_slots = {};
    m_count = m_used = 0;
    m_blockUsed = kNodesPerBlock;
    m_free = nullptr;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::size_t used = b + 1 == blocks.size() ? lastUsed : kNodesPerBlock;
        for (std::size_t i = 0; i < used; ++i)
            blocks[b][i].entry.reset();
    }
}
