#include "connection/shutdown.h"

#include "base/program_state.h"
#include "link/command_link.h"
#include "panel/panel_states.h"

namespace orx {

Shutdown::Shutdown(ProgramState& state, CommandLink& link, PanelStates& panelStates,
                   std::function<void()> endProgram)
    : m_state(state), m_link(link), m_panelStates(panelStates), m_endProgram(std::move(endProgram))
{}

void Shutdown::cmdexit_Click()
{
    m_panelStates.ReturnToLocal();
    if (!m_state.ProtectionTripped)
        m_link.SendCommand(QStringLiteral(":OUTP:STAT 0"));
    m_endProgram();
}

void Shutdown::closeRequested()
{
    m_panelStates.ReturnToLocal(); // the close request
    m_panelStates.ReturnToLocal(); // the unload
    m_endProgram();
}

void Shutdown::mnu_exit_Click()
{
    m_endProgram();
}

} // namespace orx
