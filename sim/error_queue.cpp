#include "sim/error_queue.h"

namespace orx::sim {

void ErrorQueue::push(const InstrumentError& error)
{
    if (m_entries.size() < kCapacity) {
        m_entries.push_back(error);
        return;
    }
    m_entries.back() = kQueueOverflow;
}

QString ErrorQueue::take()
{
    if (m_entries.empty())
        return QStringLiteral("0,\"No error\"");
    const InstrumentError e = m_entries.front();
    m_entries.pop_front();
    return QStringLiteral("%1,\"%2\"").arg(e.code).arg(QLatin1String(e.text));
}

} // namespace orx::sim
