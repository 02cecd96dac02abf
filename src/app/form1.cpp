#include "app/form1.h"

#include "app/form1_layout.h"
#include "base/dialogs.h"
#include "base/program_state.h"
#include "connection/connector.h"
#include "connection/interface_selection.h"
#include "connection/link_recovery.h"
#include "connection/shutdown.h"
#include "editor/editor_commands.h"
#include "help/help_commands.h"
#include "link/command_link.h"
#include "link/gpib_service.h"
#include "memory/auto_mode.h"
#include "memory/memory_bank.h"
#include "memory/memory_compare.h"
#include "memory/memory_download.h"
#include "memory/memory_upload.h"
#include "panel/field_sends.h"
#include "panel/monitoring_loop.h"
#include "panel/output_switches.h"
#include "panel/panel_states.h"
#include "panel/read_back.h"
#include "panel/setpoint_entry.h"
#include "panel/step_choice.h"
#include "remote/remote_preference.h"
#include "remote/remote_server.h"
#include "remote/remote_window.h"
#include "traffic/traffic_console.h"
#include "trend/trend_window.h"
#include "ui/option_group.h"
#include "ui/single_window.h"
#include "ui/status_bar.h"
#include "ui/user_focus.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace orx {

Form1::Form1(ProgramState& state, Form1Services services)
    : m_state(state), m_services(std::move(services)), m_c(buildForm1(this))
{
    m_timer1.setInterval(1000);
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer2.setInterval(10);
    m_link = std::make_unique<CommandLink>(m_state, m_services.serial, m_services.gpib, m_services.dialogs,
                                           *m_c.SBar1, m_services.clock);
    m_panelStates = std::make_unique<PanelStates>(m_c, m_state, *m_link, m_timer1);
    m_readBack = std::make_unique<ReadBack>(m_c, m_state, *m_link, *m_panelStates);
    m_setpoints = std::make_unique<SetpointEntry>(m_c, m_state, *m_link);
    m_switches =
        std::make_unique<OutputSwitches>(m_c, m_state, *m_link, *m_panelStates, *m_readBack, m_timer1);
    m_monitoring = std::make_unique<MonitoringLoop>(m_c, m_state, *m_link, *m_panelStates, m_timer1);
    m_interfaceSelection = std::make_unique<InterfaceSelection>(m_c, m_state, m_members, *m_link,
                                                                m_services.dialogs, *m_panelStates);
    m_connector = std::make_unique<Connector>(
        this, m_c, m_state, m_members, *m_link, m_services.dialogs,
        Connector::Parts{*m_panelStates, *m_interfaceSelection, *m_readBack, *m_setpoints}, m_timer1,
        m_timer2, [this] { return m_ending; });
    m_shutdown = std::make_unique<Shutdown>(m_state, *m_link, *m_panelStates, [this] { endProgram(); });
    m_help = std::make_unique<HelpCommands>(this, m_state, m_services.dialogs);
    m_editor = std::make_unique<EditorCommands>(this, m_state, m_services.dialogs, *m_c.SBar1);
    m_autoMode = std::make_unique<AutoMode>(m_c, m_state, m_members, *m_link, *m_panelStates);
    m_memoryBank = std::make_unique<MemoryBank>(m_c, m_state, *m_link, *m_readBack);
    const TransferParts transfer{this, m_c, m_state, m_services.dialogs, *m_memoryBank, m_transfers, [this] {
                                     return m_ending;
                                 }};
    m_download = std::make_unique<MemoryDownload>(transfer);
    m_upload = std::make_unique<MemoryUpload>(transfer, m_services.clock, m_services.idleWait);
    m_compare = std::make_unique<MemoryCompare>(transfer);
    const auto identity = [this] {
        return m_members.InstrumentIdentity;
    };
    const auto interfaceName = [this] {
        return m_link->interfaceName();
    };
    m_trend = std::make_unique<SingleWindow>([this, identity, interfaceName] {
        return new TrendWindow(
            this, TrendSources{*m_monitoring, *m_c.output, m_services.clock, identity, interfaceName},
            m_services.dialogs);
    });
    m_traffic = std::make_unique<SingleWindow>(
        [this] { return new TrafficConsole(this, *m_link, m_services.dialogs); });
    const auto busy = [this] {
        return m_transfers.running() || m_ending;
    };
    m_fieldSends = std::make_unique<FieldSends>(m_services.clock, busy);
    m_recovery = std::make_unique<LinkRecovery>(
        m_c, m_state, *m_link, m_services.clock,
        LinkRecovery::Parts{*m_connector, *m_panelStates, *m_monitoring}, m_timer1, busy);
    connectInterfaceControls();
    connectControlPanel();
    connectMemory();
    connectCommands();
    connectRemote();
}

