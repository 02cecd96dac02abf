#include "connection/connector.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/program_state.h"
#include "connection/identity.h"
#include "connection/interface_selection.h"
#include "link/command_link.h"
#include "link/gpib_service.h"
#include "link/serial_service.h"
#include "memory/auto_mode.h"
#include "panel/form1_controls.h"
#include "panel/form1_members.h"
#include "panel/panel_states.h"
#include "panel/read_back.h"
#include "panel/setpoint_entry.h"
#include "ui/form2.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"
#include "ui/pending_events.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace orx {

Connector::Connector(QWidget* mainWindow, const Form1Controls& controls, ProgramState& state,
                     Form1Members& members, CommandLink& link, Dialogs& dialogs, Parts parts, QTimer& timer1,
                     QTimer& timer2, std::function<bool()> programEnding)
    : m_mainWindow(mainWindow), m_c(controls), m_state(state), m_members(members), m_link(link),
      m_dialogs(dialogs), m_parts(parts), m_timer1(timer1), m_timer2(timer2),
      m_programEnding(std::move(programEnding))
{}

void Connector::StartConnect()
{
    m_state.ConnectDone = 0;
    m_state.ConnectStarted = 0;
    m_timer2.start();
}

void Connector::Timer2_Timer()
{
    // No monitoring tick may run during the search: it would query every port and baud rate under
    // test, and a wrong rate's garbage could latch a false trip. The connect resumes monitoring when
    // it finds the output on.
    m_timer1.stop();
    m_parts.panelStates.SetPanelEnabled(false);
    m_timer2.stop();
    ConnectInstrument();
    if (m_programEnding())
        return;
    ShowConnectResult();
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void Connector::ShowConnectResult()
{
    if (m_state.LinkError != 1)
        m_parts.panelStates.SetPanelEnabled(true);
    else
        m_parts.panelStates.SetDisconnectedPanel();
    if (m_state.ProtectionTripped)
        m_parts.panelStates.SetOperatingControlsEnabled(false);
}

void Connector::ConnectInstrument()
{
    if (m_state.ConnectStarted != 0) {
        m_state.ConnectDone = 1;
        return;
    }
    auto dialog = std::make_unique<Form2>(m_mainWindow);
    dialog->show();
    m_state.ConnectStarted = 1;
    m_link.noteConnectStarted();

    std::optional<QString> identity;
    if (m_state.PortCount != 0)
        identity = searchSerial(*dialog);
    else
        m_state.LinkError = 1;
    if (!identity && !m_programEnding() && m_state.GpibAvailable == 1)
        identity = searchGpib(*dialog);
    if (m_programEnding())
        return;
    if (!identity) {
        // Nothing answered as an ORX instrument, even if some other device did.
        m_state.LinkError = 1;
        reportNotFound();
        return;
    }
    identify(*identity);
    // Values held for a larger model must not reach a smaller one.
    m_parts.setpoints.LimitAllFields();
    readInstrumentState(dialog.get());
    dialog.reset();
    m_state.ConnectDone = 1;
}

bool Connector::letEventsRunAndCheckEnding()
{
    letPendingEventsRun();
    return m_programEnding();
}

bool Connector::tryIdentity(QString& identity)
{
    m_link.SendCommand(QStringLiteral("*CLS"));
    m_link.SendCommand(QStringLiteral("*IDN?"));
    m_link.ReadResponse();
    identity = m_state.ResponseBuffer;
    return m_state.LinkError == 0 && isOrxIdentity(identity);
}

std::optional<QString> Connector::searchSerial(Form2& dialog)
{
    SerialService& serial = m_link.serial();
    m_state.InterfaceMode = 1;
    dialog.setText(QStringLiteral("Connectting ORX from RS232..."));
    dialog.setMax(4 * m_state.PortCount);
    dialog.setValue(0);
    for (int i = 1; i <= m_state.PortCount; ++i) {
        m_state.ComPort = m_state.PortList[static_cast<size_t>(i)];
        m_link.CloseSerialPort();
        serial.setPortNumber(m_state.ComPort);
        for (int b = 0; b <= 3; ++b) {
            if (letEventsRunAndCheckEnding())
                return std::nullopt;
            m_state.BaudIndex = static_cast<qint16>(b);
            serial.setSettings(m_state.BaudSettings[static_cast<size_t>(b)]);
            QString identity;
            const bool found = tryIdentity(identity);
            dialog.setValue(dialog.value() + 1);
            if (!found)
                continue;
            m_c.port->setCurrentIndex(i - 1);
            m_parts.interfaceSelection.SelectComPort(m_state.ComPort);
            m_c.baud->setCurrentIndex(m_state.BaudIndex);
            m_parts.interfaceSelection.SelectBaud(m_state.BaudIndex);
            m_link.query(QStringLiteral("SYST:ERR?"));
            m_c.SBar1->setPanelText(2, QStringLiteral("COM%1: ").arg(m_state.ComPort) +
                                           m_state.BaudSettings[static_cast<size_t>(m_state.BaudIndex)]);
            return identity;
        }
    }
    return std::nullopt;
}

std::optional<QString> Connector::searchGpib(Form2& dialog)
{
    if (m_state.LinkError != 1)
        return std::nullopt;
    GpibService& gpib = m_link.gpib();
    dialog.setText(QStringLiteral("Connectting device from GPIB..."));
    dialog.setMax(30);
    dialog.setValue(0);
    m_state.InterfaceMode = 0;
    for (int address = 0; address <= 30; ++address) {
        if (letEventsRunAndCheckEnding())
            return std::nullopt;
        dialog.setValue(address);
        gpib.setPrimaryAddress(address);
        gpib.applyConfiguration();
        QString identity;
        const bool found = tryIdentity(identity);
        m_parts.panelStates.ReturnToLocal();
        if (!found)
            continue;
        m_state.GpibAddress = static_cast<qint16>(address);
        m_c.gpibaddr->setText(QString::number(address));
        m_c.port->setEnabled(false);
        m_c.baud->setEnabled(false);
        m_c.con->select(Form1Controls::kGpibIndex);
        m_c.SBar1->setPanelText(2, QStringLiteral("GPIB mode"));
        return identity;
    }
    return std::nullopt;
}

void Connector::reportNotFound()
{
    m_c.optaction->select(0);
    m_dialogs.messageBox(QStringLiteral("Communication error! Please check the interface."),
                         QStringLiteral("Warning"));
    m_c.SBar1->setPanelText(1, QStringLiteral("Communication error!"));
}

void Connector::identify(const QString& identity)
{
    m_members.InstrumentIdentity = identity.trimmed();
    m_state.ModelName = modelFieldOf(identity);
    const int index = modelIndexOf(m_state.ModelName);
    if (index >= 0)
        m_state.ModelIndex = static_cast<qint16>(index);
    ShowModel(m_state.ModelIndex);
}

void Connector::ShowModel(int modelIndex)
{
    for (int i = 0; i < kModelCount; ++i)
        m_c.deviceItem(i)->setChecked(false);
    m_c.SBar1->setPanelText(3, m_state.ModelName);
    if (QAction* item = m_c.deviceItem(modelIndex))
        item->setChecked(true);
}

RejoinResult Connector::Rejoin()
{
    const bool serial = m_state.InterfaceMode == 1;
    if (serial)
        m_link.CloseSerialPort(); // a handle of its own on the device that came back
    if (!m_link.query(QStringLiteral("*IDN?")))
        return serial && m_link.lastSendFailed() ? RejoinResult::PortUnavailable : RejoinResult::NoAnswer;
    if (m_state.ResponseBuffer.text().trimmed() != m_members.InstrumentIdentity)
        return RejoinResult::OtherInstrument;
    m_c.SBar1->setPanelText(1, QStringLiteral("Ready"));
    readInstrumentState();
    return RejoinResult::Rejoined;
}

void Connector::readInstrumentState(Form2* progress)
{
    const auto advance = [progress] {
        if (progress)
            progress->setValue(progress->value() + 1);
    };
    if (progress) {
        progress->setMax(6);
        progress->setValue(0);
        progress->setText(QStringLiteral("Get information from ORX..."));
        m_c.SBar1->setPanelText(1, QStringLiteral("Ready"));
    }
    m_parts.readBack.ReadBackAll();
    advance();
    std::optional<double> start;
    std::optional<double> end;
    if (m_link.query(QStringLiteral("SYST:AUTO:STAR?"))) {
        start = m_link.responseValue();
        m_members.AutoStartMemory = wholeNumberClamped16(*start);
    }
    if (m_link.query(QStringLiteral("SYST:AUTO:CEAS?"))) {
        end = m_link.responseValue();
        m_members.AutoEndMemory = wholeNumberClamped16(*end);
    }
    // Both fields once both answers are in, so that their limits do not pull one to the other's
    // old value.
    showInstrumentRange(m_c.stm, m_c.endm, start, end);
    if (m_link.query(QStringLiteral("SYST:AUTO:CYCL?")))
        m_c.cycle->setValue(m_link.responseValue());
    const bool autoAnswered = m_link.query(QStringLiteral("SYST:AUTO?"));
    advance();
    if (autoAnswered)
        selectOptionOfValue(m_c.autorun, m_link.responseValue());
    const bool outputAnswered = m_link.query(QStringLiteral(":OUTP:STAT?"));
    advance();
    if (outputAnswered)
        selectOptionOfValue(m_c.output, m_link.responseValue());
    if (m_c.output->isSelected(kOff))
        m_c.disv->setText(QStringLiteral("0.000V"));
    resumeMonitoring();
}

// An output already shown "ON" before the search is not selected again, so its handling does not
// run: the loop that the search stopped starts again here.
void Connector::resumeMonitoring()
{
    if (m_c.output->isSelected(kOn) && !m_state.ProtectionTripped && !m_timer1.isActive())
        m_timer1.start();
}

} // namespace orx
