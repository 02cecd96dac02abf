#include "connection/link_recovery.h"

#include "base/program_state.h"
#include "base/status_panels.h"
#include "connection/connector.h"
#include "connection/identity.h"
#include "link/command_link.h"
#include "link/serial_service.h"
#include "panel/form1_controls.h"
#include "panel/monitoring_loop.h"
#include "panel/panel_states.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

namespace orx {
namespace {

constexpr int kNoPort = -1;

QString colourOf(LinkCondition condition)
{
    switch (condition) {
    case LinkCondition::Live:
        return QStringLiteral("#1a7f37");
    case LinkCondition::Slow:
        return QStringLiteral("#9a6700");
    case LinkCondition::Gone:
        return QStringLiteral("#c00000");
    case LinkCondition::None:
        break;
    }
    return QStringLiteral("#6e7781");
}

} // namespace

LinkRecovery::LinkRecovery(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                           const Clock& clock, Parts parts, QTimer& timer1, std::function<bool()> busy)
    : m_c(controls), m_state(state), m_link(link), m_p(parts), m_timer1(timer1), m_busy(std::move(busy)),
      m_health(clock, state, [this] { onConnectStarted(); }), m_sleep(clock)
{
    m_link.addObserver(&m_health);
    m_c.mnuautoreconnect->setChecked(QSettings().value(kAutomaticKey, true).toBool());
    connect(m_c.mnuautoreconnect, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(kAutomaticKey, on); });
    connect(m_c.cmd_reconnectoffer, &QPushButton::clicked, this, [this] { offer_Click(); });
    connect(&m_p.monitoring, &MonitoringLoop::ticked, this, [this](const TickReadings& r) { onTick(r); });
    connect(&m_lookTimer, &QTimer::timeout, this, [this] { look(); });
    m_lookTimer.start(kLookIntervalMs);
    refreshHealth();
}

LinkRecovery::~LinkRecovery()
{
    m_link.removeObserver(&m_health);
}

bool LinkRecovery::serial() const
{
    return m_state.InterfaceMode == 1;
}

QString LinkRecovery::portName() const
{
    return serial() ? QStringLiteral("COM%1").arg(m_state.ComPort)
                    : QStringLiteral("GPIB address %1").arg(m_state.GpibAddress);
}

void LinkRecovery::look()
{
    if (m_sleep.sleptSinceLastLook() && m_timer1.isActive())
        m_readBackDue = true;
    if (m_port == 0 && m_state.ConnectDone == 1)
        m_port = serial() ? m_state.ComPort : kNoPort;
    if (!m_busy() && m_port != kNoPort && serial()) {
        const bool connected = m_state.ConnectDone == 1 && m_state.ComPort == m_port;
        const WatchDecision d = lookAtPort(m_watch, connected, m_link.serial().devicePresent(),
                                           m_c.mnuautoreconnect->isChecked());
        m_watch = d.next;
        switch (d.step) {
        case WatchStep::ReportGone:
            reportGone();
            break;
        case WatchStep::Rejoin:
            rejoin();
            break;
        case WatchStep::Offer:
            offer(portName() + QStringLiteral(" is back: press Reconnect"));
            break;
        case WatchStep::None:
            break;
        }
    }
    refreshHealth();
}

bool LinkRecovery::beforeTick()
{
    if (m_sleep.sleptSinceLastLook())
        m_readBackDue = true;
    if (!m_readBackDue || m_busy())
        return true; // a read-back still due waits for a tick that may break in
    m_readBackDue = false;
    const RejoinResult result = m_p.connector.Rejoin();
    if (result == RejoinResult::NoAnswer)
        return true; // the tick meets the silence and stops as it always does
    apply(result);
    return result == RejoinResult::Rejoined && m_timer1.isActive();
}

void LinkRecovery::offer_Click()
{
    if (!m_busy())
        rejoin();
}

void LinkRecovery::onTick(const TickReadings& readings)
{
    if (!readings.answerMissing)
        refreshHealth();
    else if (serial())
        look(); // a port that vanished is reported now, not a second later
    else if (m_state.ConnectDone == 1)
        offer(QStringLiteral("Communication error"));
}

void LinkRecovery::onConnectStarted()
{
    // A new search: whatever was watched, offered or refused is over.
    m_watch = PortWatch::Off;
    m_port = 0;
    m_readBackDue = false;
    m_c.cmd_reconnectoffer->hide();
}

void LinkRecovery::rejoin()
{
    apply(m_p.connector.Rejoin());
}

void LinkRecovery::apply(RejoinResult result)
{
    const bool wasGone = isGone(m_watch);
    m_c.cmd_reconnectoffer->hide();
    switch (result) {
    case RejoinResult::Rejoined:
        m_health.forgetTimeOuts(); // the time-outs of the lost link say nothing of this one
        if (wasGone)
            m_p.connector.ShowConnectResult();
        break;
    case RejoinResult::PortUnavailable:
        reportGone();
        break;
    case RejoinResult::NoAnswer:
        offer(serial() ? portName() + QStringLiteral(" is back but nothing answers")
                       : QStringLiteral("Nothing answers at ") + portName());
        break;
    case RejoinResult::OtherInstrument:
        refuse();
        break;
    }
    // Over GPIB there is no port to watch; only a refusal is kept.
    const bool kept = serial() || result == RejoinResult::OtherInstrument;
    m_watch = kept ? watchAfterRejoin(result) : PortWatch::Off;
    refreshHealth();
}

void LinkRecovery::reportGone()
{
    m_p.panelStates.SetDisconnectedPanel();
    m_timer1.stop();
    m_link.CloseSerialPort();
    m_c.cmd_reconnectoffer->hide();
    m_c.SBar1->setPanelText(1, portName() + QStringLiteral(" has gone: waiting for it to come back"));
}

void LinkRecovery::refuse()
{
    const QString answer = m_state.ResponseBuffer.text();
    const QString which =
        isOrxIdentity(answer) ? QStringLiteral(" (%1)").arg(modelFieldOf(answer)) : QString();
    m_timer1.stop();
    m_p.panelStates.SetDisconnectedPanel();
    m_c.SBar1->setPanelText(1, QStringLiteral("Another instrument%1 is on %2").arg(which, portName()));
}

void LinkRecovery::offer(const QString& status)
{
    m_c.SBar1->setPanelText(1, status);
    m_c.cmd_reconnectoffer->show();
}

void LinkRecovery::refreshHealth()
{
    const HealthReport report = m_health.report(isGone(m_watch));
    m_c.linkhealth->setText(healthText(report));
    m_c.linkhealth->setToolTip(healthToolTip(report));
    if (report.condition != m_shown) {
        m_shown = report.condition;
        m_c.linkhealth->setStyleSheet(
            QStringLiteral("QLabel { color: %1; }").arg(colourOf(report.condition)));
    }
}

} // namespace orx
