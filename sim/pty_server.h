#pragma once
// Serves one virtual instrument on a pseudo-terminal, so that the panel (or any serial program)
// talks to it as to a real instrument on a serial port.
//
// The server reads lines ended by CR (LF is accepted too) and answers a line only when the baud
// rate the client has set on the pty equals the server's own; it reads that rate afresh for every
// line. Answers end with a line feed. Paced, both directions take the real wire time (10 bits per
// character): a command of n characters reaches the instrument n*10/baud seconds after it was
// written, and an answer trickles out character by character.
//
// Faults can be switched at any time from any thread: silence, late answers, garbage, unplugging
// (the pty is closed and the symlink removed, so the client's device disappears) and replugging (a
// new pty behind the same symlink).
//
// The server runs a blocking poll loop: run() on the calling thread, or start()/stop() on a thread
// of its own. Every public member is safe to call from any thread.
//
//     sim::PtyOptions options;
//     options.baud = 2400;
//     options.linkPath = dir + "/orx";
//     sim::PtyServer server(options);
//     if (server.start(&error))        // the device is server.devicePath(), also reached by the link
//         ...;
//     server.setFault(sim::Fault::Silence);
//     server.stop();

#include "sim/instrument.h"
#include "sim/pty_device.h"
#include "sim/sim_fault.h"
#include "sim/wire_pacing.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace orx::sim {

struct PtyOptions
{
    int modelIndex = 0;
    int baud = 9600;  // 9600, 4800, 2400 or 1200
    QString linkPath; // where to place a symbolic link to the pty; empty for none
    bool paced = false;
    QString logPath;                // every received line with a timestamp; empty for none
    std::optional<double> loadOhms; // nothing = open circuit
    Fault fault = Fault::None;      // Unplugged: the port vanishes right after it is opened
    int lateMs = kDefaultLateMs;
    QString serialNumber;    // empty: the instrument's default
    QString firmwareVersion; // empty: the instrument's default
};

class PtyServer
{
public:
    // Longest line kept; a longer run of characters without CR or LF is dropped as noise.
    static constexpr qsizetype kMaxLineLength = 4096;

    static bool isSupportedBaud(int baud);

    explicit PtyServer(const PtyOptions& options);
    ~PtyServer(); // stops the loop, closes the pty, removes the symlink
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pty (and the symlink). Done by run() and start() when not done before.
    bool open(QString* error = nullptr);
    QString devicePath() const; // empty while unplugged or not open
    QString linkPath() const { return m_options.linkPath; }

    // Serves until stop() or requestStop(); false when the pty could not be made. A caller that
    // runs it on a thread of its own joins that thread before the server is destroyed.
    bool run(QString* error = nullptr);
    bool start(QString* error = nullptr);
    void stop();
    // Only sets a flag and writes one byte to a pipe, so a signal handler may call it.
    void requestStop() noexcept;

    // Silence, Late, Garbage, Babble or None; Unplugged is the same as unplug().
    void setFault(Fault fault);
    Fault fault() const;
    void setLateMs(int ms);
    // Returns once the device has really gone (the loop no longer holds the closed pty).
    bool unplug();
    bool replug(QString* error = nullptr);
    bool isUnplugged() const;

    // The next answer only leaves the instrument `ms` late; the ones after it are on time again.
    void lagNextAnswer(int ms);

    // Bytes the instrument sends now without being asked (a late answer, a stray line).
    void sendUnasked(const QByteArray& bytes);

    // Lines received so far, at any baud rate (a test waits on it before it changes its own speed).
    qint64 linesReceived() const;

    // Runs `action` on the instrument while the server is not using it (load, front panel, trips).
    void withInstrument(const std::function<void(Instrument&)>& action);

private:
    struct ReceivedLine
    {
        qint64 readyNs; // when the line has fully arrived on the wire
        QString text;
        int clientBaud; // the client's baud rate when the line arrived
    };

    qint64 nowNs() const;
    bool openLocked(QString* error);
    void closeLocked();
    void wake() noexcept;
    void drainWakePipe();
    std::optional<qint64> nextDueLocked() const;
    void readMasterLocked(qint64 nowNs);
    void lineCompleteLocked(qint64 readyNs);
    void processDueLocked(qint64 nowNs);
    void queueAnswerLocked(const QString& answer, qint64 nowNs);
    void queueBytesLocked(const QByteArray& bytes, qint64 offeredNs);
    void babbleLocked(qint64 nowNs);
    void flushOutputLocked(qint64 nowNs);
    void logLineLocked(const QString& line, int clientBaud);

    const PtyOptions m_options;
    mutable std::mutex m_mutex;
    Instrument m_instrument;
    PtyPair m_pty;
    QString m_linkTarget; // what the symlink points to
    bool m_opened = false;
    bool m_unplugged = false;
    Fault m_fault = Fault::None;
    int m_lateMs;
    quint32 m_noiseSeed = 1;
    qint64 m_nextBabbleNs = 0; // when the endless stream sends its next piece
    int m_lagNextMs = 0;       // how late the next answer is, once
    std::FILE* m_log = nullptr;

    QByteArray m_partial;
    bool m_discarding = false; // dropping an over-long line up to its end
    WirePacer m_rxWire;
    WirePacer m_txWire;
    std::deque<ReceivedLine> m_received;
    qint64 m_linesReceived = 0;
    std::multimap<qint64, QByteArray> m_outgoing; // bytes due at a time (ns)

    // The loop counts its turns, so that unplug() can wait until the loop has let go of the pty.
    std::condition_variable m_loopTurned;
    qint64 m_loopTurns = 0;
    bool m_loopRunning = false;
    std::thread::id m_loopThread;

    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;
    const qint64 m_epochNs;
};

} // namespace orx::sim
