#include "cache/FileStatus.h"

#include <ctime>

#include <sys/stat.h>

namespace {

std::int64_t Ns(const timespec& t)
{
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

bool StatGameFile(const std::string& path, SFileStatus& status)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.mtimeNs = Ns(info.st_mtim);
    status.ctimeNs = Ns(info.st_ctim);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    status.device = static_cast<std::uint64_t>(info.st_dev);
    return true;
}

std::int64_t WallClockNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Ns(now);
}
