#include "remote/remote_queue.h"

#include <algorithm>

namespace orx {

void RemoteQueue::forget(const Entry& entry)
{
    if (!entry.line.isEmpty() && --m_lines[entry.client] == 0)
        m_lines.remove(entry.client);
}

bool RemoteQueue::push(quint64 client, const QString& origin, const QByteArray& line, qint64 nowNs)
{
    if (line.isEmpty() || waitingOf(client) >= kMaxLinesPerClient)
        return false;
    m_entries.push_back({client, line, nowNs, origin});
    ++m_lines[client];
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
    forget(next);
    return next;
}

QList<RemoteQueue::Entry> RemoteQueue::takeExpired(qint64 nowNs)
{
    QList<Entry> expired;
    // Entries arrive in time order, so the expired ones are at the front.
    while (!m_entries.empty() && nowNs - m_entries.front().arrivedNs > kMaxWaitNs) {
        forget(m_entries.front());
        expired.append(std::move(m_entries.front()));
        m_entries.pop_front();
    }
    return expired;
}

qsizetype RemoteQueue::removeClient(quint64 client)
{
    std::erase_if(m_entries, [client](const Entry& e) { return e.client == client && !e.line.isEmpty(); });
    return m_lines.take(client);
}

} // namespace orx
