#include "sim/wire_pacing.h"

#include <algorithm>

namespace orx::sim {

qint64 WirePacer::reserve(qint64 offeredNs, qint64 chars)
{
    const qint64 start = std::max(offeredNs, m_freeAtNs);
    m_freeAtNs = start + durationNs(std::max<qint64>(chars, 0));
    return start;
}

} // namespace orx::sim
