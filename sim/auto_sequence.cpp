#include "sim/auto_sequence.h"

#include <algorithm>

namespace orx::sim {
namespace {

int validMemory(int memory)
{
    return std::clamp(memory, 0, kMemoryCount - 1);
}

} // namespace

qint64 AutoSequence::dwellMs(const Settings& memory)
{
    return qint64(std::max(memory.delay, kMinDelay)) * 100;
}

void AutoSequence::start(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories,
                         const ApplyMemory& apply)
{
    m_running = true;
    m_cyclesDone = 0;
    m_memory = validMemory(plan.first);
    m_nextStepMs = nowMs + dwellMs(memories[static_cast<size_t>(m_memory)]);
    if (!apply(m_memory))
        m_running = false;
}

void AutoSequence::advance(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories,
                           const ApplyMemory& apply)
{
    int cycleEnds = 0; // cycle ends passed in this call; from the second on, a whole cycle was walked
    while (m_running && m_nextStepMs <= nowMs) {
        if (m_memory >= plan.last) {
            ++m_cyclesDone;
            if (finishedAllCycles(plan)) {
                m_running = false;
                return;
            }
            m_memory = validMemory(plan.first);
            if (++cycleEnds >= 2)
                skipRepeatedCycles(nowMs, plan, memories);
        } else {
            m_memory = validMemory(m_memory + 1);
        }
        if (!apply(m_memory)) {
            m_running = false;
            return;
        }
        m_nextStepMs += dwellMs(memories[static_cast<size_t>(m_memory)]);
    }
}

bool AutoSequence::finishedAllCycles(const AutoPlan& plan) const
{
    return plan.cycles > 0 && m_cyclesDone >= plan.cycles;
}

// A long stretch of time (a test that jumps the clock by hours) would otherwise be walked memory by
// memory. Once a whole cycle has been walked without being stopped, later cycles within the same
// advance are identical (same memories, same load), so whole cycles are counted off at once; the last cycle
// of a counted run is still walked so that the sequence ends where it should.
void AutoSequence::skipRepeatedCycles(qint64 nowMs, const AutoPlan& plan, const MemoryBank& memories)
{
    qint64 cycleMs = 0;
    for (int m = validMemory(plan.first); m <= std::max(validMemory(plan.first), validMemory(plan.last)); ++m)
        cycleMs += dwellMs(memories[static_cast<size_t>(m)]);
    qint64 whole = (nowMs - m_nextStepMs) / cycleMs;
    if (plan.cycles > 0)
        whole = std::min(whole, plan.cycles - m_cyclesDone - 1);
    if (whole <= 0)
        return;
    m_cyclesDone += whole;
    m_nextStepMs += whole * cycleMs;
}

} // namespace orx::sim
