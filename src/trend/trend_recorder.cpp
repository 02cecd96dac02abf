#include "trend/trend_recorder.h"

#include "trend/trend_scale.h"

#include <QDateTime>
#include <QFileInfo>

namespace orx {
namespace {

using State = TrendLogStatus::State;

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a), second(b);
    return first.absoluteFilePath() == second.absoluteFilePath() ||
           (first.exists() && first.canonicalFilePath() == second.canonicalFilePath());
}

QString timeOfDay(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

QString trendLogStatusText(const TrendLogStatus& status)
{
    const QString lines =
        status.lines == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(status.lines);
    const QString where = QStringLiteral("%1 in %2").arg(lines, status.path);
    const QString stopped = QStringLiteral("The log stopped at %1").arg(timeOfDay(status.stopMs));
    switch (status.state) {
    case State::NeverStarted:
        return QStringLiteral(
            "Not logging. Log to file... writes every tick to a CSV file while the output is on.");
    case State::Running:
        return QStringLiteral("Logging since %1: %2.").arg(timeOfDay(status.startMs), where);
    case State::StoppedByOperator:
        return QStringLiteral("%1: %2.").arg(stopped, where);
    case State::StoppedWithOutput:
        return QStringLiteral("%1 because the output went off: %2.").arg(stopped, where);
    case State::WriteFailed:
        return QStringLiteral("%1 because the file could not be written (%2): %3.")
            .arg(stopped, status.error, where);
    }
    return QString();
}

TrendRecorder::TrendRecorder()
    : m_buffer(kTrendKeepMs, kTrendMaxPoints), m_log(std::make_unique<TrendLogFile>())
{}

void TrendRecorder::tick(qint64 timeMs, qint64 steadyMs, const TickReadings& readings)
{
    m_meter.add(EnergySample{steadyMs, readings.volts, readings.amperes}, readings.outputOn);
    m_buffer.addTick(timeMs, readings, m_meter.totals());
    if (logging()) {
        QString why;
        if (m_log->appendLine(trendLogLine(m_buffer.points().back(), localUtcOffsetSeconds(timeMs)), &why)) {
            m_status.lines = m_log->lines();
        } else {
            m_status.error = why;
            finishLog(State::WriteFailed, timeMs);
        }
    }
    if (!readings.outputOn || m_offPending)
        outputOff(timeMs);
}

void TrendRecorder::outputWentOff()
{
    m_offPending = true;
}

void TrendRecorder::settleOutputOff(qint64 timeMs)
{
    if (m_offPending)
        outputOff(timeMs);
}

void TrendRecorder::outputOff(qint64 timeMs)
{
    m_offPending = false;
    m_meter.endStretch();
    m_buffer.endRun();
    if (logging())
        finishLog(State::StoppedWithOutput, timeMs);
}

bool TrendRecorder::startLog(const QString& path, const TrendLogStart& start, QString* why)
{
    // The same file cannot be emptied under the log that writes it; another one is made first, so
    // that a log that was running goes on when the new file cannot be made.
    if (logging() && sameFile(path, m_log->path()))
        finishLog(State::StoppedByOperator, start.startMs);
    auto next = std::make_unique<TrendLogFile>();
    if (!next->open(path, trendLogHeader(start), why))
        return false;
    if (logging())
        finishLog(State::StoppedByOperator, start.startMs);
    m_log = std::move(next);
    m_status = TrendLogStatus{State::Running, path, 0, start.startMs, 0, QString()};
    return true;
}

void TrendRecorder::stopLog(qint64 timeMs)
{
    if (logging())
        finishLog(State::StoppedByOperator, timeMs);
}

void TrendRecorder::resetEnergy(qint64 timeMs)
{
    m_meter.reset();
    m_energySinceMs = timeMs;
}

void TrendRecorder::finishLog(State why, qint64 timeMs)
{
    m_log->close();
    m_status.state = why;
    m_status.stopMs = timeMs;
}

} // namespace orx
