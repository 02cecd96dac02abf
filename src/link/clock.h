#pragma once
// Monotonic time for the link's answer time-out. The steady clock never jumps (midnight, daylight
// saving, a changed system time); the manual clock lets tests and in-process instruments decide how
// much time passes. The wall-clock reading only labels what the link reports to its observers; no
// time-out ever depends on it.
//
// The monotonic clock stands still while the machine is suspended (and so do the timers that run on
// it). The boot-time reading goes on counting through a suspend, so the growth of its lead over the
// monotonic reading is the time the program slept.

#include <QDateTime>
#include <QtGlobal>
#include <chrono>
#include <ctime>

namespace orx {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 nanoseconds() const = 0;
    // Wall-clock time in milliseconds since the epoch.
    virtual qint64 wallMilliseconds() const { return QDateTime::currentMSecsSinceEpoch(); }
    // Time that also counts while the machine is suspended; without such a clock, the monotonic one.
    virtual qint64 bootNanoseconds() const { return nanoseconds(); }
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
#ifdef CLOCK_BOOTTIME
    qint64 bootNanoseconds() const override
    {
        timespec t{};
        clock_gettime(CLOCK_BOOTTIME, &t);
        return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }
#endif
};

// Its wall clock starts at a chosen moment and moves with the manual time; a suspend moves the wall
// and boot-time readings but not the monotonic one.
class ManualClock : public Clock
{
public:
    qint64 nanoseconds() const override { return m_now; }
    qint64 wallMilliseconds() const override { return m_wallStartMs + bootNanoseconds() / 1'000'000; }
    qint64 bootNanoseconds() const override { return m_now + m_suspendedNs; }
    void advanceNanoseconds(qint64 ns) { m_now += ns; }
    void advanceMilliseconds(qint64 ms) { m_now += ms * 1000000; }
    void setWallStart(qint64 msSinceEpoch) { m_wallStartMs = msSinceEpoch; }
    void suspendMilliseconds(qint64 ms) { m_suspendedNs += ms * 1000000; }

private:
    qint64 m_now = 0;
    qint64 m_wallStartMs = 0;
    qint64 m_suspendedNs = 0;
};

} // namespace orx
