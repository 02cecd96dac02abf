#include "panel/setpoint_entry.h"

#include "base/program_state.h"
#include "link/command_link.h"
#include "panel/field_sends.h"
#include "panel/form1_controls.h"
#include "panel/limit_rules.h"
#include "ui/numeric_field.h"

namespace orx {

SetpointEntry::SetpointEntry(const Form1Controls& controls, const ProgramState& state, CommandLink& link)
    : m_c(controls), m_state(state), m_link(link)
{}

void SetpointEntry::LimitVoltageField(NumericField* voltage, NumericField* current)
{
    const Correction fix = voltageRule(voltage->value(), current->value(), limitsOf(m_state));
    if (fix.field)
        voltage->setValue(*fix.field);
    if (fix.paired)
        current->setValue(*fix.paired);
}

void SetpointEntry::LimitCurrentField(NumericField* current, NumericField* voltage)
{
    const Correction fix = currentRule(current->value(), voltage->value(), limitsOf(m_state));
    if (fix.field)
        current->setValue(*fix.field);
}

void SetpointEntry::LimitOvpField(NumericField* level)
{
    if (const auto held = ovpRule(level->value(), limitsOf(m_state)))
        level->setValue(*held);
}

void SetpointEntry::LimitOcpField(NumericField* level)
{
    if (const auto held = ocpRule(level->value(), limitsOf(m_state)))
        level->setValue(*held);
}

void SetpointEntry::SendVoltageSetpoint(NumericField* voltage, NumericField* current)
{
    const QString range = rangeCommandFor(voltage->value(), current->value(), limitsOf(m_state));
    if (!range.isEmpty())
        m_link.SendCommand(range);
    m_link.SendCommand(QStringLiteral(":VOLT ") + voltage->text());
}

void SetpointEntry::SendCurrentSetpoint(NumericField* current)
{
    m_link.SendCommand(QStringLiteral(":CURR ") + current->text());
}

void SetpointEntry::SendOvpLevel(NumericField* level)
{
    m_link.SendCommand(QStringLiteral(":VOLT:PROT ") + level->text());
}

void SetpointEntry::SendOcpLevel(NumericField* level)
{
    m_link.SendCommand(QStringLiteral(":CURR:PROT ") + level->text());
}

void SetpointEntry::LimitAllFields()
{
    for (auto [voltage, current] : {std::pair{m_c.setv, m_c.setc}, std::pair{m_c.vm, m_c.cm}}) {
        LimitVoltageField(voltage, current);
        LimitCurrentField(current, voltage);
    }
    for (NumericField* level : {m_c.ovp, m_c.ovpm})
        LimitOvpField(level);
    for (NumericField* level : {m_c.ocp, m_c.ocpm})
        LimitOcpField(level);
}

void SetpointEntry::connectFields(QObject* context, FieldSends& sends)
{
    for (auto [voltage, current] : {std::pair{m_c.setv, m_c.setc}, std::pair{m_c.vm, m_c.cm}}) {
        QObject::connect(voltage, &NumericField::valueChanged, context,
                         [this, voltage, current] { LimitVoltageField(voltage, current); });
        QObject::connect(current, &NumericField::valueChanged, context,
                         [this, voltage, current] { LimitCurrentField(current, voltage); });
    }
    for (NumericField* level : {m_c.ovp, m_c.ovpm})
        QObject::connect(level, &NumericField::valueChanged, context,
                         [this, level] { LimitOvpField(level); });
    for (NumericField* level : {m_c.ocp, m_c.ocpm})
        QObject::connect(level, &NumericField::valueChanged, context,
                         [this, level] { LimitOcpField(level); });

    sends.add(m_c.setv, [this] { SendVoltageSetpoint(m_c.setv, m_c.setc); });
    sends.add(m_c.setc, [this] { SendCurrentSetpoint(m_c.setc); });
    sends.add(m_c.ovp, [this] { SendOvpLevel(m_c.ovp); });
    sends.add(m_c.ocp, [this] { SendOcpLevel(m_c.ocp); });
}

} // namespace orx
