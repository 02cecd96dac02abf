#include "connection/interface_selection.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/program_state.h"
#include "base/status_panels.h"
#include "connection/identity.h"
#include "link/command_link.h"
#include "link/gpib_service.h"
#include "link/serial_service.h"
#include "panel/form1_controls.h"
#include "panel/form1_members.h"
#include "panel/panel_states.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

namespace orx {
namespace {

// The whole number of an input-box answer used as a GPIB address: an empty answer (or Cancel) is 0.
std::optional<int> addressFromAnswer(const QString& answer)
{
    if (answer.trimmed().isEmpty())
        return 0;
    return gpibAddressOf(answer);
}

} // namespace

InterfaceSelection::InterfaceSelection(const Form1Controls& controls, ProgramState& state,
                                       Form1Members& members, CommandLink& link, Dialogs& dialogs,
                                       PanelStates& panelStates)
    : m_c(controls), m_state(state), m_members(members), m_link(link), m_dialogs(dialogs),
      m_panelStates(panelStates)
{}

// A port another program holds is left out of the search like a missing one, but the operator is
// told, so that it is not mistaken for a port without an instrument.
void InterfaceSelection::reportPortsInUse(const QStringList& ports)
{
    if (ports.isEmpty())
        return;
    const QString text = ports.size() == 1 ? ports[0] + QStringLiteral(" is in use by another program.")
                                           : ports.join(QStringLiteral(", ")) +
                                                 QStringLiteral(" are in use by other programs.");
    m_c.SBar1->setPanelText(1, text);
    m_dialogs.messageBox(text + (ports.size() == 1 ? QStringLiteral(" It is left out of the search.")
                                                   : QStringLiteral(" They are left out of the search.")),
                         QStringLiteral("Warning"));
}

bool InterfaceSelection::DiscoverInterfaces()
{
    SerialService& serial = m_link.serial();
    m_state.PortCount = 0;
    QStringList inUse;
    for (int n = 1; n <= 4; ++n) {
        serial.setPortNumber(n);
        if (!serial.setOpen(true)) {
            if (serial.lastOpenFailure() == OpenFailure::InUse)
                inUse.append(QStringLiteral("COM%1").arg(n));
            continue;
        }
        serial.setOpen(false);
        ++m_state.PortCount;
        m_state.PortList[static_cast<size_t>(m_state.PortCount)] = static_cast<qint16>(n);
        m_c.port->addItem(QStringLiteral("COM%1").arg(n));
        m_c.mnucom[n - 1]->setEnabled(true);
    }
    reportPortsInUse(inUse);
    if (m_state.PortCount > 0) {
        m_c.port->setCurrentIndex(0);
        m_c.baud->setCurrentIndex(0);
        m_state.BaudIndex = 0;
    }

    GpibService& gpib = m_link.gpib();
    m_state.GpibAvailable = 1;
    for (int address = 0; address <= 30; ++address) {
        if (!gpib.setPrimaryAddress(address) || !gpib.applyConfiguration()) {
            m_state.GpibAvailable = 0;
            break;
        }
    }

    if (m_state.PortCount == 0) {
        m_c.con->setOptionEnabled(Form1Controls::kRs232Index, false);
        m_c.port->setEnabled(false);
        m_c.baud->setEnabled(false);
        m_c.mnurs232->menuAction()->setEnabled(false);
    }
    if (m_state.GpibAvailable == 0) {
        m_c.con->setOptionEnabled(Form1Controls::kGpibIndex, false);
        m_c.gpibaddr->setEnabled(false);
        m_c.mnugpib->setEnabled(false);
    }
    if (m_state.PortCount == 0 && m_state.GpibAvailable == 0) {
        m_dialogs.messageBox(QStringLiteral("Not valid connecting interface!"));
        return false;
    }
    return true;
}

void InterfaceSelection::SelectComPort(int port)
{
    m_c.output->select(kOff);
    m_link.CloseSerialPort();
    m_link.serial().setPortNumber(port);
    for (int n = 1; n <= 4; ++n)
        m_c.mnucom[n - 1]->setChecked(n == port);
}

void InterfaceSelection::SelectBaud(int baudIndex)
{
    m_c.output->select(kOff);
    m_link.CloseSerialPort();
    m_link.serial().setSettings(m_c.baud->currentText() + QStringLiteral(",n,8,1"));
    for (int i = 0; i < 4; ++i)
        m_c.mnubaudItem[i]->setChecked(i == baudIndex);
}

void InterfaceSelection::SelectAllText(QLineEdit* text)
{
    text->setSelection(0, static_cast<int>(text->text().size()));
}

bool InterfaceSelection::CheckGpibDevice()
{
    if (m_state.ConnectDone == 0)
        return true;
    m_state.InterfaceMode = 0;
    const auto address = wholeNumber16(leadingNumber(m_c.gpibaddr->text()));
    GpibService& gpib = m_link.gpib();
    if (!address || !gpib.setPrimaryAddress(*address) || !gpib.applyConfiguration())
        return false;
    m_link.query(QStringLiteral("*IDN?"));
    if (isMakerAnswer(m_state.ResponseBuffer)) {
        m_c.con->select(Form1Controls::kGpibIndex);
        m_state.GpibAddress = *address;
        return true;
    }
    reportCheckFailure();
    return true;
}

void InterfaceSelection::reportCheckFailure()
{
    m_dialogs.messageBox(QStringLiteral("Communication error! Please check the interface."),
                         QStringLiteral("Warning"));
    m_c.SBar1->setPanelText(1, QStringLiteral("Communication error!"));
    m_panelStates.SetDisconnectedPanel();
}

void InterfaceSelection::checkFromFieldOrMenu()
{
    m_members.GpibChecked = 1;
    // A GPIB service that refuses the address is a failed check like a silent device.
    if (!CheckGpibDevice())
        reportCheckFailure();
}

void InterfaceSelection::con_Click(int index)
{
    if (m_state.ConnectDone == 0)
        return;
    m_state.InterfaceMode = static_cast<qint16>(index);
    if (index == Form1Controls::kRs232Index) {
        m_c.port->setEnabled(true);
        m_c.baud->setEnabled(true);
    } else if (index == Form1Controls::kGpibIndex) {
        if (m_members.GpibChecked == 0 && !CheckGpibDevice()) {
            m_c.con->select(Form1Controls::kRs232Index);
        } else {
            m_c.SBar1->setPanelText(2, QStringLiteral("GPIB mode"));
            m_c.port->setEnabled(false);
            m_c.baud->setEnabled(false);
        }
    }
    m_members.GpibChecked = 0;
}

void InterfaceSelection::port_Click()
{
    if (m_state.ConnectDone == 0)
        return;
    m_state.ComPort = static_cast<qint16>(comPortOfEntry(m_c.port->currentText()));
    SelectComPort(m_state.ComPort);
}

void InterfaceSelection::baud_Click()
{
    if (m_state.ConnectDone == 0)
        return;
    m_state.BaudIndex = static_cast<qint16>(m_c.baud->currentIndex());
    SelectBaud(m_state.BaudIndex);
}

void InterfaceSelection::gpibaddr_Change()
{
    if (m_state.ConnectDone == 0)
        return;
    const QString text = m_c.gpibaddr->text();
    const QString normalised = normalisedGpibAddressText(text);
    if (normalised != text)
        m_c.gpibaddr->setText(normalised);
}

void InterfaceSelection::gpibaddr_Confirm()
{
    checkFromFieldOrMenu();
}

void InterfaceSelection::mnuport_Open()
{
    m_state.InterfaceMode = 1;
    m_c.con->select(Form1Controls::kRs232Index);
}

void InterfaceSelection::mnucom_Click(int port)
{
    m_state.ComPort = static_cast<qint16>(port);
    m_c.con->select(Form1Controls::kRs232Index);
    // A port that discovery did not find has no entry: the list keeps its selection.
    const int entry = m_c.port->findText(QStringLiteral("COM%1").arg(port));
    if (entry >= 0)
        m_c.port->setCurrentIndex(entry);
    SelectComPort(port);
}

void InterfaceSelection::mnubaud_Click(int baudIndex)
{
    m_state.BaudIndex = static_cast<qint16>(baudIndex);
    m_c.baud->setCurrentIndex(baudIndex);
    SelectBaud(baudIndex);
}

int InterfaceSelection::askGpibAddress()
{
    const QString title = QStringLiteral("GPIB");
    const QString fallback = QStringLiteral("8");
    auto address = addressFromAnswer(m_dialogs.inputBox(
        QStringLiteral("Please input a valid primary address of the GPIB"), title, fallback));
    if (!address) {
        address = addressFromAnswer(m_dialogs.inputBox(
            QStringLiteral("Please retype a valid primary address of the GPIB"), title, fallback));
    }
    return address.value_or(-1);
}

void InterfaceSelection::mnugpib_Click()
{
    const int address = askGpibAddress();
    m_c.gpibaddr->setText(address >= 0 ? QString::number(address) : QStringLiteral("8"));
    checkFromFieldOrMenu();
}

} // namespace orx
