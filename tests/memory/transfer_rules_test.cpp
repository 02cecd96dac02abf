// What the transfers rest on: which lines of a file the upload writes, and a wait that never ends
// early and never spins.

#include "link/clock.h"
#include "memory/upload_plan.h"
#include "memory/wait_seconds.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace orx;

namespace {

TEST(UploadPlan, WhichLinesAreWritten)
{
    const QStringList full = {"03", "1.000", "2.000", "10", "3.000", "4.000", "True", "False"};
    const struct
    {
        const char* name;
        QStringList lines; // the first is the header
        QList<UploadRecord> records;
        QList<int> shortLines;
    } cases[] = {
        {"empty file", {}, {}, {}},
        {"the first line is never a record", {"03, 1.000, 2.000, 10, 3.000, 4.000, True, False"}, {}, {}},
        {"fields beyond the eighth are dropped",
         {"h", "03, 1.000, 2.000, 10, 3.000, 4.000, True, False, note, more"},
         {{2, full}},
         {}},
        {"empty lines and spreadsheet rows pass silently",
         {"h", "", ",,,,,,,", " , ,\t,", "03, 1.000, 2.000, 10, 3.000, 4.000, True, False"},
         {{5, full}},
         {}},
        {"short lines are reported by their line number",
         {"h", "01, 1.000", "03, 1.000, 2.000, 10, 3.000, 4.000, True, False", "04, 1, 2, 3, 4, 5, True"},
         {{3, full}},
         {2, 4}},
        {"empty fields still count", {"h", ",,,,,,,x"}, {{2, {"", "", "", "", "", "", "", "x"}}}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const UploadPlan plan = planUpload(c.lines);
        EXPECT_EQ(plan.records, c.records);
        EXPECT_EQ(plan.shortLines, c.shortLines);
    }
}

// An idle wait that records what it was allowed and lets `passMs` pass on the clock each time (an
// event waking it early when that is less than allowed).
struct RecordingIdle
{
    ManualClock& clock;
    qint64 passMs;
    std::vector<int> allowed;
    void operator()(int maxWaitMs)
    {
        allowed.push_back(maxWaitMs);
        clock.advanceMilliseconds(passMs < 0 ? maxWaitMs : passMs);
    }
};

TEST(WaitSeconds, NeverEndsEarlyAndSleepsForTheTimeLeft)
{
    const struct
    {
        const char* name;
        double seconds;
        qint64 passMs; // per sleep; -1: all it was allowed
        std::vector<int> allowed;
    } cases[] = {
        {"half a second in one sleep", 0.5, -1, {500}},
        {"events wake it early: it sleeps again for the rest", 0.5, 200, {500, 300, 100}},
        {"a part of a millisecond is slept as a whole one", 0.0004, -1, {1}},
        {"nothing to wait", 0, -1, {}},
        {"a negative wait", -1, -1, {}},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), -1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ManualClock clock;
        clock.advanceMilliseconds(86'399'900); // a moment before midnight: the monotonic clock goes on
        const qint64 start = clock.nanoseconds();
        RecordingIdle idle{clock, c.passMs, {}};
        WaitSeconds(c.seconds, clock, std::ref(idle));
        EXPECT_EQ(idle.allowed, c.allowed);
        if (c.seconds > 0) {
            EXPECT_GE(clock.nanoseconds() - start, std::llround(c.seconds * 1e9));
        }
    }
}

} // namespace
