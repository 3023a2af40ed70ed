#include "report/KeyIndex.h"

#include "util/KeyedHash.h"

#include <utility>

namespace {

std::uint32_t CheckOf(std::uint64_t hash)
{
    return static_cast<std::uint32_t>(hash >> 32);
}

} // namespace

CKeyIndex::CKeyIndex(KeyOf keyOf) : m_keyOf(std::move(keyOf)) {}

bool CKeyIndex::Holds(const SPlace& place, std::string_view key, std::uint64_t hash) const
{
    return place.check == CheckOf(hash) && m_keyOf(place.position) == key;
}

std::uint64_t CKeyIndex::HashOf(const SPlace& place) const
{
    return ProcessKeyedHash(m_keyOf(place.position));
}

int CKeyIndex::Find(std::string_view key) const
{
    if (m_places.size() == 0)
        return -1;
    const std::uint64_t hash = ProcessKeyedHash(key);
    const std::size_t at = m_places.Find(hash, [&](const SPlace& place) { return Holds(place, key, hash); });
    return at == m_places.npos ? -1 : m_places[at].position;
}

bool CKeyIndex::Insert(std::string_view key, int position)
{
    m_places.MakeRoomForOne([this](const SPlace& place) { return HashOf(place); });
    const std::uint64_t hash = ProcessKeyedHash(key);
    const auto probe = m_places.Probe(hash, [&](const SPlace& place) { return Holds(place, key, hash); });
    if (probe.found)
        return false;
    m_places.Put(probe.at, SPlace{CheckOf(hash), position});
    return true;
}

bool CKeyIndex::Erase(std::string_view key)
{
    if (m_places.size() == 0)
        return false;
    const std::uint64_t hash = ProcessKeyedHash(key);
    const std::size_t at = m_places.Find(hash, [&](const SPlace& place) { return Holds(place, key, hash); });
    if (at == m_places.npos)
        return false;
    m_places.Remove(at, SPlace{0, kRemoved});
    return true;
}

void CKeyIndex::Clear()
{
    m_places.Clear();
}

void CKeyIndex::Reserve(std::size_t count)
{
    m_places.Reserve(count, [this](const SPlace& place) { return HashOf(place); });
}
