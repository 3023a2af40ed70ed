#include "cache/RowChecksum.h"

#include "collection/KeyedHash.h"

namespace {

std::uint64_t Fnv1a(std::uint64_t h, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i) {
        h ^= (value >> (8 * i)) & 0xFF;
        h *= 0x100000001b3ull;
    }
    return h;
}

} // namespace

std::uint64_t RowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view props)
{
    std::uint64_t h = SipHash13(path, 1, 2);
    for (const std::uint64_t v : {s.size, static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs),
                                  s.inode, s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1a(h, v);
    return h ^ SipHash13(props, 3, 4);
}
