#include "sim/pty_server.h"

#include "link/clock.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace orx::sim {
namespace {

qint64 steadyNow()
{
    return SteadyClock().nanoseconds();
}

timespec toTimespec(qint64 ns)
{
    timespec t{};
    t.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    t.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return t;
}

} // namespace

bool PtyServer::isSupportedBaud(int baud)
{
    return baud == 9600 || baud == 4800 || baud == 2400 || baud == 1200;
}

PtyServer::PtyServer(const PtyOptions& options)
    : m_options(options), m_instrument(options.modelIndex),
      m_wire(&m_instrument, options.baud, options.paced), m_epochNs(steadyNow())
{
    if (!m_options.serialNumber.isEmpty())
        m_instrument.setSerialNumber(m_options.serialNumber);
    if (!m_options.firmwareVersion.isEmpty())
        m_instrument.setFirmwareVersion(m_options.firmwareVersion);
    if (m_options.loadOhms)
        m_instrument.setLoadOhms(*m_options.loadOhms);
    if (m_options.ignoredSave)
        m_instrument.ignoreNextSave(*m_options.ignoredSave);
    if (m_options.fault != Fault::Unplugged)
        m_wire.setFault(m_options.fault);
    m_wire.setLateMs(m_options.lateMs);
    if (pipe2(m_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        m_wakePipe[0] = -1;
        m_wakePipe[1] = -1;
    }
}

PtyServer::~PtyServer()
{
    stop();
    std::lock_guard lock(m_mutex);
    closeLocked();
    if (m_log)
        std::fclose(m_log);
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

qint64 PtyServer::nowNs() const
{
    return steadyNow() - m_epochNs;
}

// ---- opening, unplugging ------------------------------------------------------------------------

bool PtyServer::open(QString* error)
{
    std::lock_guard lock(m_mutex);
    if (m_opened)
        return true;
    if (!isSupportedBaud(m_options.baud)) {
        if (error)
            *error = QStringLiteral("unsupported baud rate %1").arg(m_options.baud);
        return false;
    }
    if (m_wakePipe[0] < 0) {
        if (error)
            *error = QStringLiteral("no wake-up pipe");
        return false;
    }
    if (!m_options.logPath.isEmpty() && !m_log) {
        m_log = std::fopen(QFile::encodeName(m_options.logPath).constData(), "a");
        if (!m_log) {
            if (error)
                *error = QStringLiteral("cannot write the log file ") + m_options.logPath;
            return false;
        }
    }
    if (!openLocked(error))
        return false;
    m_opened = true;
    if (m_options.fault == Fault::Unplugged)
        closeLocked();
    return true;
}

bool PtyServer::openLocked(QString* error)
{
    auto pty = openPty(error);
    if (!pty)
        return false;
    if (!m_options.linkPath.isEmpty() && !placeSymlink(m_options.linkPath, pty->devicePath, error)) {
        closePty(*pty);
        return false;
    }
    m_pty = *pty;
    m_linkTarget = m_pty.devicePath;
    m_unplugged = false;
    m_wire.reset();
    return true;
}

// Closes the pty (the client's device goes away) and removes the symlink; what was on its way is
// lost, as on a cable that has been pulled.
void PtyServer::closeLocked()
{
    removeSymlinkTo(m_options.linkPath, m_linkTarget);
    m_linkTarget.clear();
    closePty(m_pty);
    m_unplugged = true;
    m_wire.reset();
}

QString PtyServer::devicePath() const
{
    std::lock_guard lock(m_mutex);
    return m_pty.devicePath;
}

bool PtyServer::unplug()
{
    std::unique_lock lock(m_mutex);
    if (!m_opened || m_unplugged)
        return false;
    closeLocked();
    wake();
    // A loop waiting in poll still holds the pty, and the device stays until it lets go.
    if (m_loopRunning && m_loopThread != std::this_thread::get_id()) {
        const qint64 turn = m_loopTurns;
        m_loopTurned.wait(lock, [&] { return m_loopTurns > turn || !m_loopRunning; });
    }
    return true;
}

bool PtyServer::replug(QString* error, std::optional<int> anotherModel)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_opened || !m_unplugged) {
            if (error)
                *error = QStringLiteral("the port is not unplugged");
            return false;
        }
        if (anotherModel) {
            const std::optional<double> load = m_instrument.loadOhms();
            m_instrument = Instrument(*anotherModel);
            if (load)
                m_instrument.setLoadOhms(*load);
        }
        if (!openLocked(error))
            return false;
    }
    wake();
    return true;
}

bool PtyServer::isUnplugged() const
{
    std::lock_guard lock(m_mutex);
    return m_unplugged;
}

