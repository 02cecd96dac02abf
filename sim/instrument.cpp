#include "sim/instrument.h"

#include "base/model_limits.h"
#include "sim/command_syntax.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace orx::sim {

Instrument::Instrument(int modelIndex)
    : m_model(validModelIndex(modelIndex)), m_limits(milliLimits(m_model)), m_active(factorySettings(m_model))
{
    m_memories.fill(m_active);
}

QString Instrument::modelName() const
{
    return kModelNames[static_cast<size_t>(m_model)];
}

QString Instrument::identity() const
{
    return QStringLiteral("QZ.Inc,%1,%2,%3").arg(modelName(), m_serial, m_version);
}

// ---- the line -------------------------------------------------------------------------------------

struct Instrument::Command
{
    enum Kind
    {
        NoArgument, // queries and plain actions
        Argument    // settings
    };
    Kind kind;
    std::optional<QString> (Instrument::*run)(const QString& argument);
};

const Instrument::Command* Instrument::findCommand(const QString& header)
{
    using C = Command;
    static const QHash<QString, Command> table = {
        {QStringLiteral("*IDN?"), {C::NoArgument, &Instrument::identify}},
        {QStringLiteral("*CLS"), {C::NoArgument, &Instrument::clearStatus}},
        {QStringLiteral("SYST:ERR?"), {C::NoArgument, &Instrument::nextError}},
        {QStringLiteral("SYST:LOC"), {C::NoArgument, &Instrument::returnToLocal}},
        {QStringLiteral("MEAS?"), {C::NoArgument, &Instrument::measureVoltage}},
        {QStringLiteral("MEAS:VOLT?"), {C::NoArgument, &Instrument::measureVoltage}},
        {QStringLiteral("MEAS:CURR?"), {C::NoArgument, &Instrument::measureCurrent}},
        {QStringLiteral("VOLT?"), {C::NoArgument, &Instrument::voltageSetpoint}},
        {QStringLiteral("CURR?"), {C::NoArgument, &Instrument::currentSetpoint}},
        {QStringLiteral("VOLT:PROT?"), {C::NoArgument, &Instrument::ovpLevel}},
        {QStringLiteral("CURR:PROT?"), {C::NoArgument, &Instrument::ocpLevel}},
        {QStringLiteral("VOLT:RANG?"), {C::NoArgument, &Instrument::rangeQuery}},
        {QStringLiteral("OUTP:STAT?"), {C::NoArgument, &Instrument::outputState}},
        {QStringLiteral("VOLT:PROT:STAT?"), {C::NoArgument, &Instrument::ovpState}},
        {QStringLiteral("CURR:PROT:STAT?"), {C::NoArgument, &Instrument::ocpState}},
        {QStringLiteral("VOLT:PROT:TRIP?"), {C::NoArgument, &Instrument::ovpTrip}},
        {QStringLiteral("CURR:PROT:TRIP?"), {C::NoArgument, &Instrument::ocpTrip}},
        {QStringLiteral("SYST:AUTO?"), {C::NoArgument, &Instrument::autoState}},
        {QStringLiteral("SYST:AUTO:STAR?"), {C::NoArgument, &Instrument::autoStart}},
        {QStringLiteral("SYST:AUTO:CEAS?"), {C::NoArgument, &Instrument::autoEnd}},
        {QStringLiteral("SYST:AUTO:CYCL?"), {C::NoArgument, &Instrument::autoCycles}},
        {QStringLiteral("SYST:AUTO:DEL?"), {C::NoArgument, &Instrument::autoDelay}},
        {QStringLiteral("VOLT:PROT:CLE"), {C::NoArgument, &Instrument::clearOvp}},
        {QStringLiteral("CURR:PROT:CLE"), {C::NoArgument, &Instrument::clearOcp}},
        {QStringLiteral("VOLT"), {C::Argument, &Instrument::setVoltage}},
        {QStringLiteral("CURR"), {C::Argument, &Instrument::setCurrent}},
        {QStringLiteral("VOLT:PROT"), {C::Argument, &Instrument::setOvpLevel}},
        {QStringLiteral("CURR:PROT"), {C::Argument, &Instrument::setOcpLevel}},
        {QStringLiteral("VOLT:RANG"), {C::Argument, &Instrument::setRange}},
        {QStringLiteral("OUTP:STAT"), {C::Argument, &Instrument::setOutput}},
        {QStringLiteral("VOLT:PROT:STAT"), {C::Argument, &Instrument::setOvpState}},
        {QStringLiteral("CURR:PROT:STAT"), {C::Argument, &Instrument::setOcpState}},
        {QStringLiteral("*SAV"), {C::Argument, &Instrument::saveMemory}},
        {QStringLiteral("*RCL"), {C::Argument, &Instrument::recallMemory}},
        {QStringLiteral("SYST:AUTO:DEL"), {C::Argument, &Instrument::setAutoDelay}},
        {QStringLiteral("SYST:AUTO"), {C::Argument, &Instrument::setAutoRun}},
        {QStringLiteral("SYST:AUTO:STAR"), {C::Argument, &Instrument::setAutoStart}},
        {QStringLiteral("SYST:AUTO:CEAS"), {C::Argument, &Instrument::setAutoEnd}},
        {QStringLiteral("SYST:AUTO:CYCL"), {C::Argument, &Instrument::setAutoCycles}},
    };
    const auto it = table.constFind(header);
    return it == table.constEnd() ? nullptr : &it.value();
}

