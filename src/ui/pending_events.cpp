#include "ui/pending_events.h"

#include <QCoreApplication>

namespace orx {
namespace {

std::function<void()>& observer()
{
    static std::function<void()> instance;
    return instance;
}

} // namespace

void letPendingEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (observer())
        observer()();
}

void setPendingEventsObserver(std::function<void()> newObserver)
{
    observer() = std::move(newObserver);
}

} // namespace orx
