#include "connection/link_watch.h"

#include "link/clock.h"

namespace orx {

bool isGone(PortWatch watch)
{
    return watch == PortWatch::Absent || watch == PortWatch::Offered || watch == PortWatch::Refused;
}

WatchDecision lookAtPort(PortWatch watch, bool connected, bool present, bool automatic)
{
    if (!connected)
        return {PortWatch::Off, WatchStep::None};
    if (!present)
        return watch == PortWatch::Absent ? WatchDecision{PortWatch::Absent, WatchStep::None}
                                          : WatchDecision{PortWatch::Absent, WatchStep::ReportGone};
    switch (watch) {
    case PortWatch::Off:
    case PortWatch::Present:
        return {PortWatch::Present, WatchStep::None};
    case PortWatch::Absent:
        // The watch stays Absent until the rejoin says how it went.
        return automatic ? WatchDecision{PortWatch::Absent, WatchStep::Rejoin}
                         : WatchDecision{PortWatch::Offered, WatchStep::Offer};
    case PortWatch::Offered:
    case PortWatch::Refused:
        break;
    }
    return {watch, WatchStep::None};
}

PortWatch watchAfterRejoin(RejoinResult result)
{
    switch (result) {
    case RejoinResult::Rejoined:
        return PortWatch::Present;
    case RejoinResult::PortUnavailable:
        return PortWatch::Absent; // looked at again, without a word sent, a second later
    case RejoinResult::NoAnswer:
        return PortWatch::Offered; // asking again by itself would block the panel once a second
    case RejoinResult::OtherInstrument:
        break;
    }
    return PortWatch::Refused;
}

SleepWatch::SleepWatch(const Clock& clock) : m_clock(clock), m_lead(lead()) {}

qint64 SleepWatch::lead() const
{
    return m_clock.bootNanoseconds() - m_clock.nanoseconds();
}

bool SleepWatch::sleptSinceLastLook()
{
    const qint64 now = lead();
    const bool slept = now - m_lead >= kSleepNs;
    m_lead = now;
    return slept;
}

} // namespace orx
