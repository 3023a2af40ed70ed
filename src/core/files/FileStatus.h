#pragma once

#include <cstdint>
#include <string>

// What the file system says about a game file, enough to tell that it was
// not changed since it was read: a write changes the size or the times, a
// replacement the inode, a change of owner, mode or times the change time.
struct SFileStatus
{
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    bool operator==(const SFileStatus&) const = default;
};

// The status of the regular file at path (links followed, as reading does);
// false when there is none.
bool StatGameFile(const std::string& path, SFileStatus& status);
// The same for a file already open.
bool StatOpenFile(int fd, SFileStatus& status);

// The wall clock in nanoseconds, the clock file times are kept in.
std::int64_t WallClockNs();
