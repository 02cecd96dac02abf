#pragma once
// The instrument's automatic memory sequence: it makes the start memory active, waits that memory's
// delay, makes the next one active, and so on up to the end memory; that is one cycle. After the
// given number of cycles it stops with the end memory's settings still active. A cycle count of 0
// repeats the cycle until the sequence is switched off.
//
// The sequence runs on the instrument's own clock, which the caller moves on (milliseconds of a
// monotonic clock). It only decides which memory becomes active when; the caller applies it.

#include "sim/instrument_settings.h"

#include <QtGlobal>
#include <functional>

namespace orx::sim {

struct AutoPlan
{
    int first = 0;  // start memory
    int last = 0;   // end ("cease") memory
    int cycles = 1; // 0 = without end
};

class AutoSequence
{
public:
    // Called for each memory that becomes active, in order; returning false stops the sequence
    // (the instrument does so when a protection trips).
    using ApplyMemory = std::function<bool(int memory)>;

    bool running() const { return m_running; }
    int currentMemory() const { return m_memory; }
    qint64 completedCycles() const { return m_cyclesDone; }

    // Starts at the plan's first memory at `nowMs` and applies it.
    void start(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories, const ApplyMemory& apply);
    void stop() { m_running = false; }

    // Moves the sequence on to `nowMs`. A time earlier than the last one moves nothing.
    void advance(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories, const ApplyMemory& apply);

    // How long a memory stays active, in milliseconds (its delay, at least 100 ms).
    static qint64 dwellMs(const Settings& memory);

private:
    bool finishedAllCycles(const AutoPlan& plan) const;
    // Counts off whole cycles that lie entirely before `nowMs`; called at the start of a cycle.
    void skipRepeatedCycles(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories);

    bool m_running = false;
    int m_memory = 0;
    qint64 m_cyclesDone = 0;
    qint64 m_nextStepMs = 0; // when the current memory's delay has passed
};

} // namespace orx::sim
