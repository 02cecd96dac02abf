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

int& operationDepth()
{
    static int depth = 0;
    return depth;
}

void tellObserver()
{
    if (observer())
        observer()();
}

} // namespace

bool insideOperation()
{
    return operationDepth() > 0;
}

OperationEvents::OperationEvents()
{
    ++operationDepth();
}

OperationEvents::~OperationEvents()
{
    --operationDepth();
}

void letPendingEventsRun()
{
    {
        const OperationEvents inside;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    tellObserver();
}

void waitForPendingEvents(int maxWaitMs)
{
    // The timer is the event that ends the sleep when nothing else comes first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(qMax(0, maxWaitMs));
    {
        const OperationEvents inside;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    tellObserver();
}

void setPendingEventsObserver(std::function<void()> newObserver)
{
    observer() = std::move(newObserver);
}

} // namespace orx
