#include "memory/auto_mode.h"

#include "base/numbers.h"
#include "base/program_state.h"
#include "link/command_link.h"
#include "memory/memory_rules.h"
#include "panel/field_sends.h"
#include "panel/form1_controls.h"
#include "panel/form1_members.h"
#include "panel/panel_states.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QGroupBox>

namespace orx {
namespace {

void applyRule(NumericField* field, std::optional<double> held)
{
    if (held)
        field->setValue(*held);
}

} // namespace

AutoMode::AutoMode(const Form1Controls& controls, const ProgramState& state, Form1Members& members,
                   CommandLink& link, PanelStates& panelStates)
    : m_c(controls), m_state(state), m_members(members), m_link(link), m_panelStates(panelStates)
{}

void AutoMode::autorun_Click(int index)
{
    if (index == kOn) {
        // Start, end and cycles cannot change under a running sequence.
        m_c.Frame3->setEnabled(false);
        if (!m_state.ProtectionTripped)
            m_link.SendCommand(QStringLiteral("SYST:AUTO 1"));
        return;
    }
    m_c.Frame3->setEnabled(true);
    if (!m_state.ProtectionTripped)
        m_link.SendCommand(QStringLiteral("SYST:AUTO 0"));
    m_panelStates.SetOutputControlsEnabled(true);
}

void AutoMode::switchSequenceOff()
{
    m_c.autorun->select(kOff);
}

// The instrument refuses a start above its end and an end below its start, so a range that moves
// wholly above the one it holds goes end first; any other change goes start first.
void AutoMode::SendAutoRange()
{
    switchSequenceOff();
    const QString start = QStringLiteral("SYST:AUTO:STAR ") + memoryNumberText(m_c.stm->value());
    const QString end = QStringLiteral("SYST:AUTO:CEAS ") + memoryNumberText(m_c.endm->value());
    if (ceaseLineFirst(m_c.stm->value(), m_c.endm->value(), m_members.AutoStartMemory,
                       m_members.AutoEndMemory)) {
        m_link.SendCommand(end);
        m_link.SendCommand(start);
    } else {
        m_link.SendCommand(start);
        m_link.SendCommand(end);
    }
    m_members.AutoStartMemory = static_cast<qint16>(memoryNumberOf(m_c.stm->value()));
    m_members.AutoEndMemory = static_cast<qint16>(memoryNumberOf(m_c.endm->value()));
}

void AutoMode::SendAutoCycles()
{
    switchSequenceOff();
    m_link.SendCommand(QStringLiteral("SYST:AUTO:CYCL ") + m_c.cycle->text());
}

void AutoMode::LimitStartMemory()
{
    applyRule(m_c.stm, startMemoryRule(m_c.stm->value(), m_c.endm->value()));
}

void AutoMode::LimitEndMemory()
{
    applyRule(m_c.endm, endMemoryRule(m_c.endm->value(), m_c.stm->value()));
}

void AutoMode::LimitCycleCount()
{
    applyRule(m_c.cycle, cycleRule(m_c.cycle->value()));
}

void AutoMode::connectFields(QObject* context, FieldSends& sends)
{
    QObject::connect(m_c.stm, &NumericField::valueChanged, context, [this] { LimitStartMemory(); });
    QObject::connect(m_c.endm, &NumericField::valueChanged, context, [this] { LimitEndMemory(); });
    QObject::connect(m_c.cycle, &NumericField::valueChanged, context, [this] { LimitCycleCount(); });
    sends.add(m_c.stm, [this] { SendAutoRange(); });
    sends.add(m_c.endm, [this] { SendAutoRange(); });
    sends.add(m_c.cycle, [this] { SendAutoCycles(); });
}

void showInstrumentRange(NumericField* stm, NumericField* endm, std::optional<double> start,
                         std::optional<double> end)
{
    const bool endFirst = start && end && *start > endm->value();
    if (endFirst)
        endm->setValue(*end);
    if (start)
        stm->setValue(*start);
    if (end && !endFirst)
        endm->setValue(*end);
}

} // namespace orx
