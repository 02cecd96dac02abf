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
    const QString line = QStringLiteral("03, 1.000, 2.000, 10, 3.000, 4.000, True, False");
    // The file's lines (the first is the header), the records and the short lines found.
    const std::tuple<QStringList, QList<UploadRecord>, QList<int>> cases[] = {
        {{}, {}, {}},
        {{line}, {}, {}},                                         // the first line is never a record
        {{"h", line + ", note, more"}, {{2, full}}, {}},          // fields beyond the eighth are dropped
        {{"h", "", ",,,,,,,", " , ,\t,", line}, {{5, full}}, {}}, // empty lines and spreadsheet rows pass
        {{"h", "01, 1.000", line, "04, 1, 2, 3, 4, 5, True"}, {{3, full}}, {2, 4}}, // short lines reported
        {{"h", ",,,,,,,x"}, {{2, {"", "", "", "", "", "", "", "x"}}}, {}}, // empty fields still count
    };
    for (const auto& [lines, records, shortLines] : cases) {
        SCOPED_TRACE(lines.join(u'|').toStdString());
        const UploadPlan plan = planUpload(lines);
        EXPECT_EQ(plan.records, records);
        EXPECT_EQ(plan.shortLines, shortLines);
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
    // The wait, the time each sleep lets pass (-1: all it was allowed) and what each sleep was allowed.
    const std::tuple<const char*, double, qint64, std::vector<int>> cases[] = {
        {"half a second in one sleep", 0.5, -1, {500}},
        {"events wake it early: it sleeps again for the rest", 0.5, 200, {500, 300, 100}},
        {"a part of a millisecond is slept as a whole one", 0.0004, -1, {1}},
        {"nothing to wait", 0, -1, {}},
        {"a negative wait", -1, -1, {}},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), -1, {}},
    };
    for (const auto& [name, seconds, passMs, allowed] : cases) {
        SCOPED_TRACE(name);
        ManualClock clock;
        clock.advanceMilliseconds(86'399'900); // a moment before midnight: the monotonic clock goes on
        const qint64 start = clock.nanoseconds();
        RecordingIdle idle{clock, passMs, {}};
        WaitSeconds(seconds, clock, std::ref(idle));
        EXPECT_EQ(idle.allowed, allowed);
        EXPECT_GE(clock.nanoseconds() - start, seconds > 0 ? std::llround(seconds * 1e9) : 0);
    }
}

} // namespace
