#include "files/SafeFileWrite.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A temporary file older than this whose writer holds no lock on it is left
// over from a writer that is gone. The age keeps a file that a writer has
// just created, and not locked yet, safe.
constexpr std::time_t kStaleSeconds = 60;

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::string ErrnoText(int code)
{
    return std::error_code(code, std::generic_category()).message();
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// ".NAME." followed by one or more digits and ".tmp".
bool IsTemporaryNameOf(std::string_view entry, const std::string& name)
{
    const std::string head = "." + name + ".";
    constexpr std::string_view tail = ".tmp";
    if (entry.size() <= head.size() + tail.size() || entry.substr(0, head.size()) != head ||
        entry.substr(entry.size() - tail.size()) != tail)
        return false;
    const std::string_view number = entry.substr(head.size(), entry.size() - head.size() - tail.size());
    for (const char c : number)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void RemoveStaleTemporaries(const fs::path& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryNameOf(entry->d_name, name))
            continue;
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info
        {
        };
        // A live writer holds its lock until the file is renamed or removed.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && now - info.st_mtime > kStaleSeconds &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)::unlinkat(dirFd, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error)
{
    std::error_code ec;
    // Saving through a link replaces the file it points to, not the link.
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();

    // A rename would turn a device node or a pipe into a plain file.
    struct stat old
    {
    };
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    if (hadFile && !S_ISREG(old.st_mode)) {
        SetError(error, path + " is not a regular file; it is left as it is.");
        return false;
    }

    const std::string name = target.filename().string();
    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        // Built by appending: GCC sees a false overlap in "." + std::string&&.
        std::string tempName(1, '.');
        tempName += name;
        tempName += '.';
        tempName += std::to_string(rd());
        tempName += ".tmp";
        temp = (folder / tempName).string();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        SetError(error, "Cannot create a file in " + folder.string() + ": " + ErrnoText(errno));
        return false;
    }
    // Held while the bytes are written: it tells another save that this
    // temporary file is no leftover.
    (void)::flock(fd, LOCK_EX | LOCK_NB);

    // Keep the permissions of the file being replaced.
    if (hadFile)
        (void)::fchmod(fd, old.st_mode & 07777);

    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int reason = written ? errno : writeErrno;
        ::unlink(temp.c_str());
        SetError(error, "Cannot write " + path + ": " + ErrnoText(reason));
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temp.c_str());
        SetError(error, "Cannot replace " + path + ": " + ErrnoText(renameErrno));
        return false;
    }
    // Make the rename itself durable; a failure here leaves a complete file.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    RemoveStaleTemporaries(folder, name);
    return true;
}
