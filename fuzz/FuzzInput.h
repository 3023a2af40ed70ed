#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Takes bytes off the front of a fuzz input; zeros once it runs out, so a
// target reads as many choices as it likes from any input.
class CFuzzInput
{
public:
    CFuzzInput(const std::uint8_t* data, std::size_t size) : m_rest(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return m_rest.empty(); }
    std::uint8_t Byte()
    {
        if (m_rest.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_rest.front());
        m_rest.remove_prefix(1);
        return b;
    }
    std::uint64_t Number(int bytes)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | Byte();
        return value;
    }
    std::string_view Text(std::size_t length)
    {
        const std::string_view text = m_rest.substr(0, length);
        m_rest.remove_prefix(text.size());
        return text;
    }

private:
    std::string_view m_rest;
};
