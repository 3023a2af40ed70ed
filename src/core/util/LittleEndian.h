#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The stored records (window placement, font, toolbar layout, column widths)
// keep their integers as 32-bit little-endian values, whatever the machine.

inline void AppendLE32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

// The caller has checked that four bytes stand at offset.
inline std::uint32_t ReadLE32(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}
