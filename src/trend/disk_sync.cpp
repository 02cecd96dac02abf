#include "trend/disk_sync.h"

#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace orx {
namespace {

void syncData(int fd)
{
#if defined(Q_OS_LINUX)
    ::fdatasync(fd);
#else
    ::fsync(fd);
#endif
}

void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

DiskSync::DiskSync(int fd, const QString& folder)
    : m_fd(fd >= 0 ? ::fcntl(fd, F_DUPFD_CLOEXEC, 0) : -1), m_folder(QFile::encodeName(folder)),
      m_thread([this] { run(); })
{}

DiskSync::~DiskSync()
{
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
}

void DiskSync::request()
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = true;
    }
    m_wake.notify_one();
}

int DiskSync::syncsDone() const
{
    std::lock_guard lock(m_mutex);
    return m_done;
}

void DiskSync::run()
{
    bool folderSynced = false;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_ending; });
        if (!m_pending)
            return;
        m_pending = false;
        lock.unlock();
        if (m_fd >= 0)
            syncData(m_fd);
        if (!folderSynced && !m_folder.isEmpty())
            syncFolder(m_folder);
        folderSynced = true;
        lock.lock();
        ++m_done;
    }
}

} // namespace orx
