#include "panel/read_back.h"

#include "base/numbers.h"
#include "base/program_state.h"
#include "link/command_link.h"
#include "panel/form1_controls.h"
#include "panel/panel_states.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QLabel>

namespace orx {

bool isTripAnswer(const QString& answer)
{
    return leadingNumber(answer) == 1.0;
}

ReadBack::ReadBack(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                   PanelStates& panelStates)
    : m_c(controls), m_state(state), m_link(link), m_panelStates(panelStates)
{}

void ReadBack::ReadMeasurements()
{
    if (m_link.query(QStringLiteral(":MEAS?")))
        m_c.disv->setText(formatVolts(m_link.responseValue()));
    if (m_link.query(QStringLiteral(":MEAS:CURR?")))
        m_c.disc->setText(formatAmperes(m_link.responseValue()));
}

void ReadBack::ReadSetpoints()
{
    if (m_link.query(QStringLiteral(":VOLT?")))
        m_c.setv->setValue(m_link.responseValue());
    if (m_link.query(QStringLiteral(":CURR?")))
        m_c.setc->setValue(m_link.responseValue());
}

void selectOptionOfValue(OptionGroup* group, double value)
{
    if (const auto index = wholeNumber16(value))
        group->select(*index);
}

void ReadBack::ReadProtection()
{
    if (m_link.query(QStringLiteral(":VOLT:PROT?")))
        m_c.ovp->setValue(m_link.responseValue());
    if (m_link.query(QStringLiteral(":VOLT:PROT:STAT?")))
        selectOptionOfValue(m_c.ovpen, m_link.responseValue());
    if (m_link.query(QStringLiteral(":CURR:PROT?")))
        m_c.ocp->setValue(m_link.responseValue());
    if (m_link.query(QStringLiteral(":CURR:PROT:STAT?")))
        selectOptionOfValue(m_c.ocpen, m_link.responseValue());
}

void ReadBack::ReadBackAll()
{
    ReadMeasurements();
    ReadSetpoints();
    m_link.query(QStringLiteral(":CURR:PROT:TRIP?"));
    if (isTripAnswer(m_state.ResponseBuffer)) {
        m_panelStates.SetProtectionTripped(m_c.clearocp, true);
        m_c.ovcpmsg->setText(kOcpTripMessage);
    } else {
        m_panelStates.SetProtectionTripped(m_c.clearocp, false);
        m_link.query(QStringLiteral(":VOLT:PROT:TRIP?"));
        if (isTripAnswer(m_state.ResponseBuffer)) {
            m_panelStates.SetProtectionTripped(m_c.clearovp, true);
            m_c.ovcpmsg->setText(kOvpTripMessage);
        } else {
            m_panelStates.SetProtectionTripped(m_c.clearovp, false);
        }
    }
    ReadProtection();
}

} // namespace orx
