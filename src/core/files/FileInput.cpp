#include "files/FileInput.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

CFileInput::~CFileInput()
{
    ::close(m_fd);
}

bool CFileInput::CheckKind()
{
    m_kindKnown = true;
    struct stat info
    {
    };
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    m_size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

void CFileInput::Seek(std::uint64_t offset)
{
    m_offset = offset;
    m_ended = false;
}

long CFileInput::Read(void* out, std::size_t count)
{
    if (m_refused)
        return -1;
    if (m_kindKnown)
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_size - std::min(m_offset, m_size)));
    if (m_ended || count == 0)
        return 0;
    ssize_t got = 0;
    do {
        got = ::pread(m_fd, out, count, static_cast<off_t>(m_offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        m_error = errno;
        return -1;
    }
    if (got == 0) {
        m_ended = true;
        return 0;
    }
    const bool shortFirst = m_offset == 0 && static_cast<std::size_t>(got) < count;
    if (!m_kindKnown && !shortFirst && !CheckKind()) {
        m_refused = true;
        return -1;
    }
    // The size was seen after this read: what it brought past that size
    // came from a writer since, and is not taken.
    if (m_kindKnown && m_offset + static_cast<std::uint64_t>(got) > m_size)
        got = static_cast<ssize_t>(m_size - std::min(m_offset, m_size));
    m_offset += static_cast<std::uint64_t>(got);
    // A regular file gives less than asked only at its end. Before the size
    // is reached a short read is not taken for the end: the next read asks.
    if (m_kindKnown && m_offset >= m_size)
        m_ended = true;
    return static_cast<long>(got);
}
