#pragma once
// The one place where long operations (the connect search, transfers, waits, the editor's loading)
// let pending window events run. Tests can watch it.

#include <functional>

namespace orx {

void letPendingEventsRun();

// Sleeps in the event loop until an event arrives or `maxWaitMs` have passed (no busy waiting), lets
// what arrived run, then tells the observer as letPendingEventsRun does.
void waitForPendingEvents(int maxWaitMs);

// True while events run from inside an operation that let them run: one of the long operations above
// (through these helpers), or a modal window that waits for the operator (OperationEvents). Whatever
// runs then runs in the middle of that operation, which may be half-way through its exchanges with
// the instrument.
bool insideOperation();

// Marks the events that run while it lives as running inside an operation (the dialogs service holds
// one around each modal window).
class OperationEvents
{
public:
    OperationEvents();
    ~OperationEvents();
    OperationEvents(const OperationEvents&) = delete;
    OperationEvents& operator=(const OperationEvents&) = delete;
};

// Runs `observer` each time pending events are let run (after they ran); an empty function removes it.
void setPendingEventsObserver(std::function<void()> observer);

} // namespace orx
