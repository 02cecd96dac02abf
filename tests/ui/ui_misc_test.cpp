#include "ui/focus_on_hover.h"
#include "ui/pending_events.h"
#include "ui/qt_dialogs.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <gtest/gtest.h>

using namespace orx;

TEST(QtDialogs, FileFilterTranslation)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {{"All File(*,*)|*.*", "All File(*,*) (*)"},
                 {"Memory data|*.csv;*.txt|All|*.*", "Memory data (*.csv *.txt);;All (*)"},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(PendingEvents, RunsQueuedEventsAndTellsTheObserver)
{
    int observed = 0;
    bool timerRan = false;
    setPendingEventsObserver([&] { ++observed; });
    QTimer::singleShot(0, [&] { timerRan = true; });
    letPendingEventsRun();
    setPendingEventsObserver({});
    letPendingEventsRun();
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(observed, 1);
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
    const struct
    {
        const char* name;
        int eventAfterMs; // -1: no event comes
        int maxWaitMs;
        qint64 atLeastMs, atMostMs;
    } cases[] = {
        {"an event ends the sleep", 30, 3000, 25, 2000},
        {"without an event it sleeps the time allowed", -1, 300, 295, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        letPendingEventsRun(); // nothing left over from before
        bool eventRan = false;
        if (c.eventAfterMs >= 0)
            QTimer::singleShot(c.eventAfterMs, [&] { eventRan = true; });
        int observed = 0;
        setPendingEventsObserver([&] { ++observed; });
        QElapsedTimer elapsed;
        elapsed.start();
        const double cpuBefore = cpuMs();
        do
            waitForPendingEvents(c.maxWaitMs - int(elapsed.elapsed()));
        while (c.eventAfterMs >= 0 ? !eventRan : elapsed.elapsed() < c.atLeastMs);
        const double cpu = cpuMs() - cpuBefore;
        setPendingEventsObserver({});
        EXPECT_GE(elapsed.elapsed(), c.atLeastMs);
        EXPECT_LE(elapsed.elapsed(), c.atMostMs);
        EXPECT_GE(observed, 1);
        EXPECT_LE(observed, 3) << "one sleep, not a spin";
        EXPECT_LT(cpu, 50.0) << "sleeping, not spinning";
    }
}

TEST(FocusOnHover, PointerOverAButtonTakesTheFocus)
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("EXIT"), &window);
    auto* other = new QPushButton(QStringLiteral("Other"), &window);
    other->move(0, 50);
    giveFocusOnHover(button);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->hasFocus());
}
