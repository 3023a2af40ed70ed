#include "files/CollectionLock.h"

#include "files/FlockRetrying.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string CCollectionLock::LockPathFor(const std::string& collection)
{
    std::error_code ec;
    fs::path target(collection);
    const fs::path resolved = fs::canonical(target, ec);
    if (!ec)
        target = resolved;
    else
        target = fs::absolute(target, ec).lexically_normal();
    std::string name(1, '.');
    name += target.filename().string();
    name += ".lock";
    return (target.parent_path() / name).string();
}

CCollectionLock::CCollectionLock(const std::string& collection) : m_lockPath(LockPathFor(collection)) {}

CCollectionLock::~CCollectionLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

bool CCollectionLock::OpenLockFile()
{
    if (m_fd < 0)
        m_fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    return m_fd >= 0;
}

CCollectionLock::EState CCollectionLock::TryLock()
{
    if (m_locked)
        return EState::Locked;
    if (!OpenLockFile())
        return EState::Unavailable;
    const int result = FlockRetrying(m_fd, LOCK_EX | LOCK_NB);
    if (result == 0) {
        m_locked = true;
        return EState::Locked;
    }
    return errno == EWOULDBLOCK ? EState::Busy : EState::Unavailable;
}

CCollectionLock::EState CCollectionLock::Lock()
{
    if (m_locked)
        return EState::Locked;
    if (!OpenLockFile())
        return EState::Unavailable;
    if (FlockRetrying(m_fd, LOCK_EX) != 0)
        return EState::Unavailable;
    m_locked = true;
    return EState::Locked;
}
