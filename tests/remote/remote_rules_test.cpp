// The rules of what remote clients send: how bytes become lines and when a client's input ends, and
// the bounds of the queue where lines wait.

#include "remote/remote_lines.h"
#include "remote/remote_queue.h"

#include <gtest/gtest.h>

using namespace orx;
using Fault = RemoteLineFeeder::Fault;

TEST(RemoteLines, FramingAndWhatEndsAClient)
{
    const QByteArray longest(RemoteLineFeeder::kMaxLineLength, 'x');
    const struct
    {
        QList<QByteArray> chunks;
        QList<QByteArray> lines;
        Fault fault;
    } cases[] = {
        {{":VOLT 5.000\n*IDN?\r\n"}, {":VOLT 5.000", "*IDN?"}, Fault::None},
        {{":MEAS", "?\r", "\n:CU"}, {":MEAS?"}, Fault::None}, // split anywhere, even between CR and LF
        {{"\n\r\n \t\n:OUTP:STAT 1\n"}, {":OUTP:STAT 1"}, Fault::None}, // blank lines are skipped
        {{longest + "\n"}, {longest}, Fault::None},
        {{"*CLS\n" + longest + "y"}, {"*CLS"}, Fault::TooLong},
        {{"*CLS\n:VOLT\x01 1\n*IDN?\n"}, {"*CLS"}, Fault::Binary},
        {{":VOLT 1\r:VOLT 9\n"}, {}, Fault::Binary}, // a CR inside a line would make two commands
        {{"*IDN?\n\xc3\xa9\n"}, {"*IDN?"}, Fault::Binary},
        {{"\x1b", "*IDN?\n"}, {}, Fault::Binary}, // nothing more after a fault
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunks.join('|').left(60).toStdString());
        RemoteLineFeeder feeder;
        QList<QByteArray> lines;
        Fault fault = Fault::None;
        for (const QByteArray& chunk : c.chunks)
            fault = feeder.feed(chunk, lines);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(fault, c.fault);
        EXPECT_LE(feeder.waiting(), RemoteLineFeeder::kMaxLineLength);
    }
}

TEST(RemoteQueue, ArrivalOrderAndBounds)
{
    RemoteQueue queue;
    for (qsizetype i = 0; i < RemoteQueue::kMaxLinesPerClient; ++i)
        ASSERT_TRUE(queue.push(1, "a", QByteArray::number(i), 0));
    EXPECT_FALSE(queue.push(1, "a", "one too many", 0)) << "a flood";
    EXPECT_TRUE(queue.push(2, "b", "*IDN?", 10)) << "the bound is each client's";
    queue.pushReadBack(2, 10);
    queue.pushReadBack(1, 10);
    EXPECT_EQ(queue.size(), RemoteQueue::kMaxLinesPerClient + 2) << "one read-back waits at a time";
    EXPECT_EQ(queue.takeNext()->line, "0");

    const QList<RemoteQueue::Entry> expired = queue.takeExpired(RemoteQueue::kMaxWaitNs + 5);
    EXPECT_EQ(expired.size(), RemoteQueue::kMaxLinesPerClient - 1) << "waited more than 30 s";
    EXPECT_EQ(queue.removeClient(2), 1) << "its read-back stays";
    EXPECT_TRUE(queue.takeNext()->line.isEmpty());
    EXPECT_TRUE(queue.empty());
}
