#include "panel/field_sends.h"

#include "link/clock.h"
#include "ui/numeric_field.h"

#include <algorithm>

namespace orx {

FieldSends::FieldSends(const Clock& clock, std::function<bool()> busy)
    : m_clock(clock), m_busy(std::move(busy))
{
    m_restTimer.setSingleShot(true);
    QObject::connect(&m_restTimer, &QTimer::timeout, this, [this] { sendRestedTurns(); });
}

void FieldSends::add(NumericField* field, std::function<void()> send)
{
    onUserAction(field, this, [this, field, send] { sendNow(field, send); });
    QObject::connect(field, &NumericField::menuStepped, this, [this, field, send] { sendStep(field, send); });
    QObject::connect(field, &NumericField::wheelTurned, this,
                     [this, field, send] { noteNotch(field, send); });
}

void FieldSends::sendNow(NumericField* field, const std::function<void()>& send)
{
    // A turn of the wheel still waiting goes out with this send: the value is the same.
    forget(field);
    send();
}

void FieldSends::sendStep(NumericField* field, const std::function<void()>& send)
{
    if (field->isEnabled() && !m_busy())
        sendNow(field, send);
    else
        forget(field);
}

void FieldSends::noteNotch(NumericField* field, const std::function<void()>& send)
{
    const qint64 now = m_clock.nanoseconds();
    const auto turn =
        std::find_if(m_turns.begin(), m_turns.end(), [field](const Turn& t) { return t.field == field; });
    if (turn != m_turns.end())
        turn->lastNotchNs = now;
    else
        m_turns.push_back({field, send, now});
    // A running timer stays: when it fires, it sends what has rested and waits on for the rest.
    if (!m_restTimer.isActive())
        m_restTimer.start(static_cast<int>(kWheelRestNs / 1'000'000));
}

void FieldSends::forget(NumericField* field)
{
    std::erase_if(m_turns, [field](const Turn& t) { return t.field == field; });
}

void FieldSends::sendRestedTurns()
{
    const qint64 now = m_clock.nanoseconds();
    std::vector<Turn> rested;
    qint64 nextRestNs = 0;
    for (auto it = m_turns.begin(); it != m_turns.end();) {
        const qint64 restLeft = kWheelRestNs - (now - it->lastNotchNs);
        if (restLeft <= 0) {
            rested.push_back(*it);
            it = m_turns.erase(it);
        } else {
            nextRestNs = nextRestNs == 0 ? restLeft : std::min(nextRestNs, restLeft);
            ++it;
        }
    }
    if (nextRestNs > 0)
        m_restTimer.start(static_cast<int>((nextRestNs + 999'999) / 1'000'000));
    for (const Turn& turn : rested)
        sendStep(turn.field, turn.send);
}

} // namespace orx
