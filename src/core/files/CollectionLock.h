#pragma once

#include <string>

// An advisory lock that makes one program's read, change and save of a
// collection file exclusive. It is taken on a lock file beside the
// collection, ".NAME.lock", never on the collection itself: a save replaces
// the collection by a new file, whose lock would be a different one. The
// lock file stays (removing it would let two programs lock two files).
// Released when the object goes, or when the program ends however it ends.
class CCollectionLock
{
public:
    enum class EState {
        Locked,      // this object holds the lock
        Busy,        // another program holds it (TryLock only)
        Unavailable, // no lock file can be made there (a read-only folder)
    };

    // The lock file of the collection at path: beside the file a link
    // leads to, so two names of one collection share one lock.
    static std::string LockPathFor(const std::string& collection);

    explicit CCollectionLock(const std::string& collection);
    ~CCollectionLock();
    CCollectionLock(const CCollectionLock&) = delete;
    CCollectionLock& operator=(const CCollectionLock&) = delete;

    // Takes the lock when it is free, else answers Busy at once.
    EState TryLock();
    // Takes the lock, waiting for as long as another program holds it.
    EState Lock();

private:
    bool OpenLockFile();

    std::string m_lockPath;
    int m_fd = -1;
    bool m_locked = false;
};
