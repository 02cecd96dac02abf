#pragma once
// Finds the usable serial ports and the GPIB interface at start, and applies the operator's choice
// of port, baud rate, GPIB address and interface (from the "Connecting Interface" group or the
// Interface menu) to the serial and GPIB services.

#include <QStringList>

class QLineEdit;

namespace orx {

class CommandLink;
class Dialogs;
class PanelStates;
struct Form1Controls;
struct Form1Members;
struct ProgramState;

class InterfaceSelection
{
public:
    InterfaceSelection(const Form1Controls& controls, ProgramState& state, Form1Members& members,
                       CommandLink& link, Dialogs& dialogs, PanelStates& panelStates);

    // False when neither a serial port nor a GPIB interface is usable (the operator has been told).
    bool DiscoverInterfaces();

    void SelectComPort(int port);
    void SelectBaud(int baudIndex);
    static void SelectAllText(QLineEdit* text);

    // Switches to GPIB at the address in the field and checks that the maker's instrument answers.
    // False when the GPIB service failed to take the address (nothing else has happened then).
    bool CheckGpibDevice();

    // Handlers of the group's controls and of the Interface menu.
    void con_Click(int index);
    void port_Click();
    void baud_Click();
    void gpibaddr_Change();
    void gpibaddr_Confirm(); // Enter released in the field, or the field lost the focus
    void mnuport_Open();
    void mnucom_Click(int port);
    void mnubaud_Click(int baudIndex);
    void mnugpib_Click();

private:
    void reportCheckFailure();
    void reportPortsInUse(const QStringList& ports);
    void checkFromFieldOrMenu();
    int askGpibAddress(); // -1 when both answers were unusable

    const Form1Controls& m_c;
    ProgramState& m_state;
    Form1Members& m_members;
    CommandLink& m_link;
    Dialogs& m_dialogs;
    PanelStates& m_panelStates;
};

} // namespace orx
