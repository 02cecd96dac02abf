#include "support/scripted_serial.h"

namespace orx::test {

bool ScriptedSerial::setOpen(bool open)
{
    if (open && openFails)
        return false;
    m_open = open;
    return true;
}

void ScriptedSerial::write(const QByteArray& text)
{
    if (!m_open)
        return;
    written.append(text);
    for (const auto& [afterMs, bytes] : m_onNextWrite)
        m_scheduled.append({m_clock.nanoseconds() + afterMs * 1'000'000, bytes});
    m_onNextWrite.clear();
    if (responder)
        m_input += responder(text);
    releaseDue();
}

QByteArray ScriptedSerial::takeInput()
{
    releaseDue();
    QByteArray out;
    out.swap(m_input);
    return out;
}

void ScriptedSerial::waitForInput(int msecs)
{
    ++waits;
    releaseDue();
    if (!m_input.isEmpty())
        return;
    const qint64 deadline = m_clock.nanoseconds() + qint64(msecs) * 1'000'000;
    qint64 next = deadline;
    for (const Delivery& d : m_scheduled)
        next = qMin(next, d.atNs);
    m_clock.advanceNanoseconds(next - m_clock.nanoseconds());
    releaseDue();
}

void ScriptedSerial::releaseDue()
{
    for (qsizetype i = 0; i < m_scheduled.size();) {
        if (m_scheduled[i].atNs <= m_clock.nanoseconds()) {
            m_input += m_scheduled[i].bytes;
            m_scheduled.removeAt(i);
        } else {
            ++i;
        }
    }
}

} // namespace orx::test
