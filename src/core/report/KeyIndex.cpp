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

bool CKeyIndex::Holds(const SPlace& place, std::string_view key, std::uint32_t game, std::uint64_t hash) const
{
    if (place.check != CheckOf(hash))
        return false;
    const SKey held = m_keyOf(place.position);
    return held.game == game && held.key == key;
}

std::uint64_t CKeyIndex::HashOf(std::string_view key, std::uint32_t game)
{
    const std::uint64_t hash = ProcessKeyedHash(key);
    if (game == 0)
        return hash;
    // Mixed so the games of one file spread over the index.
    std::uint64_t mixed = hash ^ (static_cast<std::uint64_t>(game) * 0x9E3779B97F4A7C15ULL);
    mixed ^= mixed >> 31;
    mixed *= 0xBF58476D1CE4E5B9ULL;
    return mixed ^ (mixed >> 29);
}

std::uint64_t CKeyIndex::HashOf(const SPlace& place) const
{
    const SKey held = m_keyOf(place.position);
    return HashOf(held.key, held.game);
}

int CKeyIndex::Find(std::string_view key, std::uint32_t game) const
{
    if (m_places.size() == 0)
        return -1;
    const std::uint64_t hash = HashOf(key, game);
    const std::size_t at = m_places.Find(hash, [&](const SPlace& place) { return Holds(place, key, game, hash); });
    return at == m_places.npos ? -1 : m_places[at].position;
}

bool CKeyIndex::Insert(std::string_view key, int position, std::uint32_t game)
{
    m_places.MakeRoomForOne([this](const SPlace& place) { return HashOf(place); });
    const std::uint64_t hash = HashOf(key, game);
    const auto probe = m_places.Probe(hash, [&](const SPlace& place) { return Holds(place, key, game, hash); });
    if (probe.found)
        return false;
    m_places.Put(probe.at, SPlace{CheckOf(hash), position});
    return true;
}

bool CKeyIndex::Erase(std::string_view key, std::uint32_t game)
{
    if (m_places.size() == 0)
        return false;
    const std::uint64_t hash = HashOf(key, game);
    const std::size_t at = m_places.Find(hash, [&](const SPlace& place) { return Holds(place, key, game, hash); });
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
