#pragma once
// Keeps the panel with its instrument across a pulled cable, a replug and a suspend, and shows the
// link's health in the status bar.
//
// Once a second, and at once when a monitoring tick went unanswered, it looks at the serial port on
// which the last connect found the instrument, by its device file alone. When the port has vanished,
// monitoring stops, the panel is shown not connected and the status bar names the port that has gone;
// nothing is sent while it is away. When it is back, the panel connects again on that port and baud
// rate and reads the state back: at once when "Reconnect automatically" is checked (a preference kept
// between runs, on by default), otherwise on a click on the status bar's Reconnect offer. An
// instrument with another identity is not taken for the same one: the status bar says so and the
// operator decides (Reconnect searches anew).
//
// Over GPIB nothing can be looked at without traffic: when monitoring stops on a missing answer, the
// offer connects again at the same address when the operator asks.
//
// During a suspend the instrument may have been switched off, replaced or set at its front panel: the
// state is read back (after its identity is checked) before the next monitoring tick.

#include "connection/link_health.h"
#include "connection/link_watch.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace orx {

class Clock;
class CommandLink;
class Connector;
class MonitoringLoop;
class PanelStates;
struct Form1Controls;
struct ProgramState;
struct TickReadings;

class LinkRecovery : public QObject
{
public:
    static constexpr int kLookIntervalMs = 1000;
    static inline const QString kAutomaticKey = QStringLiteral("link/reconnectAutomatically");

    struct Parts
    {
        Connector& connector;
        PanelStates& panelStates;
        MonitoringLoop& monitoring;
    };

    // `busy` tells whether an operation runs that must not be broken into (a transfer).
    LinkRecovery(const Form1Controls& controls, ProgramState& state, CommandLink& link, const Clock& clock,
                 Parts parts, QTimer& timer1, std::function<bool()> busy);
    ~LinkRecovery() override;

    // One look at the port and at the clocks; the timer's, once a second.
    void look();
    // Runs before each monitoring tick: reads the state back after a suspend. False when the tick
    // must not run (monitoring stopped, or the instrument is gone).
    bool beforeTick();
    // The status bar's Reconnect offer.
    void offer_Click();

    PortWatch watch() const { return m_watch; }

private:
    void onTick(const TickReadings& readings);
    void onConnectStarted();
    void rejoin();
    void apply(RejoinResult result);
    void reportGone();
    void refuse();
    void offer(const QString& status);
    void refreshHealth();
    QString portName() const;
    bool serial() const;

    const Form1Controls& m_c;
    ProgramState& m_state;
    CommandLink& m_link;
    Parts m_p;
    QTimer& m_timer1;
    std::function<bool()> m_busy;
    LinkHealth m_health;
    SleepWatch m_sleep;
    QTimer m_lookTimer;
    PortWatch m_watch = PortWatch::Off;
    int m_port = 0;                       // the port watched: 0 until a connect ends, -1 when it found none
    bool m_readBackDue = false;           // a suspend was seen while monitoring ran
    std::optional<LinkCondition> m_shown; // the condition whose colour the field has
};

} // namespace orx
