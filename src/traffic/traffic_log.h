#pragma once
// The traffic console's memory: a bounded buffer of what the command link reported. Appending is all
// an observed exchange costs (no formatting, no window work); when the buffer is full the oldest record
// drops off. Records keep their sequence number for life, so a view can tell which ones it still
// shows after older ones dropped off or the buffer was cleared.

#include "link/link_observer.h"
#include "traffic/traffic_record.h"

#include <deque>
#include <functional>

namespace orx {

class TrafficLog : public LinkObserver
{
public:
    static constexpr qsizetype kMaxRecords = 100'000;

    explicit TrafficLog(qsizetype maxRecords = kMaxRecords);

    // Called after every record added (a window arms its refresh timer here).
    void setAppendHandler(std::function<void()> handler) { m_appended = std::move(handler); }

    // The kept records are those with sequence numbers firstSequence() .. endSequence() - 1.
    quint64 firstSequence() const { return m_end - m_records.size(); }
    quint64 endSequence() const { return m_end; }
    qsizetype size() const { return qsizetype(m_records.size()); }
    const TrafficRecord& at(quint64 sequence) const { return m_records[size_t(sequence - firstSequence())]; }

    // Forgets every record; numbering goes on.
    void clear() { m_records.clear(); }

    // LinkObserver
    void connectStarted(const LinkMoment& at) override;
    void sent(const LinkMoment& at, const QByteArray& bytes) override;
    void received(const LinkMoment& at, const QByteArray& bytes) override;
    void timedOut(const LinkMoment& at, const QByteArray& partial) override;
    void openFailed(const LinkMoment& at) override;
    void staleInputDiscarded(const LinkMoment& at, const QByteArray& bytes) override;
    void gpibWriteFailed(const LinkMoment& at, const QByteArray& bytes) override;
    void gpibReadFailed(const LinkMoment& at) override;
    void remarked(const LinkMoment& at, const QString& text, bool trouble) override;

private:
    void append(TrafficRecord::Kind kind, const LinkMoment& at, const QByteArray& bytes = {});

    size_t m_max;
    std::deque<TrafficRecord> m_records;
    quint64 m_end = 0;
    QString m_lastInterface; // shared by consecutive records of one interface instead of a copy each
    std::function<void()> m_appended;
};

} // namespace orx
