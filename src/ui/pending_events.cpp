#include "ui/pending_events.h"

#include <QCoreApplication>
#include <QTimer>

namespace orx {
namespace {

std::function<void()>& observer()
{
    static std::function<void()> instance;
    return instance;
}

void tellObserver()
{
    if (observer())
        observer()();
}

} // namespace

void letPendingEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    tellObserver();
}

void waitForPendingEvents(int maxWaitMs)
{
    // The timer is the event that ends the sleep when nothing else comes first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(qMax(0, maxWaitMs));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    tellObserver();
}

void setPendingEventsObserver(std::function<void()> newObserver)
{
    observer() = std::move(newObserver);
}

} // namespace orx
