#pragma once

#include "files/FileStatus.h"

#include <cstdint>
#include <string_view>

// A header-cache row carries this checksum of its path, the file status it
// was read with, its read time and its property bytes; a row whose checksum
// does not match was changed outside the cache and is not trusted.
std::uint64_t RowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view props);
// The same for a position row, under a hash of its own: bytes moved from
// one table into the other are no row of either.
std::uint64_t PositionRowChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs,
                                  std::string_view row);
// The same for the later games of a file of several, under a hash of its own.
std::uint64_t GamesChecksum(std::string_view path, const SFileStatus& s, std::int64_t readNs, std::string_view games);
// The same for a board picture row, which also names its game and position.
std::uint64_t PictureRowChecksum(std::string_view path, std::uint32_t game, std::int32_t openAt, const SFileStatus& s,
                                 std::int64_t readNs, std::string_view picture);
