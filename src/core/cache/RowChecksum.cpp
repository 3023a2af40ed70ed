#include "cache/RowChecksum.h"

#include "util/Fnv1a.h"
#include "util/KeyedHash.h"

#include <initializer_list>

namespace {

// Every kind of row hashes its path, what names the row within the file
// (leading), the file status and the read time, and its bytes, each kind
// under keys of its own: bytes moved from one kind of row into another are
// no row of either.
std::uint64_t StampedChecksum(std::string_view path, std::uint64_t key, std::initializer_list<std::uint64_t> leading,
                              const SFileStatus& s, std::int64_t readNs, std::string_view bytes)
{
    std::uint64_t h = SipHash13(path, key, key + 1);
    for (const std::uint64_t v : leading)
        h = Fnv1aLittleEndian(h, v);
    for (const std::uint64_t v : {s.size, static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs),
                                  s.inode, s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1aLittleEndian(h, v);
    return h ^ SipHash13(bytes, key + 2, key + 3);
}

} // namespace

std::uint64_t RowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view props)
{
    return StampedChecksum(path, 1, {}, s, readNs, props);
}

std::uint64_t PositionRowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs,
                                  std::string_view row)
{
    return StampedChecksum(path, 5, {}, s, readNs, row);
}

std::uint64_t GamesChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view games)
{
    return StampedChecksum(path, 9, {}, s, readNs, games);
}

std::uint64_t PictureRowChecksum(std::string_view path, std::uint32_t game, std::int32_t openAt, const SFileStatus& s,
                                 std::int64_t readNs, std::string_view picture)
{
    return StampedChecksum(path, 13, {static_cast<std::uint64_t>(game), static_cast<std::uint64_t>(openAt)}, s, readNs,
                           picture);
}
