#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The cells of one row as shown, in UTF-16, kept back to back in one string
// with the end of each cell beside it. A row of ten cells then costs two
// allocations instead of up to eleven, which matters at 100,000 rows.
class CShownTexts
{
public:
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }

    std::u16string_view operator[](std::size_t cell) const
    {
        const std::size_t begin = cell == 0 ? 0 : m_ends[cell - 1];
        return std::u16string_view(m_text).substr(begin, m_ends[cell] - begin);
    }

    void clear()
    {
        m_text.clear();
        m_ends.clear();
    }

    void reserve(std::size_t cells, std::size_t chars = 0)
    {
        m_ends.reserve(cells);
        m_text.reserve(chars);
    }

    void push_back(std::u16string_view cell)
    {
        m_text.append(cell);
        m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
    }

    // Replaces one cell's text; the cells after it move along.
    void set(std::size_t cell, std::u16string_view text)
    {
        const std::size_t begin = cell == 0 ? 0 : m_ends[cell - 1];
        const std::size_t oldSize = m_ends[cell] - begin;
        m_text.replace(begin, oldSize, text);
        const auto grown = static_cast<std::int64_t>(text.size()) - static_cast<std::int64_t>(oldSize);
        for (std::size_t c = cell; c < m_ends.size(); ++c)
            m_ends[c] = static_cast<std::uint32_t>(static_cast<std::int64_t>(m_ends[c]) + grown);
    }

private:
    std::u16string m_text;
    std::vector<std::uint32_t> m_ends;
};
