#pragma once
// The output and protection switches and the two Clear buttons. Switching the output on starts the
// monitoring loop and locks the interface settings; switching it off stops the loop and reads the
// instrument's state back. While a protection trip is latched the switches send nothing.

class QPushButton;
class QString;
class QTimer;

namespace orx {

class CommandLink;
class PanelStates;
class ReadBack;
struct Form1Controls;
struct ProgramState;

class OutputSwitches
{
public:
    OutputSwitches(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                   PanelStates& panelStates, ReadBack& readBack, QTimer& timer1);

    void output_Click(int index);
    void ovpen_Click(int index);
    void ocpen_Click(int index);
    void clearovp_Click();
    void clearocp_Click();

private:
    void switchOutputOn();
    void switchOutputOff();
    void setInterfaceUsable(bool usable);
    void clearTrip(QPushButton* clearButton, const QString& clearCommand);

    const Form1Controls& m_c;
    ProgramState& m_state;
    CommandLink& m_link;
    PanelStates& m_panelStates;
    ReadBack& m_readBack;
    QTimer& m_timer1;
};

} // namespace orx
