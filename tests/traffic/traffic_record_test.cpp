// How a traffic line reads: control characters made visible, and the columns of each kind of line.

#include "traffic/traffic_record.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace orx;
using Kind = TrafficRecord::Kind;

TEST(TrafficText, ControlCharactersAreMadeVisible)
{
    const struct
    {
        QByteArray bytes;
        const char* shown;
    } cases[] = {
        {"*IDN?\r", "*IDN?<CR>"},
        {"1.234\r\n", "1.234<CR><LF>"},
        {QByteArray("a\0b", 3), "a\\x00b"},
        {"\x07\x1b\x7f", "\\x07\\x1B\\x7F"},
        {"\xb5\xff", "\\xB5\\xFF"},
        {"C:\\x07", "C:\\\\x07"}, // a backslash on the wire cannot pass for an escape
        {"\t", "\\x09"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(visibleText(c.bytes), QString::fromLatin1(c.shown)) << c.shown;
}

TEST(TrafficText, EachKindOfLineHasItsDirectionAndText)
{
    const qint64 wall = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7, 5)).toMSecsSinceEpoch();
    const struct
    {
        Kind kind;
        qint64 sinceConnectNs;
        const char* interfaceName;
        QByteArray bytes;
        const char* line;
    } cases[] = {
        {Kind::ConnectStarted,
         0,
         "COM1 9600",
         {},
         "       0 ms  14:03:07.005             --  connect started"},
        {Kind::Sent, 1'999'999, "COM2 4800", "*CLS\r", "       1 ms  14:03:07.005  COM2 4800  TX  *CLS<CR>"},
        {Kind::Received, 12'345'000'000, "GPIB 8", " 1.5\n",
         "   12345 ms  14:03:07.005  GPIB 8     RX   1.5<LF>"},
        {Kind::TimedOut,
         1'001'000'000,
         "COM1 9600",
         {},
         "    1001 ms  14:03:07.005  COM1 9600  !!  time-out, no answer"},
        {Kind::TimedOut, 0, "COM1 9600", "12.",
         "       0 ms  14:03:07.005  COM1 9600  !!  time-out, partial answer: 12."},
        {Kind::OpenFailed,
         0,
         "COM4 1200",
         {},
         "       0 ms  14:03:07.005  COM4 1200  !!  port could not be opened"},
        {Kind::StaleDiscarded, 0, "COM1 9600", "0\n",
         "       0 ms  14:03:07.005  COM1 9600  !!  stale input discarded: 0<LF>"},
        {Kind::GpibWriteFailed, 0, "GPIB 30", "*IDN?",
         "       0 ms  14:03:07.005  GPIB 30    !!  write failed: *IDN?"},
        {Kind::GpibReadFailed,
         0,
         "GPIB 30",
         {},
         "       0 ms  14:03:07.005  GPIB 30    !!  read failed, no answer"},
    };
    for (const auto& c : cases) {
        const TrafficRecord record{c.kind, c.sinceConnectNs, wall, QString::fromLatin1(c.interfaceName),
                                   c.bytes};
        EXPECT_EQ(formatTrafficLine(record), QString::fromLatin1(c.line));
        EXPECT_EQ(isMarked(c.kind), QString::fromLatin1(c.line).contains(QStringLiteral("  !!  "))) << c.line;
    }
}
