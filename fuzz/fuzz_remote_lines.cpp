// The remote socket's line feeder and its waiting queue, fed what a client might send.
//
// Input: one byte that seeds the chunk sizes, then the bytes a client sends. They are fed once whole
// and once in chunks of 1 to 64 bytes.
// Properties: the chunks give the same lines and the same fault as the whole; every line is 1 to
// 4,096 printable ASCII characters or tabs, not blank; the line waiting for its line feed never
// grows past 4,096 characters; input without a fault holds nothing but line characters, carriage
// returns just before line feeds, and line feeds. Pushed into the queue by four clients in turn, no
// client ever has more than its bound waiting and a push fails exactly at that bound; lines come out
// in the order they went in.

#include "fuzz_check.h"
#include "remote/remote_lines.h"
#include "remote/remote_queue.h"

#include <QString>
#include <cstdint>

using namespace orx;

namespace {

bool isLineCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x20 && byte < 0x7f) || byte == '\t';
}

bool onlyFraming(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (!isLineCharacter(c) && c != '\n' &&
            !(c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') &&
            !(c == '\r' && i + 1 == bytes.size()))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    unsigned seed = data[0];
    const QByteArray input(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    RemoteLineFeeder whole;
    QList<QByteArray> wholeLines;
    const RemoteLineFeeder::Fault wholeFault = whole.feed(input, wholeLines);

    RemoteLineFeeder chunked;
    QList<QByteArray> chunkedLines;
    RemoteLineFeeder::Fault chunkedFault = RemoteLineFeeder::Fault::None;
    for (qsizetype at = 0; at < input.size();) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype length = std::min<qsizetype>(1 + qsizetype((seed >> 16) % 64), input.size() - at);
        chunkedFault = chunked.feed(QByteArrayView(input).sliced(at, length), chunkedLines);
        FUZZ_CHECK(chunked.waiting() <= RemoteLineFeeder::kMaxLineLength);
        at += length;
    }
    FUZZ_CHECK(chunkedLines == wholeLines);
    FUZZ_CHECK(chunkedFault == wholeFault);
    if (wholeFault == RemoteLineFeeder::Fault::None)
        FUZZ_CHECK(onlyFraming(input));

    RemoteQueue queue;
    qsizetype taken = 0;
    qsizetype waiting[4] = {}; // counted here, apart from the queue's own count
    for (qsizetype i = 0; i < wholeLines.size(); ++i) {
        const QByteArray& line = wholeLines[i];
        FUZZ_CHECK(!line.isEmpty() && line.size() <= RemoteLineFeeder::kMaxLineLength);
        FUZZ_CHECK(std::all_of(line.begin(), line.end(), isLineCharacter));
        FUZZ_CHECK(!line.trimmed().isEmpty());
        const quint64 client = quint64(i % 4);
        const bool full = waiting[client] == RemoteQueue::kMaxLinesPerClient;
        FUZZ_CHECK(queue.push(client, QString(), line, i) == !full);
        waiting[client] += full ? 0 : 1;
        if (i % 7 == 6) { // now and then the link serves one
            const auto next = queue.takeNext();
            FUZZ_CHECK(next && next->arrivedNs >= taken);
            taken = next->arrivedNs;
            --waiting[next->client];
        }
        FUZZ_CHECK(queue.waitingOf(client) == waiting[client]);
    }
    return 0;
}
