#include "sim/sim_serial_service.h"

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
    if (port == m_openPort)
        m_wire.setInstrument(instrument, baud);
}

void SimSerialService::addEmptyPort(int port)
{
    attachInstrument(port, nullptr, 0);
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

bool SimSerialService::devicePresent() const
{
    const auto port = m_ports.constFind(m_portNumber);
    return port != m_ports.constEnd() && !(fault() == Fault::Unplugged && port->instrument);
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
    const Port port = m_ports.value(m_portNumber);
    const bool unplugged = fault() == Fault::Unplugged && port.instrument;
    if (!m_ports.contains(m_portNumber) || unplugged || m_portsInUse.contains(m_portNumber)) {
        m_openFailure = m_portsInUse.contains(m_portNumber) ? OpenFailure::InUse : OpenFailure::NoSuchPort;
        m_log.append(QStringLiteral("open %1 failed").arg(portName(m_portNumber)));
        return false;
    }
    m_log.append(QStringLiteral("open ") + portName(m_portNumber));
    m_openPort = m_portNumber;
    m_wire.setInstrument(port.instrument, port.baud);
    m_openFailure = OpenFailure::None;
    return true;
}

// Closing drops whatever was still on its way or waiting, as closing a real port does.
void SimSerialService::closePort()
{
    m_log.append(QStringLiteral("close ") + portName(m_openPort));
    m_openPort = 0;
    m_input.clear();
    m_wire.reset();
}

void SimSerialService::write(const QByteArray& text)
{
    if (m_openPort == 0)
        return;
    for (const QString& line : m_wire.receive(text, baudOfSettings(m_settings), m_clock.nanoseconds())) {
        m_log.append(QStringLiteral("%1 %2: %3").arg(portName(m_openPort), m_settings, line));
        m_commands.append(line);
    }
    releaseDue();
}

void SimSerialService::releaseDue()
{
    if (m_openPort != 0)
        m_input += m_wire.takeDue(m_clock.nanoseconds());
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
    if (const auto due = m_wire.nextDue(); due && m_openPort != 0)
        until = std::clamp(*due, now, until);
    m_clock.advanceNanoseconds(until - now);
    releaseDue();
}

} // namespace orx::sim
