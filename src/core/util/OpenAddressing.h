#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The places of a hash index with open addressing and linear probing, a
// power of two of them, at most three quarters taken (removed places
// included) and at most half after growing. A removed place keeps its mark
// until the next growth, so probes go on past it.
//
// Slot is what a place holds; it tells Empty() and Removed() itself, so a
// place can be as small as its user needs (a pointer and a hash, or a
// position and part of a hash). The user decides when two keys match and
// what a place's hash is when the places are laid out again.
template <class Slot> class COpenAddressing
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Where a probe for hash ended: the place matches(slot) held for, or
    // the place a new key goes to (the first removed one passed, else the
    // empty one that ended it). Only live places are given to matches.
    struct SProbe
    {
        std::size_t at = 0;
        bool found = false;
    };

    template <class Matches> SProbe Probe(std::uint64_t hash, Matches&& matches) const
    {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t removed = npos;
        for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.Empty())
                return {removed != npos ? removed : i, false};
            if (slot.Removed()) {
                if (removed == npos)
                    removed = i;
            } else if (matches(slot)) {
                return {i, true};
            }
        }
    }

    // The place that matches, or npos.
    template <class Matches> std::size_t Find(std::uint64_t hash, Matches&& matches) const
    {
        if (m_count == 0)
            return npos;
        const SProbe probe = Probe(hash, matches);
        return probe.found ? probe.at : npos;
    }

    // Room for one more key before a Probe for it; hashOf(slot) gives a live
    // place's hash when they are laid out again.
    template <class HashOf> void MakeRoomForOne(HashOf&& hashOf)
    {
        if ((m_used + 1) * 4 > m_slots.size() * 3)
            Grow(m_count + 1, hashOf);
    }

    // Room for count keys in all.
    template <class HashOf> void Reserve(std::size_t count, HashOf&& hashOf)
    {
        if (count * 4 > m_slots.size() * 3)
            Grow(count, hashOf);
    }

    // Puts a new key's slot at the place its Probe gave.
    void Put(std::size_t at, const Slot& slot)
    {
        if (m_slots[at].Empty())
            ++m_used;
        m_slots[at] = slot;
        ++m_count;
    }

    // Marks a live place removed; mark is a slot whose Removed() holds.
    void Remove(std::size_t at, const Slot& mark)
    {
        m_slots[at] = mark;
        --m_count;
    }

    Slot& operator[](std::size_t at) { return m_slots[at]; }
    const Slot& operator[](std::size_t at) const { return m_slots[at]; }

    void Clear()
    {
        m_slots = {};
        m_count = m_used = 0;
    }

    std::size_t size() const { return m_count; }

private:
    template <class HashOf> void Grow(std::size_t atLeast, HashOf& hashOf)
    {
        std::size_t capacity = m_slots.empty() ? 64 : m_slots.size();
        while (atLeast * 2 > capacity)
            capacity *= 2;
        std::vector<Slot> old(capacity);
        old.swap(m_slots);
        const std::size_t mask = capacity - 1;
        for (const Slot& slot : old) {
            if (slot.Empty() || slot.Removed())
                continue;
            std::size_t i = static_cast<std::size_t>(hashOf(slot)) & mask;
            while (!m_slots[i].Empty())
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
        m_used = m_count;
    }

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
    // Places taken, removed ones included until the next growth.
    std::size_t m_used = 0;
};