std::optional<QString> Instrument::handleLine(const QString& line, qint64 nowMs)
{
    advanceTo(nowMs);
    const CommandText command = splitCommand(line);
    if (command.header.isEmpty())
        return std::nullopt;
    // Any command from the computer takes the instrument into remote; "SYST:LOC" then leaves it.
    m_remote = true;
    const Command* entry = findCommand(command.header);
    if (!entry) {
        m_errors.push(kUndefinedHeader);
        return std::nullopt;
    }
    if (entry->kind == Command::Argument && !command.hasArgument) {
        m_errors.push(kMissingParameter);
        return std::nullopt;
    }
    if (entry->kind == Command::NoArgument && command.hasArgument) {
        m_errors.push(kParameterNotAllowed);
        return std::nullopt;
    }
    return (this->*entry->run)(command.argument);
}

void Instrument::advanceTo(qint64 nowMs)
{
    if (nowMs <= m_nowMs)
        return;
    m_nowMs = nowMs;
    m_sequence.advance(m_nowMs, m_plan, m_memories, [this](int memory) { return applyMemory(memory); });
}

// ---- load and measurements ------------------------------------------------------------------------

bool Instrument::setLoadOhms(double ohms)
{
    if (!(ohms >= 0.0) || std::isinf(ohms))
        return false;
    m_loadOhms = ohms;
    checkProtection();
    return true;
}

void Instrument::setOpenCircuit()
{
    m_loadOhms.reset();
    checkProtection();
}

// The supply regulates its voltage (CV) while the load draws no more than the current set-point;
// beyond that it regulates the current (CC) and the voltage falls to what the load then takes.
double Instrument::measuredVoltage() const
{
    if (!m_outputOn)
        return 0.0;
    const double volts = double(m_active.voltage) / 1000.0;
    const double amps = double(regulatedCurrent()) / 1000.0;
    if (!m_loadOhms || volts <= amps * *m_loadOhms)
        return volts;
    return amps * *m_loadOhms;
}

// The current the output regulates to: the set-point, or the range's maximum while a set-point
// above it waits for the next range command.
qint64 Instrument::regulatedCurrent() const
{
    return std::min(m_active.current, rangeMaxCurrent());
}

double Instrument::measuredCurrent() const
{
    if (!m_outputOn || !m_loadOhms)
        return 0.0;
    const double volts = double(m_active.voltage) / 1000.0;
    const double amps = double(regulatedCurrent()) / 1000.0;
    const double ohms = *m_loadOhms;
    if (volts <= amps * ohms)
        return ohms > 0.0 ? volts / ohms : 0.0;
    return amps;
}

// ---- protection -----------------------------------------------------------------------------------

bool Instrument::tripped(Protection protection) const
{
    return protection == Protection::Ovp ? m_ovpTripped : m_ocpTripped;
}

