#include "ui/pending_events.h"
#include "ui/qt_dialogs.h"

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>
#include <gtest/gtest.h>

using namespace orx;

TEST(QtDialogs, FileFilterTranslation)
{
    for (const auto& [in, out] : {std::pair{"All File(*,*)|*.*", "All File(*,*) (*)"},
                                  {"Memory data|*.csv;*.txt|All|*.*", "Memory data (*.csv *.txt);;All (*)"},
                                  {"", ""}})
        EXPECT_EQ(qtFileFilter(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

// The wait of the transfers sleeps in the event loop: an event ends the sleep at once, otherwise it
// lasts the time allowed, and it uses next to no processor time either way.
TEST(PendingEvents, WaitingSleepsUntilAnEventOrTheTimeIsUp)
{
    const auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    // When an event comes (-1: none), the time allowed, and the least and most the wait may last.
    for (const auto& [eventAfterMs, maxWaitMs, atLeastMs, atMostMs] :
         {std::tuple{30, 3000, qint64(25), qint64(2000)}, {-1, 300, qint64(295), qint64(2000)}}) {
        SCOPED_TRACE(eventAfterMs);
        letPendingEventsRun(); // nothing left over from before
        bool eventRan = false;
        if (eventAfterMs >= 0)
            QTimer::singleShot(eventAfterMs, [&] { eventRan = true; });
        int observed = 0;
        setPendingEventsObserver([&] { ++observed; });
        QElapsedTimer elapsed;
        elapsed.start();
        const double cpuBefore = cpuMs();
        do
            waitForPendingEvents(maxWaitMs - int(elapsed.elapsed()));
        while (eventAfterMs >= 0 ? !eventRan : elapsed.elapsed() < atLeastMs);
        const double cpu = cpuMs() - cpuBefore;
        setPendingEventsObserver({});
        EXPECT_GE(elapsed.elapsed(), atLeastMs);
        EXPECT_LE(elapsed.elapsed(), atMostMs);
        EXPECT_GE(observed, 1);
        EXPECT_LE(observed, 3) << "one sleep, not a spin";
        EXPECT_LT(cpu, 50.0) << "sleeping, not spinning";
    }
}
