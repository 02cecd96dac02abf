#pragma once
// What the trend window records, free of the window: every monitoring tick goes into the charge and
// energy totals, the point buffer and, while a log runs, the log file. The log stops with the output: the
// tick after which the output is off writes its line and closes the log; an output switched off between ticks
// closes it when settled (the window settles after the event that switched it off, because a tick that finds
// a trip switches the output off before it reports its readings).

#include "trend/trend_buffer.h"
#include "trend/trend_log_file.h"
#include "trend/trend_log_format.h"

#include <memory>

namespace orx {

struct TrendLogStatus
{
    enum class State
    {
        NeverStarted,
        Running,
        StoppedByOperator,
        StoppedWithOutput,
        WriteFailed,
    };

    State state = State::NeverStarted;
    QString path;
    qint64 lines = 0;   // tick lines written
    qint64 startMs = 0; // when it started, and when it stopped
    qint64 stopMs = 0;
    QString error; // why the file could not be written
};

// The sentence the window shows about the log, times in local time of day.
QString trendLogStatusText(const TrendLogStatus& status);

class TrendRecorder
{
public:
    TrendRecorder();

    // `timeMs` on the wall clock labels the tick; `steadyMs`, on a clock that never jumps, measures
    // the time between ticks for the totals.
    void tick(qint64 timeMs, qint64 steadyMs, const TickReadings& readings);
    // The output went off (by any handling); the log stops at the next tick or when settled, whichever
    // comes first. Settling without such news does nothing.
    void outputWentOff();
    void settleOutputOff(qint64 timeMs);

    // Starts a log in a file (emptied if it exists), replacing a running one. False with the reason
    // when the file could not be made; a log that was running then goes on.
    bool startLog(const QString& path, const TrendLogStart& start, QString* why);
    void stopLog(qint64 timeMs);

    // The charge and energy start again from zero; `timeMs` is when.
    void resetEnergy(qint64 timeMs);
    const EnergyTotals& energy() const { return m_meter.totals(); }
    qint64 energySinceMs() const { return m_energySinceMs; }

    const TrendBuffer& buffer() const { return m_buffer; }
    const TrendLogStatus& logStatus() const { return m_status; }
    bool logging() const { return m_status.state == TrendLogStatus::State::Running; }

private:
    void outputOff(qint64 timeMs);
    void finishLog(TrendLogStatus::State why, qint64 timeMs);

    EnergyMeter m_meter;
    qint64 m_energySinceMs = 0;
    TrendBuffer m_buffer;
    std::unique_ptr<TrendLogFile> m_log;
    TrendLogStatus m_status;
    bool m_offPending = false;
};

} // namespace orx
