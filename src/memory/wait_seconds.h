#pragma once
// Waiting a number of seconds while the windows stay responsive. The time is measured on a monotonic
// clock, so a wait across midnight or a change of the system time still ends on time; the wait
// sleeps in the event loop until the next event or the end of the wait (no busy waiting) and never
// returns early.

#include <functional>

namespace orx {

class Clock;

// Sleeps until an event arrives or at most `maxWaitMs` have passed, letting the events run. The
// program uses waitForPendingEvents; tests pass one that moves a manual clock on instead.
using IdleWait = std::function<void(int maxWaitMs)>;

void WaitSeconds(double seconds, const Clock& clock, const IdleWait& idle);

} // namespace orx
