#include "support/scripted_serial.h"

namespace orx::test {

void ScriptedSerial::answerNextWrite(const QByteArray& bytes, qint64 afterMs)
{
    m_onNextWrite.append({afterMs, bytes});
}

void ScriptedSerial::setPortNumber(int port)
{
    m_port = port;
    events.append(QStringLiteral("port %1").arg(port));
}

void ScriptedSerial::setSettings(const QString& settings)
{
    m_settings = settings;
    events.append(QStringLiteral("settings ") + settings);
}

bool ScriptedSerial::setOpen(bool open)
{
    if (open && openFails) {
        events.append(QStringLiteral("open failed"));
        return false;
    }
    m_open = open;
    events.append(open ? QStringLiteral("open") : QStringLiteral("close"));
    return true;
}

void ScriptedSerial::write(const QByteArray& text)
{
    if (!m_open)
        return;
    written.append(text);
    events.append(QStringLiteral("write ") + QString::fromLatin1(text));
    for (const auto& [afterMs, bytes] : m_onNextWrite)
        m_scheduled.append({m_clock.nanoseconds() + afterMs * 1'000'000, bytes});
    m_onNextWrite.clear();
    if (responder)
        m_input += responder(text);
    releaseDue();
}

QByteArray ScriptedSerial::takeInput()
{
    ++takes;
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
