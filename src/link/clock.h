#pragma once
// Monotonic time for the link's answer time-out. The steady clock never jumps (midnight, daylight
// saving, a changed system time); the manual clock lets tests and in-process instruments decide how
// much time passes.

#include <QtGlobal>
#include <chrono>

namespace orx {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 nanoseconds() const = 0;
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

class ManualClock : public Clock
{
public:
    qint64 nanoseconds() const override { return m_now; }
    void advanceNanoseconds(qint64 ns) { m_now += ns; }
    void advanceMilliseconds(qint64 ms) { m_now += ms * 1000000; }

private:
    qint64 m_now = 0;
};

} // namespace orx
