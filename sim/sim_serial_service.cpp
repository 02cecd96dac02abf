#include "sim/sim_serial_service.h"

#include "sim/instrument.h"

#include <algorithm>

namespace orx::sim {

int baudOfSettings(const QString& settings)
{
    bool ok = false;
    const int baud = settings.section(u',', 0, 0).trimmed().toInt(&ok);
    return ok && baud > 0 ? baud : 0;
}

SimSerialService::SimSerialService(ManualClock& clock) : m_clock(clock) {}

void SimSerialService::attachInstrument(int port, Instrument* instrument, int baud)
{
    m_ports[port] = Port{instrument, baud};
}

void SimSerialService::addEmptyPort(int port)
{
    m_ports[port] = Port{};
}

QString SimSerialService::portName(int port)
{
    return QStringLiteral("COM%1").arg(port);
}

QStringList SimSerialService::lines() const
{
    QStringList out;
    for (const QString& entry : m_log) {
        if (entry.startsWith(u"COM") && entry.contains(u": "))
            out.append(entry);
    }
    return out;
}

void SimSerialService::clearLog()
{
    m_log.clear();
    m_commands.clear();
}

bool SimSerialService::unplugged(int port) const
{
    const auto it = m_ports.constFind(port);
    return m_fault == Fault::Unplugged && it != m_ports.constEnd() && it->instrument != nullptr;
}

// Changing the number of an open port lets go of the open one first, as a real port handle would.
void SimSerialService::setPortNumber(int port)
{
    m_log.append(QStringLiteral("port %1").arg(port));
    if (m_openPort != 0 && port != m_openPort)
        closePort();
    m_portNumber = port;
}

void SimSerialService::setSettings(const QString& settings)
{
    m_log.append(QStringLiteral("settings ") + settings);
    m_settings = settings;
}

bool SimSerialService::setOpen(bool open)
{
    if (!open) {
        if (m_openPort != 0)
            closePort();
        return true;
    }
    if (m_openPort != 0)
        return true;
    if (!m_ports.contains(m_portNumber) || unplugged(m_portNumber) || m_portsInUse.contains(m_portNumber)) {
        m_openFailure = m_portsInUse.contains(m_portNumber) ? OpenFailure::InUse : OpenFailure::NoSuchPort;
        m_log.append(QStringLiteral("open %1 failed").arg(portName(m_portNumber)));
        return false;
    }
    m_log.append(QStringLiteral("open ") + portName(m_portNumber));
    m_openPort = m_portNumber;
    m_openFailure = OpenFailure::None;
    return true;
}

// Closing drops whatever was still on its way or waiting, as closing a real port does.
void SimSerialService::closePort()
{
    m_log.append(QStringLiteral("close ") + portName(m_openPort));
    m_openPort = 0;
    m_partial.clear();
    m_input.clear();
    m_scheduled.clear();
}

void SimSerialService::write(const QByteArray& text)
{
    if (m_openPort == 0)
        return;
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            m_partial.append(c);
            continue;
        }
        if (!m_partial.isEmpty())
            passLine(QString::fromLatin1(m_partial));
        m_partial.clear();
    }
}

void SimSerialService::passLine(const QString& line)
{
    m_log.append(QStringLiteral("%1 %2: %3").arg(portName(m_openPort), m_settings, line));
    m_commands.append(line);
    const Port port = m_ports.value(m_openPort);
    if (!port.instrument || unplugged(m_openPort) || baudOfSettings(m_settings) != port.baud)
        return;
    if (const auto answer = port.instrument->handleLine(line, nowMs()))
        deliver(answer->toLatin1() + '\n');
}

void SimSerialService::deliver(const QByteArray& answer)
{
    const qint64 now = m_clock.nanoseconds();
    switch (m_fault) {
    case Fault::None:
        m_scheduled.emplace(now, answer);
        break;
    case Fault::Late:
        m_scheduled.emplace(now + qint64(m_lateMs) * 1'000'000, answer);
        break;
    case Fault::Garbage:
        m_scheduled.emplace(now, garbleAnswer(answer.size(), m_noiseSeed));
        break;
    case Fault::Babble: // a stream that outlasts any read, without a line feed
        m_scheduled.emplace(now, noise(4096, m_noiseSeed));
        break;
    case Fault::Silence:
    case Fault::Unplugged:
        break;
    }
    releaseDue();
}

void SimSerialService::releaseDue()
{
    const qint64 now = m_clock.nanoseconds();
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= now) {
        if (m_openPort != 0 && !unplugged(m_openPort))
            m_input += m_scheduled.begin()->second;
        m_scheduled.erase(m_scheduled.begin());
    }
}

QByteArray SimSerialService::takeInput()
{
    releaseDue();
    QByteArray out;
    out.swap(m_input);
    return out;
}

void SimSerialService::waitForInput(int msecs)
{
    releaseDue();
    if (!m_input.isEmpty())
        return;
    const qint64 now = m_clock.nanoseconds();
    qint64 until = now + qint64(std::max(msecs, 0)) * 1'000'000;
    if (!m_scheduled.empty())
        until = std::min(until, m_scheduled.begin()->first);
    m_clock.advanceNanoseconds(until - now);
    releaseDue();
}

} // namespace orx::sim
