#pragma once
// The ways the program ends: the EXIT button hands the instrument back to local control and, unless a
// protection is tripped, switches the output off; closing the window only hands it back; the Exit
// menu item ends at once.

#include <functional>

namespace orx {

class CommandLink;
class PanelStates;
struct ProgramState;

class Shutdown
{
public:
    Shutdown(ProgramState& state, CommandLink& link, PanelStates& panelStates,
             std::function<void()> endProgram);

    void cmdexit_Click();
    void closeRequested(); // the window's close request followed by its unload
    void mnu_exit_Click();

private:
    ProgramState& m_state;
    CommandLink& m_link;
    PanelStates& m_panelStates;
    std::function<void()> m_endProgram;
};

} // namespace orx
