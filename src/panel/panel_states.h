#pragma once
// Which parts of the main window can be used: while connecting, connected, not connected, while a
// protection trip waits to be cleared, and while the automatic sequence drives the output. Each
// procedure sets exactly its own set of controls and leaves every other control as it was.

#include <QtGlobal>

class QPushButton;
class QTimer;

namespace orx {

class CommandLink;
struct Form1Controls;
struct ProgramState;

class PanelStates
{
public:
    PanelStates(const Form1Controls& controls, ProgramState& state, CommandLink& link, QTimer& timer1);

    void SetPanelEnabled(bool enabled);
    void SetDisconnectedPanel();
    void SetOperatingControlsEnabled(bool enabled);
    void SetOutputControlsEnabled(bool enabled);
    void SetProtectionTripped(QPushButton* clearButton, bool tripped);

    // Hands the instrument back to its front panel; ignores every failure.
    void ReturnToLocal();

private:
    const Form1Controls& m_c;
    ProgramState& m_state;
    CommandLink& m_link;
    QTimer& m_timer1;
};

} // namespace orx
