#pragma once

#include "util/OpenAddressing.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// An index from keys to positions in a sequence that holds the keys itself
// (the report list's rows: their paths, and which game of its file each
// row shows, from 0). A place keeps only a position
// and part of a keyed hash, eight bytes, so the index copies no key and
// rebuilding it over a million rows allocates one array. The key of a
// position is asked for only when the hashes agree.
class CKeyIndex
{
public:
    struct SKey
    {
        SKey(std::string_view k, std::uint32_t g = 0) : key(k), game(g) {}
        std::string_view key;
        std::uint32_t game = 0;
    };
    using KeyOf = std::function<SKey(int position)>;

    explicit CKeyIndex(KeyOf keyOf);

    // The position of key's game, or -1.
    int Find(std::string_view key, std::uint32_t game = 0) const;
    // Adds key's game at position; false (and nothing changes) when it is there.
    bool Insert(std::string_view key, int position, std::uint32_t game = 0);
    // False when key's game is not there.
    bool Erase(std::string_view key, std::uint32_t game = 0);
    void Clear();
    void Reserve(std::size_t count);
    std::size_t size() const { return m_places.size(); }

private:
    struct SPlace
    {
        std::uint32_t check = 0;
        std::int32_t position = kEmpty;

        bool Empty() const { return position == kEmpty; }
        bool Removed() const { return position == kRemoved; }
    };
    static constexpr std::int32_t kEmpty = -1;
    // A removed key's place: lookups go on past it.
    static constexpr std::int32_t kRemoved = -2;

    // Whether place holds key, by the part of its hash first.
    bool Holds(const SPlace& place, std::string_view key, std::uint32_t game, std::uint64_t hash) const;
    // The first game's hash is its key's alone.
    static std::uint64_t HashOf(std::string_view key, std::uint32_t game);
    // A live place's hash, made again from its key: a place keeps only a
    // part of it.
    std::uint64_t HashOf(const SPlace& place) const;

    KeyOf m_keyOf;
    COpenAddressing<SPlace> m_places;
};
