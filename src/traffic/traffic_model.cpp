#include "traffic/traffic_model.h"

#include "traffic/traffic_log.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <vector>

namespace orx {

TrafficModel::TrafficModel(const TrafficLog& log, QObject* parent)
    : QAbstractListModel(parent), m_log(log), m_seenEnd(log.firstSequence())
{
    sync();
}

void TrafficModel::sync()
{
    const quint64 first = m_log.firstSequence();
    size_t gone = 0;
    while (gone < m_rows.size() && m_rows[gone] < first)
        ++gone;
    if (gone > 0) {
        beginRemoveRows({}, 0, int(gone) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + qsizetype(gone));
        endRemoveRows();
    }
    if (m_paused)
        return;
    std::vector<quint64> added;
    for (quint64 s = std::max(m_seenEnd, first); s < m_log.endSequence(); ++s) {
        if (passes(s))
            added.push_back(s);
    }
    m_seenEnd = m_log.endSequence();
    if (added.empty())
        return;
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row + int(added.size()) - 1);
    m_rows.insert(m_rows.end(), added.begin(), added.end());
    endInsertRows();
}

void TrafficModel::setPaused(bool paused)
{
    sync(); // a pause holds what had arrived when it was asked for
    m_paused = paused;
    sync();
}

void TrafficModel::setFilter(const QString& text)
{
    if (text == m_filter)
        return;
    beginResetModel();
    m_filter = text;
    m_rows.clear();
    // A paused view keeps its end: refiltering shows no record that arrived during the pause.
    for (quint64 s = m_log.firstSequence(); s < std::max(m_seenEnd, m_log.firstSequence()); ++s) {
        if (passes(s))
            m_rows.push_back(s);
    }
    endResetModel();
    sync();
}

bool TrafficModel::passes(quint64 sequence) const
{
    return m_filter.isEmpty() ||
           formatTrafficLine(m_log.at(sequence)).contains(m_filter, Qt::CaseInsensitive);
}

QString TrafficModel::line(int row) const
{
    return formatTrafficLine(m_log.at(m_rows[size_t(row)]));
}

QStringList TrafficModel::lines() const
{
    QStringList out;
    out.reserve(qsizetype(m_rows.size()));
    for (const quint64 sequence : m_rows)
        out.append(formatTrafficLine(m_log.at(sequence)));
    return out;
}

int TrafficModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TrafficRecord& record = m_log.at(m_rows[size_t(index.row())]);
    switch (role) {
    case Qt::DisplayRole:
        return formatTrafficLine(record);
    case Qt::ForegroundRole:
        if (isMarked(record.kind))
            return QBrush(QColor(0xb0, 0x00, 0x00));
        if (record.kind == TrafficRecord::Kind::ConnectStarted)
            return QBrush(QColor(0x00, 0x40, 0xa0));
        return {};
    default:
        return {};
    }
}

} // namespace orx
