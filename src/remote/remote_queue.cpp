#include "remote/remote_queue.h"

#include <algorithm>

namespace orx {

qsizetype RemoteQueue::waitingOf(quint64 client) const
{
    return std::count_if(m_entries.begin(), m_entries.end(),
                         [client](const Entry& e) { return e.client == client && !e.line.isEmpty(); });
}

bool RemoteQueue::push(quint64 client, const QString& origin, const QByteArray& line, qint64 nowNs)
{
    if (line.isEmpty() || waitingOf(client) >= kMaxLinesPerClient)
        return false;
    m_entries.push_back({client, line, nowNs, origin});
    return true;
}

void RemoteQueue::pushReadBack(quint64 client, qint64 nowNs)
{
    if (std::none_of(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.line.isEmpty(); }))
        m_entries.push_back({client, QByteArray(), nowNs, QString()});
}

std::optional<RemoteQueue::Entry> RemoteQueue::takeNext()
{
    if (m_entries.empty())
        return std::nullopt;
    Entry next = std::move(m_entries.front());
    m_entries.pop_front();
    return next;
}

QList<RemoteQueue::Entry> RemoteQueue::takeExpired(qint64 nowNs)
{
    QList<Entry> expired;
    // Entries arrive in time order, so the expired ones are at the front.
    while (!m_entries.empty() && nowNs - m_entries.front().arrivedNs > kMaxWaitNs) {
        expired.append(std::move(m_entries.front()));
        m_entries.pop_front();
    }
    return expired;
}

qsizetype RemoteQueue::removeClient(quint64 client)
{
    const qsizetype before = size();
    std::erase_if(m_entries, [client](const Entry& e) { return e.client == client && !e.line.isEmpty(); });
    return before - size();
}

} // namespace orx
