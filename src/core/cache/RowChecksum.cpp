#include "cache/RowChecksum.h"

#include "util/Fnv1a.h"
#include "util/KeyedHash.h"

std::uint64_t RowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view props)
{
    std::uint64_t h = SipHash13(path, 1, 2);
    for (const std::uint64_t v : {s.size, static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs),
                                  s.inode, s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1aLittleEndian(h, v);
    return h ^ SipHash13(props, 3, 4);
}

std::uint64_t PositionRowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs,
                                  std::string_view row)
{
    std::uint64_t h = SipHash13(path, 5, 6);
    for (const std::uint64_t v : {s.size, static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs),
                                  s.inode, s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1aLittleEndian(h, v);
    return h ^ SipHash13(row, 7, 8);
}

std::uint64_t GamesChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view games)
{
    std::uint64_t h = SipHash13(path, 9, 10);
    for (const std::uint64_t v : {s.size, static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs),
                                  s.inode, s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1aLittleEndian(h, v);
    return h ^ SipHash13(games, 11, 12);
}

std::uint64_t PictureRowChecksum(std::string_view path, std::uint32_t game, std::int32_t openAt, const SFileStatus& s,
                                 std::int64_t readNs, std::string_view picture)
{
    std::uint64_t h = SipHash13(path, 13, 14);
    for (const std::uint64_t v : {static_cast<std::uint64_t>(game), static_cast<std::uint64_t>(openAt), s.size,
                                  static_cast<std::uint64_t>(s.mtimeNs), static_cast<std::uint64_t>(s.ctimeNs), s.inode,
                                  s.device, static_cast<std::uint64_t>(readNs)})
        h = Fnv1aLittleEndian(h, v);
    return h ^ SipHash13(picture, 15, 16);
}
