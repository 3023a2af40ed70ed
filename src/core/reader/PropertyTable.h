#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>

// One property of a table, as views into the table's bytes: valid until the
// table is changed or destroyed.
struct SPropertyItem
{
    std::string_view first;  // the identifier
    std::string_view second; // the value
};

// A value found in a table, or none: used like the pointer a lookup returns
// (tested against nullptr, read with *), but it holds a view into the
// table's bytes, valid until the table is changed or destroyed.
class CPropertyValue
{
public:
    CPropertyValue() = default;
    explicit CPropertyValue(std::string_view value) : m_value(value), m_found(true) {}

    explicit operator bool() const { return m_found; }
    std::string_view operator*() const { return m_value; }
    const std::string_view* operator->() const { return &m_value; }
    friend bool operator==(const CPropertyValue& value, std::nullptr_t) { return !value.m_found; }

private:
    std::string_view m_value;
    bool m_found = false;
};

// The game-information properties of one game file: identifier to value,
// both byte strings compared exactly, in the order they were first set.
// A collection keeps one table per game file, so the table packs all its
// properties into a single block: each one is the identifier's length,
// the identifier, the value's length and the value, lengths as 7-bit
// groups (low first, the top bit marking more). That is also how a header
// cache row stores them, so a row is copied in and out whole. A root node
// holds a few dozen properties at most, so a walk from the front finds one
// faster than a hash table would.
class CPropertyTable
{
public:
    using Item = SPropertyItem;

    // Walks the packed properties; each step yields an item by value.
    class CIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Item;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Item;

        CIterator() = default;
        explicit CIterator(const char* at) : m_at(at) {}
        Item operator*() const;
        CIterator& operator++();
        CIterator operator++(int)
        {
            CIterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const CIterator& other) const { return m_at == other.m_at; }

    private:
        const char* m_at = nullptr;
    };

    // The properties in order, as a range of items.
    class CItems
    {
    public:
        CItems(const char* begin, const char* end, std::size_t count) : m_begin(begin), m_end(end), m_count(count) {}
        CIterator begin() const { return CIterator(m_begin); }
        CIterator end() const { return CIterator(m_end); }
        std::size_t size() const { return m_count; }
        bool empty() const { return m_count == 0; }

        // Equal when both hold the same identifiers and values in the same
        // order; the other side is any range of items or string pairs.
        template <class Range> friend bool operator==(const CItems& items, const Range& other)
        {
            auto it = std::begin(other);
            const auto end = std::end(other);
            for (const Item item : items) {
                if (it == end || item.first != std::string_view((*it).first) ||
                    item.second != std::string_view((*it).second))
                    return false;
                ++it;
            }
            return it == end;
        }

    private:
        const char* m_begin;
        const char* m_end;
        std::size_t m_count;
    };

    CPropertyTable() = default;
    CPropertyTable(const CPropertyTable& other);
    CPropertyTable(CPropertyTable&& other) noexcept;
    CPropertyTable& operator=(const CPropertyTable& other);
    CPropertyTable& operator=(CPropertyTable&& other) noexcept;
    ~CPropertyTable() = default;

    // Stores value under id, replacing a value stored there before (which
    // keeps its place in the order).
    void Set(std::string_view id, std::string_view value);
    // The value stored under id, or none.
    CPropertyValue Find(std::string_view id) const;
    // Room for this many packed bytes, so setting them allocates no more.
    void ReserveBytes(std::size_t bytes);
    // The packed bytes one property takes.
    static std::size_t PackedSize(std::string_view id, std::string_view value);

    // The properties as packed bytes, and the table from such bytes: false,
    // leaving the table as it was, when they are not whole properties with
    // distinct identifiers.
    std::string_view Packed() const { return {m_bytes.get(), m_used}; }
    bool AssignPacked(std::string_view packed);

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    CItems Items() const { return {m_bytes.get(), m_bytes.get() + m_used, m_count}; }

private:
    // The offset of id's property, or m_used when there is none.
    std::uint32_t Locate(std::string_view id) const;

    std::unique_ptr<char[]> m_bytes;
    std::uint32_t m_used = 0;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_count = 0;
};
