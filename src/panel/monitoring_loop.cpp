#include "panel/monitoring_loop.h"

#include "base/numbers.h"
#include "base/program_state.h"
#include "link/command_link.h"
#include "panel/form1_controls.h"
#include "panel/panel_states.h"
#include "panel/read_back.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QLabel>
#include <QTimer>

namespace orx {
MonitoringLoop::MonitoringLoop(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                               PanelStates& panelStates, QTimer& timer1)
    : m_c(controls), m_state(state), m_link(link), m_panelStates(panelStates), m_timer1(timer1)
{}

void MonitoringLoop::Timer1_Timer()
{
    TickReadings readings;
    runTick(readings);
    readings.outputOn = !m_c.output->isSelected(kOff);
    emit ticked(readings);
}

void MonitoringLoop::runTick(TickReadings& readings)
{
    if (m_link.query(QStringLiteral(":MEAS?"))) {
        readings.volts = m_link.responseValue();
        m_c.disv->setText(formatTruncated3(*readings.volts) + u'V');
    }
    m_link.SendCommand(QStringLiteral("*CLS"));
    if (m_link.query(QStringLiteral(":MEAS:CURR?"))) {
        readings.amperes = m_link.responseValue();
        m_c.disc->setText(formatTruncated3(*readings.amperes) + u'A');
    }
    m_link.SendCommand(QStringLiteral("*CLS"));

    readings.tripped = tripFound(QStringLiteral(":CURR:PROT:TRIP?"), m_c.clearocp, kOcpTripMessage) ||
                       tripFound(QStringLiteral(":VOLT:PROT:TRIP?"), m_c.clearovp, kOvpTripMessage);

    if (!m_state.ProtectionTripped) {
        if (m_link.query(QStringLiteral(":OUTP:STAT?")))
            selectOptionOfValue(m_c.output, m_link.responseValue());
        m_link.SendCommand(QStringLiteral("*CLS"));
        if (m_c.output->isSelected(kOff)) {
            m_timer1.stop();
            return;
        }
    }
    if (m_state.LinkError == 1) {
        // The last awaited answer went missing: the loop stops, and says so, so that the last
        // readings do not look live.
        readings.answerMissing = true;
        m_timer1.stop();
        m_c.SBar1->setPanelText(1, QStringLiteral("Communication error"));
    }
}

// Asks one trip state; a trip latches, is reported and switches the output off (whose handling
// reads the whole state back). Judged on the answer alone: a missing answer is no trip.
bool MonitoringLoop::tripFound(const QString& query, QPushButton* clearButton, const QString& message)
{
    m_link.query(query);
    if (!isTripAnswer(m_state.ResponseBuffer))
        return false;
    m_panelStates.SetProtectionTripped(clearButton, true);
    m_c.ovcpmsg->setText(message);
    m_c.output->select(kOff);
    return true;
}

} // namespace orx
