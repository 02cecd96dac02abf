#pragma once
// The one place where long operations (the connect search, transfers, waits, the editor's loading)
// let pending window events run. Tests can watch it.

#include <functional>

namespace orx {

void letPendingEventsRun();

// Sleeps in the event loop until an event arrives or `maxWaitMs` have passed (no busy waiting), lets
// what arrived run, then tells the observer as letPendingEventsRun does.
void waitForPendingEvents(int maxWaitMs);

// Runs `observer` each time pending events are let run (after they ran); an empty function removes it.
void setPendingEventsObserver(std::function<void()> observer);

} // namespace orx
