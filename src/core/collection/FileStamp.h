#pragma once

#include <cstdint>
#include <string>

// What tells one state of a file from the next without reading it: which
// file the name leads to, its size and its modification time. A save by
// another program (which replaces the file) changes at least one of them.
struct SFileStamp
{
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const SFileStamp&) const = default;
};

// The stamp of the file at path now; exists is false when there is none.
SFileStamp ReadFileStamp(const std::string& path);
