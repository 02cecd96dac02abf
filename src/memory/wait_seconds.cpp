#include "memory/wait_seconds.h"

#include "link/clock.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orx {

void WaitSeconds(double seconds, const Clock& clock, const IdleWait& idle)
{
    const qint64 start = clock.nanoseconds();
    const double wantedNs = seconds * 1e9; // a wait that is not a positive number is no wait
    for (;;) {
        const double passedNs = double(clock.nanoseconds() - start);
        if (!(passedNs < wantedNs))
            return;
        // Rounded up so that the sleep never ends before the wait does; at least 1 ms so it sleeps.
        const double remainingMs = std::ceil((wantedNs - passedNs) / 1e6);
        idle(static_cast<int>(std::clamp(remainingMs, 1.0, double(INT_MAX))));
    }
}

} // namespace orx
