#include "traffic/traffic_log.h"

namespace orx {

using Kind = TrafficRecord::Kind;

TrafficLog::TrafficLog(qsizetype maxRecords) : m_max(size_t(std::max<qsizetype>(1, maxRecords))) {}

void TrafficLog::append(Kind kind, const LinkMoment& at, const QByteArray& bytes)
{
    if (at.interfaceName != m_lastInterface)
        m_lastInterface = at.interfaceName;
    if (m_records.size() == m_max)
        m_records.pop_front();
    m_records.push_back(TrafficRecord{kind, at.sinceConnectNs, at.wallMs, m_lastInterface, bytes, at.origin});
    ++m_end;
    if (m_appended)
        m_appended();
}

void TrafficLog::connectStarted(const LinkMoment& at)
{
    append(Kind::ConnectStarted, at);
}

void TrafficLog::sent(const LinkMoment& at, const QByteArray& bytes)
{
    append(Kind::Sent, at, bytes);
}

void TrafficLog::received(const LinkMoment& at, const QByteArray& bytes)
{
    append(Kind::Received, at, bytes);
}

void TrafficLog::timedOut(const LinkMoment& at, const QByteArray& partial)
{
    append(Kind::TimedOut, at, partial);
}

void TrafficLog::openFailed(const LinkMoment& at)
{
    append(Kind::OpenFailed, at);
}

void TrafficLog::staleInputDiscarded(const LinkMoment& at, const QByteArray& bytes)
{
    append(Kind::StaleDiscarded, at, bytes);
}

void TrafficLog::gpibWriteFailed(const LinkMoment& at, const QByteArray& bytes)
{
    append(Kind::GpibWriteFailed, at, bytes);
}

void TrafficLog::gpibReadFailed(const LinkMoment& at)
{
    append(Kind::GpibReadFailed, at);
}

void TrafficLog::remarked(const LinkMoment& at, const QString& text, bool trouble)
{
    append(trouble ? Kind::Trouble : Kind::Note, at, text.toLatin1());
}

} // namespace orx
