#include "sim/pty_server.h"

#include "link/clock.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace orx::sim {
namespace {

constexpr qint64 kNsPerMs = 1'000'000;

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
    : m_options(options), m_instrument(options.modelIndex), m_lateMs(options.lateMs), m_rxWire(options.baud),
      m_txWire(options.baud), m_epochNs(steadyNow())
{
    if (!m_options.serialNumber.isEmpty())
        m_instrument.setSerialNumber(m_options.serialNumber);
    if (!m_options.firmwareVersion.isEmpty())
        m_instrument.setFirmwareVersion(m_options.firmwareVersion);
    if (m_options.loadOhms)
        m_instrument.setLoadOhms(*m_options.loadOhms);
    if (m_options.fault != Fault::Unplugged)
        m_fault = m_options.fault;
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
    m_partial.clear();
    m_discarding = false;
    m_received.clear();
    m_outgoing.clear();
    m_rxWire.reset();
    m_txWire.reset();
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
    m_partial.clear();
    m_received.clear();
    m_outgoing.clear();
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

bool PtyServer::replug(QString* error)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_opened || !m_unplugged) {
            if (error)
                *error = QStringLiteral("the port is not unplugged");
            return false;
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
        m_fault = fault;
    }
    wake(); // an endless stream starts at once
}

Fault PtyServer::fault() const
{
    std::lock_guard lock(m_mutex);
    return m_unplugged ? Fault::Unplugged : m_fault;
}

void PtyServer::setLateMs(int ms)
{
    std::lock_guard lock(m_mutex);
    m_lateMs = std::max(ms, 0);
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
            if (const auto due = nextDueLocked())
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
        processDueLocked(now);
    }
    std::lock_guard lock(m_mutex);
    m_loopRunning = false;
    m_loopTurned.notify_all();
    return true;
}

std::optional<qint64> PtyServer::nextDueLocked() const
{
    std::optional<qint64> due;
    if (m_fault == Fault::Babble && !m_unplugged)
        due = m_nextBabbleNs;
    if (!m_received.empty())
        due = m_received.front().readyNs;
    if (!m_outgoing.empty())
        due = due ? std::min(*due, m_outgoing.begin()->first) : m_outgoing.begin()->first;
    return due;
}

// ---- receiving ----------------------------------------------------------------------------------

void PtyServer::readMasterLocked(qint64 nowNs)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_pty.master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        // Paced, each character of the chunk arrives one character time after the one before it.
        const qint64 start = m_options.paced ? m_rxWire.reserve(nowNs, n) : nowNs;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\r' || c == '\n') {
                lineCompleteLocked(m_options.paced ? start + m_rxWire.durationNs(i + 1) : nowNs);
                continue;
            }
            if (m_discarding)
                continue;
            if (m_partial.size() >= kMaxLineLength) {
                m_partial.clear();
                m_discarding = true;
                continue;
            }
            m_partial.append(c);
        }
    }
}

void PtyServer::lineCompleteLocked(qint64 readyNs)
{
    const bool dropped = m_discarding;
    m_discarding = false;
    if (dropped || m_partial.isEmpty()) {
        m_partial.clear();
        return;
    }
    const QString text = QString::fromLatin1(m_partial);
    m_partial.clear();
    // The client's speed as it is when the line arrives: every line is judged on its own.
    const int clientBaud = terminalBaud(m_pty.master);
    logLineLocked(text, clientBaud);
    ++m_linesReceived;
    m_received.push_back({readyNs, text, clientBaud});
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

void PtyServer::processDueLocked(qint64 nowNs)
{
    while (!m_received.empty() && m_received.front().readyNs <= nowNs) {
        const ReceivedLine line = m_received.front();
        m_received.pop_front();
        if (line.clientBaud != m_options.baud)
            continue; // at another speed the instrument hears only noise
        if (const auto answer = m_instrument.handleLine(line.text, nowNs / kNsPerMs))
            queueAnswerLocked(*answer, nowNs);
    }
    babbleLocked(nowNs);
    flushOutputLocked(nowNs);
}

// The endless stream: a piece of noise as long as the wire takes 20 ms to carry, every 20 ms.
void PtyServer::babbleLocked(qint64 nowNs)
{
    if (m_fault != Fault::Babble || m_unplugged || nowNs < m_nextBabbleNs)
        return;
    constexpr qint64 kPieceNs = 20 * kNsPerMs;
    const qsizetype length = std::max<qsizetype>(1, m_options.baud / 10 / 50);
    m_outgoing.emplace(nowNs, noise(length, m_noiseSeed));
    m_nextBabbleNs = nowNs + kPieceNs;
}

void PtyServer::lagNextAnswer(int ms)
{
    std::lock_guard lock(m_mutex);
    m_lagNextMs = std::max(ms, 0);
}

void PtyServer::sendUnasked(const QByteArray& bytes)
{
    {
        std::lock_guard lock(m_mutex);
        queueBytesLocked(bytes, nowNs());
    }
    wake();
}

void PtyServer::queueAnswerLocked(const QString& answer, qint64 nowNs)
{
    if (m_fault == Fault::Silence || m_fault == Fault::Babble)
        return;
    QByteArray bytes = answer.toLatin1() + '\n';
    if (m_fault == Fault::Garbage)
        bytes = garbleAnswer(bytes.size(), m_noiseSeed);
    qint64 offered = m_fault == Fault::Late ? nowNs + qint64(m_lateMs) * kNsPerMs : nowNs;
    offered += qint64(std::exchange(m_lagNextMs, 0)) * kNsPerMs;
    queueBytesLocked(bytes, offered);
}

void PtyServer::queueBytesLocked(const QByteArray& bytes, qint64 offered)
{
    if (!m_options.paced) {
        m_outgoing.emplace(offered, bytes);
        return;
    }
    const qint64 start = m_txWire.reserve(offered, bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        m_outgoing.emplace(start + m_txWire.durationNs(i + 1), bytes.mid(i, 1));
}

// Writes what is due. Bytes the pty cannot take (nobody has read for a long time) are dropped, as
// characters sent to a device that does not listen are lost.
void PtyServer::flushOutputLocked(qint64 nowNs)
{
    QByteArray due;
    while (!m_outgoing.empty() && m_outgoing.begin()->first <= nowNs) {
        due += m_outgoing.begin()->second;
        m_outgoing.erase(m_outgoing.begin());
    }
    if (due.isEmpty() || m_pty.master < 0)
        return;
    qsizetype written = 0;
    while (written < due.size()) {
        const ssize_t n =
            ::write(m_pty.master, due.constData() + written, static_cast<size_t>(due.size() - written));
        if (n <= 0)
            return;
        written += n;
    }
}

} // namespace orx::sim
