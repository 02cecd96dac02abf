// The command handlers of the virtual instrument: one small member function per command.

#include "sim/command_syntax.h"
#include "sim/instrument.h"

#include <algorithm>

namespace orx::sim {
namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

// ---- queries --------------------------------------------------------------------------------------

std::optional<QString> Instrument::identify(const QString&)
{
    return identity();
}

std::optional<QString> Instrument::nextError(const QString&)
{
    return m_errors.take();
}

std::optional<QString> Instrument::voltageSetpoint(const QString&)
{
    return milliText(m_active.voltage);
}

std::optional<QString> Instrument::currentSetpoint(const QString&)
{
    return milliText(m_active.current);
}

std::optional<QString> Instrument::ovpLevel(const QString&)
{
    return milliText(m_active.ovpLevel);
}

std::optional<QString> Instrument::ocpLevel(const QString&)
{
    return milliText(m_active.ocpLevel);
}

std::optional<QString> Instrument::rangeQuery(const QString&)
{
    return m_highRange ? QStringLiteral("HIGH") : QStringLiteral("LOW");
}

std::optional<QString> Instrument::measureVoltage(const QString&)
{
    return milliText(toMilli(measuredVoltage()));
}

std::optional<QString> Instrument::measureCurrent(const QString&)
{
    return milliText(toMilli(measuredCurrent()));
}

std::optional<QString> Instrument::outputState(const QString&)
{
    return flag(m_outputOn);
}

std::optional<QString> Instrument::ovpState(const QString&)
{
    return flag(m_active.ovpOn);
}

std::optional<QString> Instrument::ocpState(const QString&)
{
    return flag(m_active.ocpOn);
}

std::optional<QString> Instrument::ovpTrip(const QString&)
{
    return flag(m_ovpTripped);
}

std::optional<QString> Instrument::ocpTrip(const QString&)
{
    return flag(m_ocpTripped);
}

std::optional<QString> Instrument::autoState(const QString&)
{
    return flag(m_sequence.running());
}

std::optional<QString> Instrument::autoStart(const QString&)
{
    return QString::number(m_plan.first);
}

std::optional<QString> Instrument::autoEnd(const QString&)
{
    return QString::number(m_plan.last);
}

std::optional<QString> Instrument::autoCycles(const QString&)
{
    return QString::number(m_plan.cycles);
}

std::optional<QString> Instrument::autoDelay(const QString&)
{
    return QString::number(m_active.delay);
}

// ---- status and local -----------------------------------------------------------------------------

// Clears the status and the error queue; a latched trip stays until its own clear command.
std::optional<QString> Instrument::clearStatus(const QString&)
{
    m_errors.clear();
    return std::nullopt;
}

std::optional<QString> Instrument::returnToLocal(const QString&)
{
    m_remote = false;
    return std::nullopt;
}

// ---- set-points and range -------------------------------------------------------------------------

std::optional<QString> Instrument::setVoltage(const QString& argument)
{
    if (const auto milli = milliArgument(argument)) {
        m_active.voltage = heldWithin(*milli, m_highRange ? m_limits.voltMaxHigh : m_limits.voltMaxLow);
        checkProtection();
    }
    return std::nullopt;
}

// Any current up to the model's maximum is taken whatever the range; the next range command settles
// it (see the class comment). Meanwhile the output regulates to what the range allows.
std::optional<QString> Instrument::setCurrent(const QString& argument)
{
    if (const auto milli = milliArgument(argument)) {
        m_active.current = heldWithin(*milli, m_limits.currMaxLow);
        checkProtection();
    }
    return std::nullopt;
}

std::optional<QString> Instrument::setOvpLevel(const QString& argument)
{
    if (const auto milli = milliArgument(argument)) {
        m_active.ovpLevel = heldWithin(*milli, m_limits.ovpMax);
        checkProtection();
    }
    return std::nullopt;
}

std::optional<QString> Instrument::setOcpLevel(const QString& argument)
{
    if (const auto milli = milliArgument(argument)) {
        m_active.ocpLevel = heldWithin(*milli, m_limits.ocpMax);
        checkProtection();
    }
    return std::nullopt;
}

std::optional<QString> Instrument::setRange(const QString& argument)
{
    const auto high = parseRange(argument);
    if (!high) {
        m_errors.push(kIllegalParameterValue);
        return std::nullopt;
    }
    m_highRange = *high;
    fitSetpointsToRange();
    checkProtection();
    return std::nullopt;
}

// ---- output and protection switches ---------------------------------------------------------------

// The output cannot be switched on while a trip is latched: the trip has to be cleared first.
std::optional<QString> Instrument::setOutput(const QString& argument)
{
    const auto on = parseSwitch(argument);
    if (!on) {
        m_errors.push(kIllegalParameterValue);
        return std::nullopt;
    }
    if (*on && (m_ovpTripped || m_ocpTripped)) {
        m_errors.push(kSettingsConflict);
        return std::nullopt;
    }
    m_outputOn = *on;
    checkProtection();
    return std::nullopt;
}

std::optional<QString> Instrument::setOvpState(const QString& argument)
{
    const auto on = parseSwitch(argument);
    if (!on) {
        m_errors.push(kIllegalParameterValue);
        return std::nullopt;
    }
    m_active.ovpOn = *on;
    checkProtection();
    return std::nullopt;
}

std::optional<QString> Instrument::setOcpState(const QString& argument)
{
    const auto on = parseSwitch(argument);
    if (!on) {
        m_errors.push(kIllegalParameterValue);
        return std::nullopt;
    }
    m_active.ocpOn = *on;
    checkProtection();
    return std::nullopt;
}

// Clearing releases the latch only; the output stays off until it is switched on again.
std::optional<QString> Instrument::clearOvp(const QString&)
{
    m_ovpTripped = false;
    return std::nullopt;
}

std::optional<QString> Instrument::clearOcp(const QString&)
{
    m_ocpTripped = false;
    return std::nullopt;
}

// ---- memories -------------------------------------------------------------------------------------

std::optional<QString> Instrument::saveMemory(const QString& argument)
{
    const auto number = memoryArgument(argument);
    if (number && number == m_ignoredSave)
        m_ignoredSave.reset();
    else if (number)
        m_memories[static_cast<size_t>(*number)] = m_active;
    return std::nullopt;
}

std::optional<QString> Instrument::recallMemory(const QString& argument)
{
    if (const auto number = memoryArgument(argument))
        applyMemory(*number);
    return std::nullopt;
}

// The delay of the active settings, stored with the next "*SAV".
std::optional<QString> Instrument::setAutoDelay(const QString& argument)
{
    if (const auto delay = wholeArgument(argument)) {
        if (*delay < kMinDelay || *delay > kMaxDelay)
            m_errors.push(kDataOutOfRange);
        m_active.delay = static_cast<int>(std::clamp<qint64>(*delay, kMinDelay, kMaxDelay));
    }
    return std::nullopt;
}

// ---- automatic sequence ---------------------------------------------------------------------------

std::optional<QString> Instrument::setAutoRun(const QString& argument)
{
    const auto on = parseSwitch(argument);
    if (!on) {
        m_errors.push(kIllegalParameterValue);
        return std::nullopt;
    }
    if (!*on)
        m_sequence.stop();
    else if (!m_sequence.running())
        m_sequence.start(m_nowMs, m_plan, m_memories, [this](int memory) { return applyMemory(memory); });
    return std::nullopt;
}

// The start memory may never lie after the end memory (nor the end before the start): such a
// setting is refused, which is why the panel orders its two lines by the direction of the move.
std::optional<QString> Instrument::setAutoStart(const QString& argument)
{
    if (const auto number = memoryArgument(argument)) {
        if (*number > m_plan.last)
            m_errors.push(kSettingsConflict);
        else
            m_plan.first = *number;
    }
    return std::nullopt;
}

std::optional<QString> Instrument::setAutoEnd(const QString& argument)
{
    if (const auto number = memoryArgument(argument)) {
        if (*number < m_plan.first)
            m_errors.push(kSettingsConflict);
        else
            m_plan.last = *number;
    }
    return std::nullopt;
}

std::optional<QString> Instrument::setAutoCycles(const QString& argument)
{
    if (const auto cycles = wholeArgument(argument)) {
        if (*cycles < 0 || *cycles > kMaxCycles)
            m_errors.push(kDataOutOfRange);
        m_plan.cycles = static_cast<int>(std::clamp<qint64>(*cycles, 0, kMaxCycles));
    }
    return std::nullopt;
}

} // namespace orx::sim
