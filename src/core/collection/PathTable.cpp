#include "collection/PathTable.h"

#include "util/KeyedHash.h"

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

CPathTable::Node* CPathTable::RemovedMark()
{
    static Node mark;
    return &mark;
}

CPathTable::CPathTable() = default;

CPathTable::~CPathTable()
{
    Clear();
}

std::size_t CPathTable::Locate(std::string_view path) const
{
    if (m_index.size() == 0)
        return m_index.npos;
    const std::uint64_t hash = IndexHash(path);
    return m_index.Find(hash, [&](const Slot& slot) { return slot.hash == hash && slot.node->path == path; });
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
    const std::size_t at = Locate(path);
    return at == m_index.npos ? nullptr : m_index[at].node->entry.get();
}

CGameEntry& CPathTable::Insert(std::string_view path, std::unique_ptr<CGameEntry> entry)
{
    ++m_generation;
    m_index.MakeRoomForOne([](const Slot& slot) { return slot.hash; });
    const std::uint64_t hash = IndexHash(path);
    const std::size_t at =
        m_index.Probe(hash, [&](const Slot& slot) { return slot.hash == hash && slot.node->path == path; }).at;
    Node& node = *NewNode();
    node.path.assign(path);
    node.entry = std::move(entry);
    node.bucket = HashPath(path) % kBuckets;
    m_index.Put(at, Slot{hash, &node});
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
    const std::size_t at = Locate(path);
    if (at == m_index.npos)
        return false;
    ++m_generation;
    Node* node = m_index[at].node;
    // Take the node out before the entry dies, so the table is consistent
    // whatever the entry's destruction does.
    m_index.Remove(at, Slot{0, RemovedMark()});
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
    ++m_generation;
    m_newest.assign(kBuckets, nullptr);
    auto blocks = std::move(m_blocks);
    m_blocks.clear();
    const std::size_t lastUsed = m_blockUsed;
    m_index.Clear();
    m_blockUsed = kNodesPerBlock;
    m_free = nullptr;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::size_t used = b + 1 == blocks.size() ? lastUsed : kNodesPerBlock;
        for (std::size_t i = 0; i < used; ++i)
            blocks[b][i].entry.reset();
    }
}
