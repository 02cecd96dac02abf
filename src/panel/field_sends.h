#pragma once
// When a field that sends (a set-point, a protection level, the automatic sequence's start, end and
// cycles) sends: on each finished action of the operator on it. A key release, a mouse-button release,
// a click, the operator's focus loss and a step chosen from the field's menu send at once. A turn of
// the wheel is an action too, but notches that follow each other within kWheelRestNs are one action:
// the value shown after the last of them goes out once the wheel has rested that long, so that a
// spin of the wheel does not queue a send per notch on a slow line.
//
// A step of the menu or the wheel sends nothing from a field that is disabled by the time it would
// send, nor while the panel is busy (a transfer runs). Each send is the field's own procedure, which
// sends the value as then displayed, after the limit rule.

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace orx {

class Clock;
class NumericField;

class FieldSends : public QObject
{
public:
    static constexpr qint64 kWheelRestNs = 300'000'000;

    // `busy` tells whether the panel is in the middle of something no send may break into.
    FieldSends(const Clock& clock, std::function<bool()> busy);

    // Wires the field's finished actions to `send`.
    void add(NumericField* field, std::function<void()> send);

    // Sends the value of every wheel turn that has rested kWheelRestNs by the clock. A timer calls it;
    // a test that keeps its own clock calls it after moving that clock on.
    void sendRestedTurns();

private:
    struct Turn
    {
        NumericField* field;
        std::function<void()> send;
        qint64 lastNotchNs;
    };

    void sendNow(NumericField* field, const std::function<void()>& send);
    void sendStep(NumericField* field, const std::function<void()>& send);
    void noteNotch(NumericField* field, const std::function<void()>& send);
    void forget(NumericField* field);

    const Clock& m_clock;
    std::function<bool()> m_busy;
    QTimer m_restTimer;
    std::vector<Turn> m_turns; // at most one per field
};

} // namespace orx
