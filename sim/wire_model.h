#pragma once
// The serial line between a client and the virtual instrument, without threads, descriptors or a
// clock of its own: the caller passes the time (nanoseconds of a monotonic clock) with every call.
//
// Received bytes are framed into lines: CR or LF ends a line, empty lines are ignored, and a line
// longer than kMaxLineLength is dropped up to its end. Each line keeps the client's baud rate of
// the moment it arrived; when it is due, a line at the instrument's own rate goes to the
// instrument, a line at another rate is noise and does nothing. The answer, with a line feed, is
// shaped by the current fault and held with the time it is due. Paced, both directions take the
// real wire time (10 bits a character): a line is due when its last character has arrived, and an
// answer leaves one character at a time.
//
// The pty server and the in-process serial service both drive it: they hand in what the client
// wrote, ask nextDue() when to come back, and pass on what takeDue() returns.

#include "sim/sim_fault.h"
#include "sim/wire_pacing.h"

#include <QStringList>
#include <algorithm>
#include <deque>
#include <map>
#include <optional>

namespace orx::sim {

class Instrument;

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
    void sendUnasked(const QByteArray& bytes, qint64 nowNs);

    // When something next falls due (a line, outgoing bytes, a piece of babble); nothing when idle.
    std::optional<qint64> nextDue() const;
    // Hands the lines due by `nowNs` to the instrument and returns the bytes due by then.
    QByteArray takeDue(qint64 nowNs);

    // A line pulled and plugged in again: whatever was in flight is lost, both wires are free.
    void reset();

private:
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