void Instrument::frontPanelOutputOff()
{
    m_outputOn = false;
}

void Instrument::forceTrip(Protection protection)
{
    trip(protection);
}

void Instrument::trip(Protection protection)
{
    (protection == Protection::Ovp ? m_ovpTripped : m_ocpTripped) = true;
    m_outputOn = false;
    m_sequence.stop();
}

// A protection that is on trips when the output is on and the measured value lies above its level.
bool Instrument::checkProtection()
{
    if (!m_outputOn)
        return false;
    if (m_active.ovpOn && toMilli(measuredVoltage()) > m_active.ovpLevel) {
        trip(Protection::Ovp);
        return true;
    }
    if (m_active.ocpOn && toMilli(measuredCurrent()) > m_active.ocpLevel) {
        trip(Protection::Ocp);
        return true;
    }
    return false;
}

// ---- memories -------------------------------------------------------------------------------------

const Settings& Instrument::memory(int number) const
{
    return m_memories[static_cast<size_t>(std::clamp(number, 0, kMemoryCount - 1))];
}

void Instrument::setMemory(int number, const Settings& settings)
{
    if (number < 0 || number >= kMemoryCount)
        return;
    Settings held = settings;
    held.voltage = std::clamp<qint64>(held.voltage, 0, m_limits.voltMaxHigh);
    held.current = std::clamp<qint64>(held.current, 0, m_limits.currMaxLow);
    held.ovpLevel = std::clamp<qint64>(held.ovpLevel, 0, m_limits.ovpMax);
    held.ocpLevel = std::clamp<qint64>(held.ocpLevel, 0, m_limits.ocpMax);
    held.delay = std::clamp(held.delay, kMinDelay, kMaxDelay);
    m_memories[static_cast<size_t>(number)] = held;
}

// Makes a memory the active settings. The range follows the memory's values: the high range for a
// voltage above the low range's top, the low range for a current above the high range's top,
// otherwise the range in use (the values fit both). True unless a protection tripped on it.
bool Instrument::applyMemory(int number)
{
    m_active = memory(number);
    if (m_active.voltage > m_limits.voltMaxLow)
        m_highRange = true;
    else if (m_active.current > m_limits.currMaxHigh)
        m_highRange = false;
    fitSetpointsToRange();
    return !checkProtection();
}

// After a change of range the set-points are held to what the new range allows; a value that had to
// be lowered queues "Data out of range".
void Instrument::fitSetpointsToRange()
{
    const qint64 voltage =
        std::min(m_active.voltage, m_highRange ? m_limits.voltMaxHigh : m_limits.voltMaxLow);
    const qint64 current = std::min(m_active.current, rangeMaxCurrent());
    if (voltage != m_active.voltage || current != m_active.current)
        m_errors.push(kDataOutOfRange);
    m_active.voltage = voltage;
    m_active.current = current;
}

qint64 Instrument::rangeMaxCurrent() const
{
    return m_highRange ? m_limits.currMaxHigh : m_limits.currMaxLow;
}

// ---- argument rules -------------------------------------------------------------------------------

std::optional<qint64> Instrument::milliArgument(const QString& argument)
{
    const auto value = parseDecimal(argument);
    if (!value) {
        m_errors.push(kDataTypeError);
        return std::nullopt;
    }
    return toMilli(*value);
}

std::optional<qint64> Instrument::wholeArgument(const QString& argument)
{
    const auto value = parseInteger(argument);
    if (!value)
        m_errors.push(kDataTypeError);
    return value;
}

// A memory number 0..99; anything else is refused, never taken as a neighbouring memory.
std::optional<int> Instrument::memoryArgument(const QString& argument)
{
    const auto value = wholeArgument(argument);
    if (!value)
        return std::nullopt;
    if (*value < 0 || *value >= kMemoryCount) {
        m_errors.push(kDataOutOfRange);
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

qint64 Instrument::heldWithin(qint64 value, qint64 maximum)
{
    if (value < 0 || value > maximum)
        m_errors.push(kDataOutOfRange);
    return std::clamp<qint64>(value, 0, maximum);
}

} // namespace orx::sim
