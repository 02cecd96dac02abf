#pragma once
// The link's health at a glance: live (the answers come), slow (answers went missing in the last
// minute, counted), or gone (the instrument's port has vanished, or another instrument is on it). It
// watches the command link for answers and time-outs; those of a connect's search, which tries ports
// and baud rates where nothing answers, do not count.

#include "link/link_observer.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>

namespace orx {

class Clock;
struct ProgramState;

enum class LinkCondition
{
    None, // no instrument connected
    Live,
    Slow,
    Gone,
};

struct HealthReport
{
    LinkCondition condition = LinkCondition::None;
    int timeOuts = 0;                      // in the last minute
    std::optional<qint64> lastAnswerAgeNs; // nothing before the first answer
};

LinkCondition conditionOf(bool connected, bool gone, int recentTimeOuts);
QString healthText(const HealthReport& report);    // "Link: live", "Link: slow, 2 time-outs", ...
QString healthToolTip(const HealthReport& report); // the age of the last good answer

class LinkHealth : public LinkObserver
{
public:
    static constexpr qint64 kWindowNs = 60'000'000'000;
    // Time-outs kept at most: one costs a second, so a minute holds far fewer.
    static constexpr size_t kMaxTimeOuts = 120;

    // `connectStarted` runs when a connect begins.
    LinkHealth(const Clock& clock, const ProgramState& state, std::function<void()> connectStarted);

    HealthReport report(bool gone);
    // The link starts afresh (the instrument is back): earlier time-outs no longer count.
    void forgetTimeOuts() { m_timeOuts.clear(); }

    void connectStarted(const LinkMoment& at) override;
    void sent(const LinkMoment&, const QByteArray&) override {}
    void received(const LinkMoment& at, const QByteArray& bytes) override;
    void timedOut(const LinkMoment& at, const QByteArray& partial) override;
    void openFailed(const LinkMoment&) override {}
    void staleInputDiscarded(const LinkMoment&, const QByteArray&) override {}
    void gpibWriteFailed(const LinkMoment&, const QByteArray&) override {}
    void gpibReadFailed(const LinkMoment& at) override;

private:
    void noteTimeOut();
    void dropOldTimeOuts(qint64 now);

    const Clock& m_clock;
    const ProgramState& m_state;
    std::function<void()> m_connectStarted;
    std::deque<qint64> m_timeOuts; // when each happened, oldest first
    std::optional<qint64> m_lastAnswerNs;
};

} // namespace orx
