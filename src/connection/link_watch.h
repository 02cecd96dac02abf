#pragma once
// The rules of watching the instrument's serial port after a connect, as pure functions: where one
// look at the port (by its device file alone: nothing is opened, nothing is sent) leads, and where a
// try to connect again leaves the watch. Beside them, the one test of whether the program slept.

#include <QtGlobal>

namespace orx {

class Clock;

enum class PortWatch
{
    Off,     // no instrument connected over a serial port: nothing to watch
    Present, // connected, and the port's device is there
    Absent,  // the port has vanished: watched for its return, and nothing is sent meanwhile
    Offered, // it came back (or nothing answered when it did): the operator is offered a reconnect
    Refused, // another instrument came back on the port: the operator decides
};

// The instrument that was connected is not there now: its port vanished, or what came back on it is
// not yet taken up. Nothing but the watch's own look goes to the port meanwhile.
bool isGone(PortWatch watch);

// What the panel does after a look.
enum class WatchStep
{
    None,
    ReportGone, // monitoring stops, the panel is locked, the status bar names the port that went
    Rejoin,     // connect again on the same port and settings
    Offer,      // offer the operator a reconnect
};

struct WatchDecision
{
    PortWatch next;
    WatchStep step;
    friend bool operator==(const WatchDecision&, const WatchDecision&) = default;
};

// One look at the port: `connected` while the last connect's instrument is on the serial port being
// looked at, `present` whether the port's device is there, `automatic` whether the panel reconnects
// by itself when it comes back.
WatchDecision lookAtPort(PortWatch watch, bool connected, bool present, bool automatic);

// How a try to connect again without a search ended.
enum class RejoinResult
{
    Rejoined,        // the same instrument answered; its state is read back
    PortUnavailable, // the port could not be opened: nothing was sent
    NoAnswer,        // the port opened, but the identity query went unanswered
    OtherInstrument, // an instrument with another identity answered
};

PortWatch watchAfterRejoin(RejoinResult result);

// Tells that the program was suspended. The monotonic clock, and every timer on it, stands still
// during a suspend; the boot-time clock runs on, so its lead over the monotonic clock grows by the time
// slept. A look compares that lead with the one at the last look.
class SleepWatch
{
public:
    static constexpr qint64 kSleepNs = 3'000'000'000; // shorter pauses are not taken for a sleep

    explicit SleepWatch(const Clock& clock);

    // True when the program slept at least kSleepNs since the last look.
    bool sleptSinceLastLook();

private:
    qint64 lead() const;

    const Clock& m_clock;
    qint64 m_lead;
};

} // namespace orx
