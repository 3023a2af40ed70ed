#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// An index from keys to positions in a sequence that holds the keys itself
// (the report list's rows and their paths). A place keeps only a position
// and part of a keyed hash, eight bytes, so the index copies no key and
// rebuilding it over a million rows allocates one array. The key of a
// position is asked for only when the hashes agree.
class CKeyIndex
{
public:
    using KeyOf = std::function<std::string_view(int position)>;

    explicit CKeyIndex(KeyOf keyOf);

    // The position of key, or -1.
    int Find(std::string_view key) const;
    // Adds key at position; false (and nothing changes) when key is there.
    bool Insert(std::string_view key, int position);
    // False when key is not there.
    bool Erase(std::string_view key);
    void Clear();
    void Reserve(std::size_t count);
    std::size_t size() const { return m_count; }

private:
    struct SPlace
    {
        std::uint32_t check = 0;
        std::int32_t position = kEmpty;
    };
    static constexpr std::int32_t kEmpty = -1;
    // A removed key's place: lookups go on past it.
    static constexpr std::int32_t kRemoved = -2;

    // Where key is, or -1 with free set to the place to put it.
    std::int64_t Locate(std::string_view key, std::uint64_t hash, std::size_t* free) const;
    void Grow(std::size_t atLeast);

    KeyOf m_keyOf;
    std::vector<SPlace> m_places;
    std::size_t m_count = 0;
    // Places taken, removed ones included until the next growth.
    std::size_t m_used = 0;
};
