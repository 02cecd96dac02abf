#pragma once
// The lines of every remote client that wait for the link, in the order they arrived. Bounded two
// ways: a line waits at most kMaxWaitNs, and one client has at most kMaxLinesPerClient waiting (a
// client that sends more is flooding). An entry without a line is the read-back that follows a
// client's settings.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <deque>
#include <optional>

namespace orx {

class RemoteQueue
{
public:
    static constexpr qint64 kMaxWaitNs = 30'000'000'000;
    static constexpr qsizetype kMaxLinesPerClient = 256;

    struct Entry
    {
        quint64 client = 0;
        QByteArray line; // empty: the read-back
        qint64 arrivedNs = 0;
        QString origin; // whose line, as the link's observers see it
    };

    // False, and nothing added, when the client already has its most lines waiting.
    bool push(quint64 client, const QString& origin, const QByteArray& line, qint64 nowNs);
    // Adds the read-back unless one is waiting already.
    void pushReadBack(quint64 client, qint64 nowNs);
    std::optional<Entry> takeNext();
    // Takes out what waited longer than kMaxWaitNs, oldest first.
    QList<Entry> takeExpired(qint64 nowNs);
    // Takes out the lines of one client; how many there were.
    qsizetype removeClient(quint64 client);

    bool empty() const { return m_entries.empty(); }
    qsizetype size() const { return qsizetype(m_entries.size()); }
    qsizetype waitingOf(quint64 client) const { return m_lines.value(client); }

private:
    void forget(const Entry& entry);

    std::deque<Entry> m_entries;
    QHash<quint64, qsizetype> m_lines; // lines waiting, of each client that has any
};

} // namespace orx
