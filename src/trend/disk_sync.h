#pragma once
// Brings a file's written data onto the disk on a thread of its own, so that a slow disk never holds
// up the thread that writes (the user-interface thread, in the middle of a monitoring tick). Each
// request asks for one sync of everything written before it; requests made while a sync runs fold
// into the next one. The first sync also makes the file's name in its folder last.
//
// Writing and flushing already hand every byte to the operating system, which keeps it if the
// program is killed; the sync is what keeps it through a power cut.

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace orx {

class DiskSync
{
public:
    // Works on its own duplicate of `fd`, so the file may be closed at any time.
    DiskSync(int fd, const QString& folder);
    // Finishes a sync that was asked for, then ends the thread.
    ~DiskSync();
    DiskSync(const DiskSync&) = delete;
    DiskSync& operator=(const DiskSync&) = delete;

    void request();
    // Syncs done so far (for tests and benchmarks).
    int syncsDone() const;

private:
    void run();

    int m_fd;
    QByteArray m_folder;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_pending = false;
    bool m_ending = false;
    int m_done = 0;
    std::thread m_thread;
};

} // namespace orx
