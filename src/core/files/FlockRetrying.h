#pragma once

#include <cerrno>

#include <sys/file.h>

// flock, again when a signal cut it short: the collection's lock and the
// single-instance lock both wait through signals.
inline int FlockRetrying(int fd, int operation)
{
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    return result;
}