void PtyServer::setFault(Fault fault)
{
    if (fault == Fault::Unplugged) {
        unplug();
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_wire.setFault(fault);
    }
    wake(); // an endless stream starts at once
}

Fault PtyServer::fault() const
{
    std::lock_guard lock(m_mutex);
    return m_unplugged ? Fault::Unplugged : m_wire.fault();
}

void PtyServer::setLateMs(int ms)
{
    std::lock_guard lock(m_mutex);
    m_wire.setLateMs(ms);
}

qint64 PtyServer::linesReceived() const
{
    std::lock_guard lock(m_mutex);
    return m_linesReceived;
}

void PtyServer::withInstrument(const std::function<void(Instrument&)>& action)
{
    std::lock_guard lock(m_mutex);
    action(m_instrument);
}

// ---- the loop -----------------------------------------------------------------------------------

bool PtyServer::start(QString* error)
{
    if (m_thread.joinable())
        return true;
    if (!open(error))
        return false;
    m_stopRequested = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void PtyServer::stop()
{
    requestStop();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void PtyServer::requestStop() noexcept
{
    m_stopRequested = true;
    wake();
}

void PtyServer::wake() noexcept
{
    if (m_wakePipe[1] >= 0 && ::write(m_wakePipe[1], "w", 1) < 0) {
        // The pipe is full: a wake-up is already pending, which is all that is needed.
    }
}

void PtyServer::drainWakePipe()
{
    char buffer[64];
    while (::read(m_wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

bool PtyServer::run(QString* error)
{
    if (!open(error))
        return false;
    {
        std::lock_guard lock(m_mutex);
        m_loopRunning = true;
        m_loopThread = std::this_thread::get_id();
    }
    while (!m_stopRequested) {
        pollfd fds[2] = {{m_wakePipe[0], POLLIN, 0}, {-1, POLLIN, 0}};
        std::optional<qint64> waitNs;
        {
            std::lock_guard lock(m_mutex);
            fds[1].fd = m_pty.master;
            if (const auto due = m_wire.nextDue(); due && !m_unplugged)
                waitNs = std::max<qint64>(0, *due - nowNs());
        }
        const timespec timeout = toTimespec(waitNs.value_or(0));
        // A negative descriptor is ignored by poll, so an unplugged port needs no other set-up.
        const int ready = ppoll(fds, 2, waitNs ? &timeout : nullptr, nullptr);
        if (ready < 0 && errno != EINTR)
            break;
        drainWakePipe();
        std::lock_guard lock(m_mutex);
        ++m_loopTurns;
        m_loopTurned.notify_all();
        const qint64 now = nowNs();
        // The descriptor is only read if it is still the pty the poll was watching.
        if (fds[1].fd >= 0 && fds[1].fd == m_pty.master && (fds[1].revents & POLLIN))
            readMasterLocked(now);
        if (!m_unplugged)
            writeMasterLocked(m_wire.takeDue(now));
    }
    std::lock_guard lock(m_mutex);
    m_loopRunning = false;
    m_loopTurned.notify_all();
    return true;
}

// ---- receiving ----------------------------------------------------------------------------------

void PtyServer::readMasterLocked(qint64 nowNs)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_pty.master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        // The client's speed as it is when the bytes arrive: every line is judged on its own.
        const int clientBaud = terminalBaud(m_pty.master);
        for (const QString& line : m_wire.receive(QByteArray(buffer, n), clientBaud, nowNs)) {
            logLineLocked(line, clientBaud);
            ++m_linesReceived;
        }
    }
}

void PtyServer::logLineLocked(const QString& line, int clientBaud)
{
    if (!m_log)
        return;
    const QByteArray entry = QStringLiteral("%1 %2 %3\n")
                                 .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs))
                                 .arg(clientBaud)
                                 .arg(line)
                                 .toUtf8();
    std::fwrite(entry.constData(), 1, static_cast<size_t>(entry.size()), m_log);
    std::fflush(m_log);
}

// ---- answering ----------------------------------------------------------------------------------

void PtyServer::lagNextAnswer(int ms)
{
    std::lock_guard lock(m_mutex);
    m_wire.lagNextAnswer(ms);
}

void PtyServer::sendUnasked(const QByteArray& bytes)
{
    {
        std::lock_guard lock(m_mutex);
        m_wire.sendUnasked(bytes, nowNs());
    }
    wake();
}

// Bytes the pty cannot take (nobody has read for a long time) are dropped, as characters sent to a
// device that does not listen are lost.
void PtyServer::writeMasterLocked(const QByteArray& bytes)
{
    qsizetype written = 0;
    while (m_pty.master >= 0 && written < bytes.size()) {
        const ssize_t n =
            ::write(m_pty.master, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n <= 0)
            return;
        written += n;
    }
}

} // namespace orx::sim