Form1::~Form1() = default;

bool Form1::load()
{
    if (m_services.anotherCopyRunning()) {
        m_services.dialogs.messageBox(QStringLiteral("This program is running now!"));
        return false;
    }
    m_members.StepSize = 0.001f;
    SetDefaults();
    if (!m_interfaceSelection->DiscoverInterfaces())
        return false;
    m_timer2.start();
    return true;
}

void Form1::SetDefaults()
{
    orx::SetDefaults(m_state, m_services.gpib.primaryAddress());
    m_c.gpibaddr->setText(QString::number(m_state.GpibAddress));
}

void Form1::connectInterfaceControls()
{
    InterfaceSelection* selection = m_interfaceSelection.get();
    connect(m_c.con, &OptionGroup::clicked, this, [selection](int index) { selection->con_Click(index); });
    connect(m_c.port, &QComboBox::currentIndexChanged, this, [selection] { selection->port_Click(); });
    connect(m_c.baud, &QComboBox::currentIndexChanged, this, [selection] { selection->baud_Click(); });
    connect(m_c.gpibaddr, &QLineEdit::textChanged, this, [selection] { selection->gpibaddr_Change(); });
    m_c.gpibaddr->installEventFilter(this);
    connect(m_c.mnuport, &QMenu::aboutToShow, this, [selection] { selection->mnuport_Open(); });
    for (int n = 1; n <= 4; ++n)
        connect(m_c.mnucom[n - 1], &QAction::triggered, this, [selection, n] { selection->mnucom_Click(n); });
    for (int i = 0; i < 4; ++i)
        connect(m_c.mnubaudItem[i], &QAction::triggered, this,
                [selection, i] { selection->mnubaud_Click(i); });
    connect(m_c.mnugpib, &QAction::triggered, this, [selection] { selection->mnugpib_Click(); });
}

void Form1::connectControlPanel()
{
    OutputSwitches* switches = m_switches.get();
    connect(m_c.output, &OptionGroup::clicked, this,
            [switches](int index) { switches->output_Click(index); });
    connect(m_c.ovpen, &OptionGroup::clicked, this, [switches](int index) { switches->ovpen_Click(index); });
    connect(m_c.ocpen, &OptionGroup::clicked, this, [switches](int index) { switches->ocpen_Click(index); });
    connect(m_c.clearovp, &QPushButton::clicked, this, [switches] { switches->clearovp_Click(); });
    connect(m_c.clearocp, &QPushButton::clicked, this, [switches] { switches->clearocp_Click(); });
    connect(&m_timer1, &QTimer::timeout, this, [this] {
        if (m_recovery->beforeTick())
            m_monitoring->Timer1_Timer();
    });
    m_setpoints->connectFields(this, *m_fieldSends);
}

void Form1::connectMemory()
{
    AutoMode* autoMode = m_autoMode.get();
    connect(m_c.autorun, &OptionGroup::clicked, this,
            [autoMode](int index) { autoMode->autorun_Click(index); });
    autoMode->connectFields(this, *m_fieldSends);
    m_memoryBank->connectFields(this);
    // One transfer at a time: while one runs, the buttons that would recall, save or start another
    // do nothing.
    const auto unlessTransferring = [this](QPushButton* button, std::function<void()> action) {
        connect(button, &QPushButton::clicked, this, [this, action] {
            if (!m_transfers.running())
                action();
        });
    };
    MemoryBank* bank = m_memoryBank.get();
    unlessTransferring(m_c.recall, [bank] { bank->recall_Click(); });
    unlessTransferring(m_c.save, [bank] { bank->save_Click(); });
    unlessTransferring(m_c.rallfile, [this] { m_upload->rallfile_Click(); });
    unlessTransferring(m_c.sallfile, [this] { m_download->sallfile_Click(); });
    unlessTransferring(m_c.cmpfile, [this] { m_compare->cmpfile_Click(); });
}

