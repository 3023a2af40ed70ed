#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Byte strings kept one after the other, each after its length in 7-bit
// groups, low first (the top bit marking more): the games of one file, in
// one column of the header cache or one stored position row.

inline void AppendFramed(std::string& out, std::string_view part)
{
    for (std::uint64_t n = part.size();; n >>= 7) {
        out.push_back(static_cast<char>((n & 0x7F) | (n >= 0x80 ? 0x80 : 0)));
        if (n < 0x80)
            break;
    }
    out.append(part);
}

// The parts of bytes, in order; false (parts then means nothing) when the
// bytes are not a whole run of parts.
inline bool SplitFramed(std::string_view bytes, std::vector<std::string_view>& parts)
{
    parts.clear();
    while (!bytes.empty()) {
        std::uint64_t size = 0;
        for (int shift = 0;; shift += 7) {
            if (bytes.empty() || shift > 56)
                return false;
            const auto byte = static_cast<unsigned char>(bytes.front());
            bytes.remove_prefix(1);
            size |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                break;
        }
        if (size > bytes.size())
            return false;
        parts.push_back(bytes.substr(0, static_cast<std::size_t>(size)));
        bytes.remove_prefix(static_cast<std::size_t>(size));
    }
    return true;
}
