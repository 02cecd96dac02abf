#include "panel/output_switches.h"

#include "base/program_state.h"
#include "link/command_link.h"
#include "panel/form1_controls.h"
#include "panel/panel_states.h"
#include "panel/read_back.h"
#include "ui/option_group.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace orx {
OutputSwitches::OutputSwitches(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                               PanelStates& panelStates, ReadBack& readBack, QTimer& timer1)
    : m_c(controls), m_state(state), m_link(link), m_panelStates(panelStates), m_readBack(readBack),
      m_timer1(timer1)
{}

void OutputSwitches::output_Click(int index)
{
    if (index == kOn)
        switchOutputOn();
    else
        switchOutputOff();
}

void OutputSwitches::switchOutputOn()
{
    if (m_state.ProtectionTripped)
        return;
    // The automatic sequence drives the output: the set-points, monitor and protection switches are
    // locked before the output goes on.
    if (m_c.autorun->isSelected(kOn))
        m_panelStates.SetOutputControlsEnabled(false);
    m_link.SendCommand(QStringLiteral(":OUTP:STAT 1"));
    m_timer1.start();
    setInterfaceUsable(false);
}

void OutputSwitches::switchOutputOff()
{
    m_timer1.stop();
    if (!m_state.ProtectionTripped)
        m_link.SendCommand(QStringLiteral(":OUTP:STAT 0"));
    m_panelStates.SetOutputControlsEnabled(true);
    setInterfaceUsable(true);
    m_readBack.ReadBackAll();
    m_c.disv->setText(QStringLiteral("0.000V"));
    m_c.disc->setText(QStringLiteral("0.000A"));
}

void OutputSwitches::setInterfaceUsable(bool usable)
{
    m_c.Frame1->setEnabled(usable);
    m_c.mnuinterface->menuAction()->setEnabled(usable);
}

void OutputSwitches::ovpen_Click(int index)
{
    if (m_state.ProtectionTripped)
        return;
    m_link.SendCommand(index == kOn ? QStringLiteral(":VOLT:PROT:STAT 1")
                                    : QStringLiteral(":VOLT:PROT:STAT 0"));
}

void OutputSwitches::ocpen_Click(int index)
{
    if (m_state.ProtectionTripped)
        return;
    m_link.SendCommand(index == kOn ? QStringLiteral(":CURR:PROT:STAT 1")
                                    : QStringLiteral(":CURR:PROT:STAT 0"));
}

void OutputSwitches::clearovp_Click()
{
    clearTrip(m_c.clearovp, QStringLiteral(":VOLT:PROT:CLE"));
}

void OutputSwitches::clearocp_Click()
{
    clearTrip(m_c.clearocp, QStringLiteral(":CURR:PROT:CLE"));
}

// Releases the latch; the output stays off and the loop stopped until the operator switches it on.
void OutputSwitches::clearTrip(QPushButton* clearButton, const QString& clearCommand)
{
    m_link.SendCommand(QStringLiteral("*CLS"));
    m_link.SendCommand(clearCommand);
    m_panelStates.SetProtectionTripped(clearButton, false);
    m_c.ovcpmsg->clear();
}

} // namespace orx