void Form1::connectCommands()
{
    Connector* connector = m_connector.get();
    connect(&m_timer2, &QTimer::timeout, this, [connector] { connector->Timer2_Timer(); });
    // A new search would pull the instrument away under a running transfer.
    const auto reconnect = [this, connector] {
        if (!m_transfers.running())
            connector->StartConnect();
    };
    connect(m_c.cmd_reconnect, &QPushButton::clicked, this, reconnect);
    connect(m_c.mnu_reconnect, &QAction::triggered, this, reconnect);
    for (int i = 0; i < 3; ++i) {
        QAction* item = m_c.deviceItem(i);
        // The model always comes from the instrument: the item only starts a new search and keeps its
        // check mark as the last identification left it.
        connect(item, &QAction::triggered, this, [item, reconnect](bool checked) {
            item->setChecked(!checked);
            reconnect();
        });
    }
    Shutdown* shutdown = m_shutdown.get();
    connect(m_c.cmdexit, &QPushButton::clicked, this, [this, shutdown] {
        m_remote->stop(); // the clients first: nothing of theirs may follow the last commands
        shutdown->cmdexit_Click();
    });
    connect(m_c.mnu_exit, &QAction::triggered, this, [shutdown] { shutdown->mnu_exit_Click(); });
    const auto stepTo = [this](int index) {
        applyStep(index, m_members.StepSize,
                  {m_c.setv, m_c.setc, m_c.vm, m_c.cm, m_c.ovp, m_c.ocp, m_c.ovpm, m_c.ocpm});
    };
    connect(m_c.optaction, &OptionGroup::clicked, this, stepTo);
    stepTo(m_c.optaction->selectedIndex()); // the fields start with the step of the option shown
    connect(m_c.mnuHelpContents, &QAction::triggered, this, [this] { m_help->showContents(); });
    connect(m_c.mnuHelpAbout, &QAction::triggered, this, [this] { m_help->showAbout(); });
    connect(m_c.mnuopen, &QAction::triggered, this, [this] { m_editor->mnuopen_Click(); });
    connect(m_c.mnunew, &QAction::triggered, this, [this] { m_editor->mnunew_Click(); });
    connect(m_c.mnuTraffic, &QAction::triggered, this, [this] { m_traffic->show(); });
    connect(m_c.mnuTrend, &QAction::triggered, this, [this] { m_trend->show(); });
}

// Remote lines run only in the gaps between the panel's own exchanges, and not while the instrument's
// port has gone (they wait for it to be taken up again); the read-back after a client's settings is
// the one that ends a connect.
void Form1::connectRemote()
{
    m_remote = std::make_unique<RemoteServer>(RemoteServer::Parts{
        *m_link, m_services.clock,
        [this] { return linkIsFree(m_state, m_transfers) && !isGone(m_recovery->watch()); },
        [this] {
            m_connector->readInstrumentState();
        }});
    m_remoteWindow = std::make_unique<SingleWindow>([this] { return new RemoteWindow(this, *m_remote); });
    connect(m_c.mnuRemote, &QAction::triggered, this, [this] { m_remoteWindow->show(); });
    connect(m_remote.get(), &RemoteServer::changed, this, [this] {
        const QString summary = remoteSummary(*m_remote);
        m_c.remoteField->setText(summary);
        m_c.remoteField->setVisible(!summary.isEmpty());
    });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_c.gpibaddr)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, m_c.gpibaddr,
                           [field = m_c.gpibaddr] { InterfaceSelection::SelectAllText(field); });
        break;
    case QEvent::FocusOut:
        // Only the operator's own move leaves the field; another window, a menu or the group being
        // disabled under it is not leaving it.
        if (isUserFocusLoss(*static_cast<QFocusEvent*>(event), *m_c.gpibaddr))
            m_interfaceSelection->gpibaddr_Confirm();
        break;
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            m_interfaceSelection->gpibaddr_Confirm();
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_ending) {
        m_remote->stop();
        m_shutdown->closeRequested();
    }
}

void Form1::endProgram()
{
    m_ending = true;
    hide();
    m_services.endProgram();
}

} // namespace orx
