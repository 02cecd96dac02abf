#pragma once
// The timing of one direction of a serial line: each character is 10 bits (start, 8 data, stop)
// long, and characters leave one after another, so a character offered while the wire is busy waits
// for the ones before it. Times are nanoseconds of a monotonic clock.

#include <QtGlobal>

namespace orx::sim {

class WirePacer
{
public:
    explicit WirePacer(int baud) : m_baud(baud > 0 ? baud : 1) {}

    // Time that `chars` characters take on the wire.
    qint64 durationNs(qint64 chars) const { return chars * 10'000'000'000LL / m_baud; }

    // Reserves the wire for `chars` characters offered at `offeredNs`; returns when the first of
    // them starts, which is `offeredNs` or the end of what the wire still carries. Character i
    // (counting from 0) has passed at start + durationNs(i + 1).
    qint64 reserve(qint64 offeredNs, qint64 chars);

    // The wire is free again from then on (a new pty, a dropped line).
    void reset() { m_freeAtNs = 0; }

private:
    int m_baud;
    qint64 m_freeAtNs = 0;
};

} // namespace orx::sim
