#include "sim/wire_model.h"

#include "sim/instrument.h"

#include <limits>
#include <utility>

namespace orx::sim {

WireModel::WireModel(Instrument* instrument, int baud, bool paced)
    : m_instrument(instrument), m_baud(baud), m_paced(paced), m_rxWire(baud), m_txWire(baud)
{}

void WireModel::setInstrument(Instrument* instrument, int baud)
{
    m_instrument = instrument;
    m_baud = baud;
    m_rxWire = WirePacer(baud);
    m_txWire = WirePacer(baud);
}

void WireModel::reset()
{
    m_partial.clear();
    m_discarding = false;
    m_received.clear();
    m_outgoing.clear();
    m_rxWire.reset();
    m_txWire.reset();
}

// ---- receiving ----------------------------------------------------------------------------------

QStringList WireModel::receive(const QByteArray& bytes, int clientBaud, qint64 nowNs)
{
    QStringList completed;
    // Paced, each character arrives one character time after the one before it.
    const qint64 start = m_paced ? m_rxWire.reserve(nowNs, bytes.size()) : nowNs;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lineEnded(m_paced ? start + m_rxWire.durationNs(i + 1) : nowNs, clientBaud, completed);
        } else if (m_partial.size() >= kMaxLineLength) {
            m_partial.clear();
            m_discarding = true;
        } else if (!m_discarding) {
            m_partial.append(c);
        }
    }
    return completed;
}

void WireModel::lineEnded(qint64 readyNs, int clientBaud, QStringList& completed)
{
    const bool dropped = std::exchange(m_discarding, false);
    const QByteArray line = std::exchange(m_partial, QByteArray());
    if (dropped || line.isEmpty())
        return;
    completed.append(QString::fromLatin1(line));
    m_received.push_back({readyNs, completed.last(), clientBaud});
}

// ---- answering ----------------------------------------------------------------------------------

std::optional<qint64> WireModel::nextDue() const
{
    constexpr qint64 kNever = std::numeric_limits<qint64>::max();
    qint64 due = babbling() ? m_nextBabbleNs : kNever;
    if (!m_received.empty())
        due = std::min(due, m_received.front().readyNs);
    if (!m_outgoing.empty())
        due = std::min(due, m_outgoing.begin()->first);
    return due == kNever ? std::nullopt : std::optional(due);
}

QByteArray WireModel::takeDue(qint64 nowNs)
{
    while (!m_received.empty() && m_received.front().readyNs <= nowNs) {
        const ReceivedLine line = m_received.front();
        m_received.pop_front();
        // At another speed the instrument hears only noise; unplugged it hears nothing.
        if (!m_instrument || m_fault == Fault::Unplugged || line.clientBaud != m_baud)
            continue;
        if (const auto text = m_instrument->handleLine(line.text, nowNs / kNsPerMs))
            answer(*text, nowNs);
    }
    // The endless stream: a piece of noise as long as the wire takes 20 ms to carry, every 20 ms.
    if (babbling() && nowNs >= m_nextBabbleNs) {
        m_outgoing.emplace(nowNs, noise(std::max(1, m_baud / 10 / 50), m_noiseSeed));
        m_nextBabbleNs = nowNs + 20 * kNsPerMs;
    }
    QByteArray due;
    while (!m_outgoing.empty() && m_outgoing.begin()->first <= nowNs) {
        due += m_outgoing.begin()->second;
        m_outgoing.erase(m_outgoing.begin());
    }
    return m_fault == Fault::Unplugged ? QByteArray() : due;
}

void WireModel::answer(const QString& text, qint64 nowNs)
{
    if (m_fault == Fault::Silence || m_fault == Fault::Babble)
        return;
    QByteArray bytes = text.toLatin1() + '\n';
    if (m_fault == Fault::Garbage)
        bytes = garbleAnswer(bytes.size(), m_noiseSeed);
    qint64 offered = m_fault == Fault::Late ? nowNs + qint64(m_lateMs) * kNsPerMs : nowNs;
    offered += qint64(std::exchange(m_lagNextMs, 0)) * kNsPerMs;
    queueBytes(bytes, offered);
}

void WireModel::queueBytes(const QByteArray& bytes, qint64 offeredNs)
{
    if (!m_paced) {
        m_outgoing.emplace(offeredNs, bytes);
        return;
    }
    const qint64 start = m_txWire.reserve(offeredNs, bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        m_outgoing.emplace(start + m_txWire.durationNs(i + 1), bytes.mid(i, 1));
}

} // namespace orx::sim
