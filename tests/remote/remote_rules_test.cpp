// How the bytes of a remote client become lines, and what ends the client's input. (The bounds of
// the queue where the lines wait are the fuzz target's and the server test's.)

#include "remote/remote_lines.h"

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
