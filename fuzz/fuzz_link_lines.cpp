// The command link's line assembly, fed an answer in arbitrary chunks at arbitrary moments.
//
// Input: records of [length byte][delay byte][length bytes]; a chunk arrives `delay` x 20 ms after the
// previous one (the clock starts when the query is written). A first record with a delay of 255 is
// input already waiting before the query: stale, never part of the answer.
// Properties: the buffer is always 40 characters; an answer counts as arrived exactly when what was
// read ends with a line feed within the second, and the buffer then holds its first 40 characters;
// otherwise the time-out came after more than one second, closed the port, and the buffer holds the
// first 40 characters of what arrived.

#include "base/silent_dialogs.h"
#include "fuzz_check.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_service.h"
#include "link/serial_service.h"

#include <QList>
#include <cstdint>
#include <optional>

using namespace orx;

namespace {

struct Chunk
{
    qint64 atNs;
    QByteArray bytes;
};

class ChunkSerial : public SerialService
{
public:
    ChunkSerial(ManualClock& clock, QByteArray stale, QList<Chunk> chunks)
        : m_clock(clock), m_waiting(std::move(stale)), m_chunks(std::move(chunks))
    {}

    void setPortNumber(int) override {}
    int portNumber() const override { return 1; }
    void setSettings(const QString&) override {}
    QString settings() const override { return QStringLiteral("9600,n,8,1"); }
    bool setOpen(bool open) override
    {
        m_open = open;
        return true;
    }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray&) override
    {
        m_writtenAt = m_clock.nanoseconds();
        FUZZ_CHECK(m_waiting.isEmpty()); // stale input was taken before the write
    }
    QByteArray takeInput() override
    {
        release();
        QByteArray out;
        out.swap(m_waiting);
        if (m_writtenAt)
            received += out;
        return out;
    }
    void waitForInput(int msecs) override
    {
        FUZZ_CHECK(msecs >= 1);
        release();
        if (!m_waiting.isEmpty())
            return;
        qint64 until = m_clock.nanoseconds() + qint64(msecs) * 1'000'000;
        if (m_writtenAt && !m_chunks.isEmpty())
            until = std::min(until, *m_writtenAt + m_chunks.front().atNs);
        m_clock.advanceNanoseconds(until - m_clock.nanoseconds());
        release();
    }

    QByteArray received; // everything the link took after the query was written

private:
    void release()
    {
        while (m_writtenAt && !m_chunks.isEmpty() &&
               *m_writtenAt + m_chunks.front().atNs <= m_clock.nanoseconds())
            m_waiting += m_chunks.takeFirst().bytes;
    }

    ManualClock& m_clock;
    bool m_open = false;
    std::optional<qint64> m_writtenAt;
    QByteArray m_waiting;
    QList<Chunk> m_chunks;
};

class NoGpib : public GpibService
{
public:
    int primaryAddress() const override { return 0; }
    bool setPrimaryAddress(int) override { return false; }
    bool applyConfiguration() override { return false; }
    bool write(const QByteArray&) override { return false; }
    std::optional<QByteArray> read() override { return std::nullopt; }
    bool goToLocal() override { return false; }
};

QString padded40(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.left(40)).leftJustified(40, u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray stale;
    QList<Chunk> chunks;
    qint64 atNs = 0;
    size_t i = 0;
    while (i + 2 <= size) {
        const size_t length = std::min<size_t>(data[i], size - i - 2);
        const int delay = data[i + 1];
        const QByteArray bytes(reinterpret_cast<const char*>(data + i + 2), static_cast<qsizetype>(length));
        if (i == 0 && delay == 255) {
            stale = bytes;
        } else {
            atNs += qint64(delay) * 20'000'000;
            chunks.append({atNs, bytes});
        }
        i += 2 + length;
    }

    ManualClock clock;
    clock.advanceMilliseconds(5);
    ChunkSerial serial(clock, stale, chunks);
    NoGpib gpib;
    SilentDialogs dialogs;
    SilentStatus status;
    ProgramState state;
    state.ConnectStarted = 1;
    CommandLink link(state, serial, gpib, dialogs, status, clock);
    const qint64 start = clock.nanoseconds();
    link.query(QStringLiteral(":MEAS?"));
    const qint64 elapsed = clock.nanoseconds() - start;

    const QString buffer = state.ResponseBuffer;
    FUZZ_CHECK(buffer.size() == 40);
    if (state.LinkError == 0) {
        FUZZ_CHECK(serial.received.endsWith('\n'));
        FUZZ_CHECK(buffer == padded40(serial.received.chopped(1)));
    } else {
        FUZZ_CHECK(elapsed > CommandLink::kAnswerTimeoutNs);
        FUZZ_CHECK(!serial.received.endsWith('\n'));
        FUZZ_CHECK(buffer == padded40(serial.received));
        FUZZ_CHECK(!serial.isOpen()); // the time-out closes the port
    }
    return 0;
}
