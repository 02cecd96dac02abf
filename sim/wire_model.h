#pragma once
// The serial line between a client and the virtual instrument, without threads, descriptors or a
// clock of its own: the caller passes the time (nanoseconds of a monotonic clock) with every call.
// The pty server and the in-process serial service drive it: they hand in what the client wrote,
// ask nextDue() when to come back, and pass on what takeDue() returns.
//
// CR or LF ends a line, empty lines are ignored, and a line longer than kMaxLineLength is dropped
// up to its end. A line keeps the client's baud rate of the moment it arrived; when due, it goes to
// the instrument at the instrument's own rate and is noise at any other. The answer and its line
// feed are shaped by the current fault. Paced, both directions take the real wire time: a line is
// due when its last character is in, and an answer leaves one character at a time.

#include "sim/sim_fault.h"

#include <QStringList>
#include <algorithm>
#include <deque>
#include <map>
#include <optional>

namespace orx::sim {

class Instrument;

// One direction of a serial line: each character is 10 bits (start, 8 data, stop) long, and a
// character offered while the wire is busy waits for the ones before it.
class WirePacer
{
public:
    explicit WirePacer(int baud) : m_baud(baud > 0 ? baud : 1) {}
    qint64 durationNs(qint64 chars) const { return chars * 10'000'000'000LL / m_baud; }
    // Reserves the wire for `chars` characters offered at `offeredNs`; returns when the first of
    // them starts. Character i (from 0) has passed at start + durationNs(i + 1).
    qint64 reserve(qint64 offeredNs, qint64 chars)
    {
        const qint64 start = std::max(offeredNs, m_freeAtNs);
        m_freeAtNs = start + durationNs(std::max<qint64>(chars, 0));
        return start;
    }
    void reset() { m_freeAtNs = 0; }

private:
    int m_baud;
    qint64 m_freeAtNs = 0;
};

class WireModel
{
public:
    // Longest line kept; a longer run of characters without CR or LF is dropped as noise.
    static constexpr qsizetype kMaxLineLength = 4096;

    // `instrument` (not owned) answers at `baud`; null when nothing is connected, so that nothing
    // answers and nothing babbles.
    WireModel(Instrument* instrument, int baud, bool paced);
    // Another instrument (or none) behind the line; what is in flight stays.
    void setInstrument(Instrument* instrument, int baud);

    // Unplugged: lines reach nothing and nothing comes back.
    void setFault(Fault fault) { m_fault = fault; }
    Fault fault() const { return m_fault; }
    void setLateMs(int ms) { m_lateMs = std::max(ms, 0); }
    // The next answer leaves `ms` late (on top of a Late fault); the ones after it are on time.
    void lagNextAnswer(int ms) { m_lagNextMs = std::max(ms, 0); }

    // Bytes the client wrote at `nowNs` while its port was set to `clientBaud`; returns the lines
    // they complete, at any baud rate, for the caller's record.
    QStringList receive(const QByteArray& bytes, int clientBaud, qint64 nowNs);
    // Bytes the instrument sends without being asked.
    void sendUnasked(const QByteArray& bytes, qint64 nowNs) { queueBytes(bytes, nowNs); }

    // When something next falls due (a line, outgoing bytes, a piece of babble); nothing when idle.
    std::optional<qint64> nextDue() const;
    // Hands the lines due by `nowNs` to the instrument and returns the bytes due by then.
    QByteArray takeDue(qint64 nowNs);

    // A line pulled and plugged in again: whatever was in flight is lost, both wires are free.
    void reset();

private:
    static constexpr qint64 kNsPerMs = 1'000'000;

    struct ReceivedLine
    {
        qint64 readyNs; // when the line has fully arrived
        QString text;
        int clientBaud;
    };

    void lineEnded(qint64 readyNs, int clientBaud, QStringList& completed);
    void answer(const QString& text, qint64 nowNs);
    void queueBytes(const QByteArray& bytes, qint64 offeredNs);
    bool babbling() const { return m_fault == Fault::Babble && m_instrument; }

    Instrument* m_instrument;
    int m_baud;
    const bool m_paced;
    Fault m_fault = Fault::None;
    int m_lateMs = kDefaultLateMs;
    int m_lagNextMs = 0;
    quint32 m_noiseSeed = 1;
    qint64 m_nextBabbleNs = 0; // when the endless stream sends its next piece

    QByteArray m_partial;
    bool m_discarding = false; // dropping an over-long line up to its end
    WirePacer m_rxWire;
    WirePacer m_txWire;
    std::deque<ReceivedLine> m_received;
    std::multimap<qint64, QByteArray> m_outgoing; // bytes due at a time (ns)
};

} // namespace orx::sim
