#pragma once
// Refuses a second running copy of the program. The lock is an advisory file lock that the operating
// system releases when the holding process ends, however it ends, so a crashed copy never leaves the
// program locked out.

#include <QString>

namespace orx {

class SingleInstanceLock
{
public:
    // The lock file in the user's runtime folder (or the temporary folder).
    static QString defaultPath();

    explicit SingleInstanceLock(QString path = defaultPath());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process holds the lock (taken now or before); false when another copy holds it.
    bool acquire();

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace orx
