#pragma once
// Serves one virtual instrument on a pseudo-terminal, so that the panel (or any serial program)
// talks to it as to a real instrument on a serial port.
//
// Between the pty and the instrument lies a WireModel (sim/wire_model.h): lines ended by CR or LF,
// answered with a line feed only when the baud rate the client has set on the pty (read afresh for
// every piece received) equals the server's own; paced, at the real wire time in both directions.
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
#include "sim/wire_model.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <functional>
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
    QString serialNumber;           // empty: the instrument's default
    QString firmwareVersion;        // empty: the instrument's default
    std::optional<int> ignoredSave; // the first "*SAV" of this memory is lost
};

class PtyServer
{
public:
    // Longest line kept; a longer run of characters without CR or LF is dropped as noise.
    static constexpr qsizetype kMaxLineLength = WireModel::kMaxLineLength;

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
    // The device comes back; with a model index, it is another instrument of that model, in its
    // factory state, on the same load.
    bool replug(QString* error = nullptr, std::optional<int> anotherModel = std::nullopt);
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
    qint64 nowNs() const;
    bool openLocked(QString* error);
    void closeLocked();
    void wake() noexcept;
    void drainWakePipe();
    void readMasterLocked(qint64 nowNs);
    void writeMasterLocked(const QByteArray& bytes);
    void logLineLocked(const QString& line, int clientBaud);

    const PtyOptions m_options;
    mutable std::mutex m_mutex;
    Instrument m_instrument;
    WireModel m_wire; // framing, the baud check, pacing and faults between the pty and the instrument
    PtyPair m_pty;
    QString m_linkTarget; // what the symlink points to
    bool m_opened = false;
    bool m_unplugged = false;
    std::FILE* m_log = nullptr;
    qint64 m_linesReceived = 0;

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
