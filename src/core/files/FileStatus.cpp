#include "files/FileStatus.h"

#include <ctime>

#include <sys/stat.h>

namespace {

std::int64_t Ns(const timespec& t)
{
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool FromStat(const struct stat& info, SFileStatus& status)
{
    if (!S_ISREG(info.st_mode))
        return false;
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.mtimeNs = Ns(info.st_mtim);
    status.ctimeNs = Ns(info.st_ctim);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    status.device = static_cast<std::uint64_t>(info.st_dev);
    return true;
}

} // namespace

bool StatGameFile(const std::string& path, SFileStatus& status)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && FromStat(info, status);
}

bool StatOpenFile(int fd, SFileStatus& status)
{
    struct stat info
    {
    };
    return ::fstat(fd, &info) == 0 && FromStat(info, status);
}

std::int64_t WallClockNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Ns(now);
}
