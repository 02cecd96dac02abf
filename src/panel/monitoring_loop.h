#pragma once
// The once-a-second monitoring loop that runs while the output is on: the measured voltage and
// current for the monitor displays, the two trip states and the output state. It stops itself when
// the output is off, a protection has tripped, or the last awaited answer of a tick went missing.
//
// A tick runs to its end on the user-interface thread without letting other events run, so ticks
// never overlap and their commands are never interleaved with others; a tick longer than the
// interval delays the next one, and missed expiries are not made up.

#include <QObject>
#include <optional>

class QPushButton;
class QString;
class QTimer;

namespace orx {

// What one tick read, for those who watch the loop: the measurements it got (nothing for a missing
// answer), whether the output is still on after it, and whether it found a trip or stopped on a
// missing answer.
struct TickReadings
{
    std::optional<double> volts;
    std::optional<double> amperes;
    bool outputOn = true;
    bool tripped = false;
    bool answerMissing = false;
};

class CommandLink;
class PanelStates;
struct Form1Controls;
struct ProgramState;

class MonitoringLoop : public QObject
{
    Q_OBJECT
public:
    MonitoringLoop(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                   PanelStates& panelStates, QTimer& timer1);

    void Timer1_Timer();

signals:
    // After every tick, with what it read; observing adds nothing to the wire.
    void ticked(const orx::TickReadings& readings);

private:
    bool tripFound(const QString& query, QPushButton* clearButton, const QString& message);
    void runTick(TickReadings& readings);

    const Form1Controls& m_c;
    ProgramState& m_state;
    CommandLink& m_link;
    PanelStates& m_panelStates;
    QTimer& m_timer1;
};

} // namespace orx
