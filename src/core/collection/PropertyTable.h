#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The game-information properties of one game file: identifier to value,
// both byte strings compared exactly. A root node holds a few dozen
// properties at most, so a flat vector searched from the front is faster
// than a hash table and keeps the memory of 100,000 entries small.
class CPropertyTable
{
public:
    using Item = std::pair<std::string, std::string>;

    // Stores value under id, replacing a value stored there before.
    void Set(std::string_view id, std::string_view value);
    // The value stored under id, or nullptr.
    const std::string* Find(std::string_view id) const;
    void Reserve(std::size_t count) { m_items.reserve(count); }

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
