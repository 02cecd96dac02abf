#include "sim/sim_gpib_service.h"

#include "sim/instrument.h"

namespace orx::sim {

SimGpibService::SimGpibService() = default;

SimGpibService::SimGpibService(const Clock& clock) : m_clock(&clock) {}

void SimGpibService::attachInstrument(int address, Instrument* instrument)
{
    m_instruments.insert(address, instrument);
}

QStringList SimGpibService::lines() const
{
    QStringList out;
    for (const QString& entry : m_log) {
        if (entry.startsWith(u"GPIB"))
            out.append(entry);
    }
    return out;
}

void SimGpibService::clearLog()
{
    m_log.clear();
    m_commands.clear();
}

Instrument* SimGpibService::instrumentHere() const
{
    if (!m_available || m_fault == Fault::Unplugged)
        return nullptr;
    return m_instruments.value(m_address, nullptr);
}

bool SimGpibService::setPrimaryAddress(int address)
{
    m_log.append(QStringLiteral("address %1").arg(address));
    if (address < 0 || address > 30)
        return false;
    m_address = address;
    return true;
}

bool SimGpibService::applyConfiguration()
{
    const bool ok = m_available && m_failingAddress != m_address;
    m_log.append(ok ? QStringLiteral("apply") : QStringLiteral("apply failed"));
    return ok;
}

// The whole text is one message; a terminator the caller may have added is not part of the command.
bool SimGpibService::write(const QByteArray& text)
{
    const QString command = QString::fromLatin1(text);
    m_commands.append(command);
    Instrument* instrument = instrumentHere();
    m_log.append(QStringLiteral("%1: %2%3")
                     .arg(device(), command, instrument ? QString() : QStringLiteral(" failed")));
    if (!instrument)
        return false;
    // A new message discards an answer that was never read, as an instrument's output queue does.
    m_pending.remove(m_address);
    const auto answer = instrument->handleLine(command, nowMs());
    if (!answer || m_fault == Fault::Silence || m_fault == Fault::Late)
        return true;
    const QByteArray line = answer->toLatin1() + '\n';
    m_pending.insert(m_address, m_fault == Fault::Garbage ? garbleAnswer(line.size(), m_noiseSeed) : line);
    return true;
}

std::optional<QByteArray> SimGpibService::read()
{
    if (!instrumentHere() || !m_pending.contains(m_address)) {
        m_log.append(QStringLiteral("read %1 failed").arg(device()));
        return std::nullopt;
    }
    m_log.append(QStringLiteral("read ") + device());
    return m_pending.take(m_address);
}

bool SimGpibService::goToLocal()
{
    m_log.append(QStringLiteral("local ") + device());
    if (!m_available)
        return false;
    if (Instrument* instrument = instrumentHere())
        instrument->goToLocal();
    return true;
}

} // namespace orx::sim
