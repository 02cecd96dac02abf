#include "connection/link_health.h"

#include "base/program_state.h"
#include "link/clock.h"

namespace orx {

LinkCondition conditionOf(bool connected, bool gone, int recentTimeOuts)
{
    if (!connected)
        return LinkCondition::None;
    if (gone)
        return LinkCondition::Gone;
    return recentTimeOuts > 0 ? LinkCondition::Slow : LinkCondition::Live;
}

QString healthText(const HealthReport& report)
{
    switch (report.condition) {
    case LinkCondition::Live:
        return QStringLiteral("Link: live");
    case LinkCondition::Slow:
        return report.timeOuts == 1 ? QStringLiteral("Link: slow, 1 time-out")
                                    : QStringLiteral("Link: slow, %1 time-outs").arg(report.timeOuts);
    case LinkCondition::Gone:
        return QStringLiteral("Link: gone");
    case LinkCondition::None:
        break;
    }
    return QStringLiteral("Link: none");
}

QString healthToolTip(const HealthReport& report)
{
    QString tip = report.lastAnswerAgeNs ? QStringLiteral("Last good answer %1 s ago.")
                                               .arg(double(*report.lastAnswerAgeNs) / 1e9, 0, 'f', 1)
                                         : QStringLiteral("No answer yet.");
    if (report.timeOuts > 0)
        tip += QStringLiteral(" Time-outs in the last minute: %1.").arg(report.timeOuts);
    return tip;
}

LinkHealth::LinkHealth(const Clock& clock, const ProgramState& state, std::function<void()> connectStarted)
    : m_clock(clock), m_state(state), m_connectStarted(std::move(connectStarted))
{}

HealthReport LinkHealth::report(bool gone)
{
    const qint64 now = m_clock.nanoseconds();
    dropOldTimeOuts(now);
    HealthReport r;
    r.timeOuts = static_cast<int>(m_timeOuts.size());
    r.condition = conditionOf(m_state.ConnectDone == 1, gone, r.timeOuts);
    if (m_lastAnswerNs)
        r.lastAnswerAgeNs = now - *m_lastAnswerNs;
    return r;
}

void LinkHealth::connectStarted(const LinkMoment&)
{
    m_timeOuts.clear();
    if (m_connectStarted)
        m_connectStarted();
}

void LinkHealth::received(const LinkMoment&, const QByteArray&)
{
    m_lastAnswerNs = m_clock.nanoseconds();
}

void LinkHealth::timedOut(const LinkMoment&, const QByteArray&)
{
    noteTimeOut();
}

void LinkHealth::gpibReadFailed(const LinkMoment&)
{
    noteTimeOut();
}

void LinkHealth::noteTimeOut()
{
    if (m_state.ConnectDone != 1)
        return; // the search's tries
    const qint64 now = m_clock.nanoseconds();
    dropOldTimeOuts(now);
    if (m_timeOuts.size() == kMaxTimeOuts)
        m_timeOuts.pop_front();
    m_timeOuts.push_back(now);
}

void LinkHealth::dropOldTimeOuts(qint64 now)
{
    while (!m_timeOuts.empty() && now - m_timeOuts.front() >= kWindowNs)
        m_timeOuts.pop_front();
}

} // namespace orx
