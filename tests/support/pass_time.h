#pragma once
// A wait for the main window that costs no real time: it lets events run once and moves the manual
// clock on by all the time it was allowed to sleep.

#include "link/clock.h"
#include "memory/wait_seconds.h"
#include "ui/pending_events.h"

namespace orx::test {

inline IdleWait passTimeOnClock(ManualClock& clock)
{
    return [&clock](int maxWaitMs) {
        clock.advanceMilliseconds(maxWaitMs);
        letPendingEventsRun();
    };
}

} // namespace orx::test
