// The line between a client and the virtual instrument: framing, the baud check, each fault's
// shaping, pacing at 10 bits a character, a lagged answer and bytes nobody asked for.

#include "sim/instrument.h"
#include "sim/wire_model.h"

#include <gtest/gtest.h>

using namespace orx::sim;

namespace {

constexpr int kBaud = 2400;
constexpr qint64 kMs = 1'000'000;
const QByteArray kIdentity = "QZ.Inc,ORX-A100,SN000001,1.00\n";
const QByteArray kLong(WireModel::kMaxLineLength, 'X');

// Nanoseconds that `n` characters take at 2400 baud.
constexpr qint64 chars(qint64 n)
{
    return n * 10 * 1'000'000'000 / kBaud;
}

// Bytes the client writes at a time, with the fault in force and the client's baud rate then.
struct Chunk
{
    qint64 ms;
    QByteArray bytes;
    Fault fault = Fault::None;
    int clientBaud = kBaud;
};

struct Outcome
{
    QStringList lines;   // as the model reported them
    QByteArray out;      // noise shown as '~'
    qint64 firstNs = -1; // when the first and the last byte came out
    qint64 lastNs = -1;
};

// Feeds the chunks at their times and takes out what falls due, always at the time nextDue() names,
// until `untilMs`.
Outcome play(WireModel& wire, const std::vector<Chunk>& chunks, qint64 untilMs)
{
    Outcome o;
    size_t next = 0;
    for (;;) {
        std::optional<qint64> now = wire.nextDue();
        if (next < chunks.size() && (!now || chunks[next].ms * kMs < *now))
            now = chunks[next].ms * kMs;
        if (!now || *now > untilMs * kMs)
            return o;
        for (; next < chunks.size() && chunks[next].ms * kMs <= *now; ++next) {
            wire.setFault(chunks[next].fault);
            o.lines += wire.receive(chunks[next].bytes, chunks[next].clientBaud, *now);
        }
        for (const char c : wire.takeDue(*now)) {
            o.out += (c & 0x80) ? '~' : c;
            o.firstNs = o.firstNs < 0 ? *now : o.firstNs;
            o.lastNs = *now;
        }
    }
}

} // namespace

// Each case feeds a fresh line at 2400 baud (late answers 300 ms late) and reads out everything until
// 1 s, noting when the first and the last byte came out (-1: none). Framing, the baud check and each
// fault unpaced; then pacing, the lagged answer and the unasked bytes on a paced line.
TEST(WireModel, FramesJudgesShapesAndPaces)
{
    const struct
    {
        const char* name;
        bool paced;
        std::vector<Chunk> chunks;
        QString lines; // joined by '|'
        QByteArray out;
        qint64 firstNs;
        qint64 lastNs;
        int lagMs = 0;
        QByteArray unasked = {}; // sent at 0
    } cases[] = {
        // clang-format off
        {"CR or LF ends a line, empty ones vanish, a line in pieces is one", false,
         {{0, ":VOLT 5\r\n:VO"}, {1, "LT?\n\r\r"}}, ":VOLT 5|:VOLT?", "5.000\n", kMs, kMs},
        {"a line over the limit is dropped up to its end", false,
         {{0, kLong + "\r" + kLong + "X:VOLT 5\r:VOLT?\r"}}, kLong + "|:VOLT?", "0.000\n", 0, 0},
        {"a line at another baud rate does nothing", false,
         {{0, ":VOLT 5\r", Fault::None, 9600}, {0, ":VOLT?\r"}}, ":VOLT 5|:VOLT?", "0.000\n", 0, 0},
        {"silence", false, {{0, "*IDN?\r", Fault::Silence}}, "*IDN?", "", -1, -1},
        {"late", false, {{0, "*IDN?\r", Fault::Late}}, "*IDN?", kIdentity, 300 * kMs, 300 * kMs},
        {"garbage", false, {{0, "*IDN?\r", Fault::Garbage}}, "*IDN?", QByteArray(kIdentity.size() - 1, '~') + '\n', 0, 0},
        {"babble: 4 characters every 20 ms until it stops", false,
         {{0, "*IDN?\r", Fault::Babble}, {50, ""}}, "*IDN?", QByteArray(12, '~'), 0, 40 * kMs},
        {"unplugged: nothing reaches the instrument, nothing comes back", false,
         {{0, ":VOLT 5\r*IDN?\r", Fault::Unplugged}, {9, ":VOLT?\r"}}, ":VOLT 5|*IDN?|:VOLT?", "0.000\n",
         9 * kMs, 9 * kMs},
        {"one answer lagged, the next on time", false,
         {{0, "*IDN?\r:VOLT?\r"}}, "*IDN?|:VOLT?", "0.000\n" + kIdentity, 0, 200 * kMs, 200},
        {"paced: a line is due when its last character is in; the answer takes its wire time", true,
         {{0, "*ID"}, {0, "N?\r"}}, "*IDN?", kIdentity, chars(6) + chars(1), chars(6) + chars(kIdentity.size())},
        {"paced: an answer waits for the unasked bytes before it", true,
         {{0, "*IDN?\r"}}, "*IDN?", "9.9999\n" + kIdentity, chars(1), chars(7) + chars(kIdentity.size()), 0, "9.9999\n"},
        {"paced, late: the lateness comes before the wire time", true,
         {{0, "*IDN?\r", Fault::Late}}, "*IDN?", kIdentity, chars(6) + 300 * kMs + chars(1),
         chars(6) + 300 * kMs + chars(kIdentity.size())},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Instrument orx(0);
        WireModel wire(&orx, kBaud, c.paced);
        wire.setLateMs(300);
        wire.lagNextAnswer(c.lagMs);
        if (!c.unasked.isEmpty())
            wire.sendUnasked(c.unasked, 0);
        const Outcome o = play(wire, c.chunks, 1000);
        EXPECT_EQ(o.lines.join(u'|'), c.lines);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(std::pair(o.firstNs, o.lastNs), std::pair(c.firstNs, c.lastNs));
    }
}

// Pulling the line drops what is on its way in either direction and frees both wires.
TEST(WireModel, ResetDropsWhatIsInFlight)
{
    Instrument orx(0);
    WireModel wire(&orx, kBaud, true);
    wire.setFault(Fault::Late);
    wire.receive("*IDN?\r*ID", kBaud, 0);
    wire.takeDue(chars(6));
    wire.reset();
    EXPECT_EQ(wire.nextDue(), std::nullopt);
    const Outcome o = play(wire, {{1, "*IDN?\r"}}, 1000);
    EXPECT_EQ(std::pair(o.out, o.firstNs), std::pair(kIdentity, kMs + chars(6) + chars(1)));
}
