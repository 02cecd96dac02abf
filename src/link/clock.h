#pragma once
// Monotonic time for the link's answer time-out. The steady clock never jumps (midnight, daylight
// saving, a changed system time); the manual clock lets tests and in-process instruments decide how
// much time passes. The wall-clock reading only labels what the link reports to its observers; no
// time-out ever depends on it.

#include <QDateTime>
#include <QtGlobal>
#include <chrono>

namespace orx {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 nanoseconds() const = 0;
    // Wall-clock time in milliseconds since the epoch.
    virtual qint64 wallMilliseconds() const { return QDateTime::currentMSecsSinceEpoch(); }
};

class SteadyClock : public Clock
{
public:
    qint64 nanoseconds() const override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

// Its wall clock starts at a chosen moment and moves with the manual time.
class ManualClock : public Clock
{
public:
    qint64 nanoseconds() const override { return m_now; }
    qint64 wallMilliseconds() const override { return m_wallStartMs + m_now / 1'000'000; }
    void advanceNanoseconds(qint64 ns) { m_now += ns; }
    void advanceMilliseconds(qint64 ms) { m_now += ms * 1000000; }
    void setWallStart(qint64 msSinceEpoch) { m_wallStartMs = msSinceEpoch; }

private:
    qint64 m_now = 0;
    qint64 m_wallStartMs = 0;
};

} // namespace orx
