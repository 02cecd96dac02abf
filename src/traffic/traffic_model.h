#pragma once
// The rows the traffic console shows: the records of its log that pass the text filter, oldest first.
// The model follows the log only when told to (sync), so a burst of exchanges costs one update of the
// view. While paused no new rows appear, but rows whose records dropped off the log still go.

#include <QAbstractListModel>
#include <deque>

namespace orx {

class TrafficLog;

class TrafficModel : public QAbstractListModel
{
public:
    explicit TrafficModel(const TrafficLog& log, QObject* parent = nullptr);

    // Catches up with the log: removes rows that left it and, unless paused, adds the new matching ones.
    void sync();
    // Pausing first takes in what the log holds, so the rows freeze at that moment.
    void setPaused(bool paused);
    bool paused() const { return m_paused; }
    // Rows are the lines that contain `text` anywhere (time, interface, direction or text), ignoring
    // letter case; the empty text passes every line.
    void setFilter(const QString& text);

    QString line(int row) const;
    QStringList lines() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    bool passes(quint64 sequence) const;

    const TrafficLog& m_log;
    std::deque<quint64> m_rows; // sequence numbers of the records shown
    quint64 m_seenEnd = 0;      // records before this one were offered to the rows
    QString m_filter;
    bool m_paused = false;
};

} // namespace orx
