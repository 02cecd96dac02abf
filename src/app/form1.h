#pragma once
// The main window: the whole control panel. It owns the controls, the two timers and one object per
// group of procedures (panel states, interface selection, connect, read-back, shutdown, help), and
// wires the controls' events to them. The procedures themselves live in their subsystem folders.

#include "memory/transfer_run.h"
#include "memory/wait_seconds.h"
#include "panel/form1_controls.h"
#include "panel/form1_members.h"
#include "ui/pending_events.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

namespace orx {

class AutoMode;
class Clock;
class CommandLink;
class Connector;
class Dialogs;
class EditorCommands;
class FieldSends;
class GpibService;
class HelpCommands;
class InterfaceSelection;
class LinkRecovery;
class MemoryBank;
class MemoryCompare;
class MemoryDownload;
class MemoryUpload;
class MonitoringLoop;
class OutputSwitches;
class PanelStates;
class ReadBack;
class RemoteServer;
class SerialService;
class SetpointEntry;
class Shutdown;
class SingleWindow;
struct ProgramState;

struct Form1Services
{
    SerialService& serial;
    GpibService& gpib;
    Dialogs& dialogs;
    const Clock& clock;
    std::function<bool()> anotherCopyRunning; // the single-copy check
    std::function<void()> endProgram;         // ends the program at once
    IdleWait idleWait = waitForPendingEvents; // how waits sleep while letting events run
};

class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    Form1(ProgramState& state, Form1Services services);
    ~Form1() override;

    // The load handler. False when the program must end without showing the window.
    bool load();
    void SetDefaults();

    const Form1Controls& controls() const { return m_c; }
    Form1Members& members() { return m_members; }
    CommandLink& link() { return *m_link; }
    PanelStates& panelStates() { return *m_panelStates; }
    ReadBack& readBack() { return *m_readBack; }
    SetpointEntry& setpoints() { return *m_setpoints; }
    OutputSwitches& switches() { return *m_switches; }
    MonitoringLoop& monitoring() { return *m_monitoring; }
    InterfaceSelection& interfaceSelection() { return *m_interfaceSelection; }
    Connector& connector() { return *m_connector; }
    Shutdown& shutdown() { return *m_shutdown; }
    HelpCommands& help() { return *m_help; }
    AutoMode& autoMode() { return *m_autoMode; }
    MemoryBank& memoryBank() { return *m_memoryBank; }
    MemoryDownload& download() { return *m_download; }
    MemoryUpload& upload() { return *m_upload; }
    RemoteServer& remote() { return *m_remote; }
    MemoryCompare& compare() { return *m_compare; }
    QTimer& timer1() { return m_timer1; }
    QTimer& timer2() { return m_timer2; }
    bool isEnding() const { return m_ending; }
    FieldSends& fieldSends() { return *m_fieldSends; }
    LinkRecovery& recovery() { return *m_recovery; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectInterfaceControls();
    void connectCommands();
    void connectControlPanel();
    void connectMemory();
    void connectRemote();
    void endProgram();

    ProgramState& m_state;
    Form1Services m_services;
    Form1Controls m_c;
    Form1Members m_members;
    QTimer m_timer1;
    QTimer m_timer2;
    bool m_ending = false;
    std::unique_ptr<CommandLink> m_link;
    std::unique_ptr<PanelStates> m_panelStates;
    std::unique_ptr<ReadBack> m_readBack;
    std::unique_ptr<SetpointEntry> m_setpoints;
    std::unique_ptr<OutputSwitches> m_switches;
    std::unique_ptr<MonitoringLoop> m_monitoring;
    std::unique_ptr<InterfaceSelection> m_interfaceSelection;
    std::unique_ptr<Connector> m_connector;
    std::unique_ptr<Shutdown> m_shutdown;
    std::unique_ptr<HelpCommands> m_help;
    std::unique_ptr<EditorCommands> m_editor;
    TransferGate m_transfers;
    std::unique_ptr<AutoMode> m_autoMode;
    std::unique_ptr<MemoryBank> m_memoryBank;
    std::unique_ptr<MemoryDownload> m_download;
    std::unique_ptr<MemoryUpload> m_upload;
    std::unique_ptr<MemoryCompare> m_compare;
    std::unique_ptr<SingleWindow> m_trend;        // View > Trend...: watches the monitoring loop
    std::unique_ptr<SingleWindow> m_traffic;      // View > Traffic...; last: its console watches the link
    std::unique_ptr<RemoteServer> m_remote;       // goes before the traffic console and the panel's parts
    std::unique_ptr<SingleWindow> m_remoteWindow; // View > Remote access...: watches the server
    // When the sending fields send; and the port that vanishes and returns, a suspend, the link's health.
    std::unique_ptr<FieldSends> m_fieldSends;
    std::unique_ptr<LinkRecovery> m_recovery;
};

} // namespace orx
