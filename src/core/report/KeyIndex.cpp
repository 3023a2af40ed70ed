#include "report/KeyIndex.h"

#include "collection/KeyedHash.h"

#include <utility>

namespace {

std::uint32_t CheckOf(std::uint64_t hash)
{
    return static_cast<std::uint32_t>(hash >> 32);
}

} // namespace

CKeyIndex::CKeyIndex(KeyOf keyOf) : m_keyOf(std::move(keyOf)) {}

std::int64_t CKeyIndex::Locate(std::string_view key, std::uint64_t hash, std::size_t* free) const
{
    const std::size_t mask = m_places.size() - 1;
    const std::uint32_t check = CheckOf(hash);
    std::size_t removed = m_places.size();
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const SPlace& place = m_places[i];
        if (place.position == kEmpty) {
            if (free)
                *free = removed < m_places.size() ? removed : i;
            return -1;
        }
        if (place.position == kRemoved) {
            if (removed == m_places.size())
                removed = i;
        } else if (place.check == check && m_keyOf(place.position) == key) {
            return static_cast<std::int64_t>(i);
        }
    }
}

int CKeyIndex::Find(std::string_view key) const
{
    if (m_count == 0)
        return -1;
    const std::int64_t at = Locate(key, ProcessKeyedHash(key), nullptr);
    return at < 0 ? -1 : m_places[static_cast<std::size_t>(at)].position;
}

bool CKeyIndex::Insert(std::string_view key, int position)
{
    if ((m_used + 1) * 4 > m_places.size() * 3)
        Grow(m_count + 1);
    const std::uint64_t hash = ProcessKeyedHash(key);
    std::size_t free = 0;
    if (Locate(key, hash, &free) >= 0)
        return false;
    if (m_places[free].position == kEmpty)
        ++m_used;
    m_places[free] = SPlace{CheckOf(hash), position};
    ++m_count;
    return true;
}

bool CKeyIndex::Erase(std::string_view key)
{
    if (m_count == 0)
        return false;
    const std::int64_t at = Locate(key, ProcessKeyedHash(key), nullptr);
    if (at < 0)
        return false;
    m_places[static_cast<std::size_t>(at)].position = kRemoved;
    --m_count;
    return true;
}

void CKeyIndex::Clear()
{
    m_places = {};
    m_count = m_used = 0;
}

void CKeyIndex::Reserve(std::size_t count)
{
    if (count * 4 > m_places.size() * 3)
        Grow(count);
}

void CKeyIndex::Grow(std::size_t atLeast)
{
    // At most half full afterwards; removed places are dropped. The hashes
    // are made again from the keys: a place keeps only a part of its hash.
    std::size_t capacity = m_places.empty() ? 64 : m_places.size();
    while (atLeast * 2 > capacity)
        capacity *= 2;
    std::vector<SPlace> old(capacity);
    old.swap(m_places);
    const std::size_t mask = capacity - 1;
    for (const SPlace& place : old) {
        if (place.position < 0)
            continue;
        const std::uint64_t hash = ProcessKeyedHash(m_keyOf(place.position));
        std::size_t i = static_cast<std::size_t>(hash) & mask;
        while (m_places[i].position != kEmpty)
            i = (i + 1) & mask;
        m_places[i] = place;
    }
    m_used = m_count;
}
