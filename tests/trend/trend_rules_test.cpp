// The trend's pure rules: the point buffer and its markers, the chart's framing and the log's text;
// and the thread that syncs the log to the disk. (The log file's writes, flushes and failures are
// tested in the window, and by killing a child process mid-log.)

#include "trend/disk_sync.h"
#include "trend/trend_log_format.h"
#include "trend/trend_scale.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <tuple>

using namespace orx;

namespace {

using Kind = TrendMarkerKind;

TickReadings reading(std::optional<double> volts, std::optional<double> amperes, bool outputOn = true,
                     bool tripped = false, bool answerMissing = false)
{
    return TickReadings{volts, amperes, outputOn, tripped, answerMissing};
}

} // namespace

// A tick is its time with letters for what it found: v no voltage, a no current, o the output off
// after it, m an answer missing, t a trip; "|" is the output going off between ticks. Kept points are
// their times with "|" where a new run starts; markers are times with T (time-out) or P (trip).
TEST(TrendBuffer, PointsRunsAndMarkers)
{
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"clean ticks: one run, no marker", "1000 2000 3000", "1000 2000 3000", ""},
        {"a tick with the output off after it ends its run", "1000 2000o 9000", "1000 2000 | 9000", ""},
        {"the output going off between ticks ends the run once", "| 1000 | | 5000", "1000 | 5000", ""},
        {"missing answers are time-outs; a trip is a trip even with a missing answer",
         "1000v 2000a 3000m 4000vomt", "1000 2000 3000 4000", "1000T 2000T 3000T 4000P"},
        {"older than the keeping time (10 s) drops off, with its markers", "999v 1000v 11000", "1000 11000",
         "1000T"},
        {"at most so many points (4), even when the clock jumps back", "50000v 1000v 2000v 3000v 4000v 5000v",
         "2000 3000 4000 5000", "2000T 3000T 4000T 5000T"},
    };
    for (const auto& [name, ticks, points, markers] : cases) {
        SCOPED_TRACE(name);
        TrendBuffer buffer(10'000, 4);
        std::map<qint64, TickReadings> given;
        for (const QString& tick : QString::fromLatin1(ticks).split(u' ')) {
            const qint64 time = QString(tick).remove(QRegularExpression("[a-z]")).toLongLong();
            if (tick == "|") {
                buffer.endRun();
                continue;
            }
            const auto has = [&](char letter) {
                return tick.contains(QLatin1Char(letter));
            };
            given[time] =
                reading(has('v') ? std::nullopt : std::optional(5.0),
                        has('a') ? std::nullopt : std::optional(0.5), !has('o'), has('t'), has('m'));
            buffer.addTick(time, given[time]);
        }
        QString kept;
        for (size_t i = 0; i < buffer.points().size(); ++i) {
            const TrendPoint& p = buffer.points()[i];
            kept += QStringLiteral("%1%2 ")
                        .arg(i > 0 && p.run != buffer.points()[i - 1].run ? "| " : "")
                        .arg(p.timeMs);
            EXPECT_EQ(p.volts, given[p.timeMs].volts) << p.timeMs;
            EXPECT_EQ(p.amperes, given[p.timeMs].amperes) << p.timeMs;
        }
        EXPECT_EQ(kept.trimmed(), points);
        QString shown;
        for (const TrendMarker& m : buffer.markers())
            shown += QStringLiteral("%1%2 ").arg(m.timeMs).arg(m.kind == Kind::TimeOut ? 'T' : 'P');
        EXPECT_EQ(shown.trimmed(), markers);
    }
}

TEST(TrendScale, FramingTheChart)
{
    TrendBuffer buffer(kTrendKeepMs, kTrendMaxPoints);
    EXPECT_EQ(shownTimes(buffer, 60'000, 500'000), (TimeSpan{440'000, 500'000})) << "no points: ends now";
    buffer.addTick(100'000, reading(2.0, std::nullopt));
    buffer.addTick(150'000, reading(std::nullopt, 0.7));
    buffer.addTick(170'000, reading(4.0, 0.2));
    buffer.addTick(200'000, reading(3.0, 0.4));
    EXPECT_EQ(shownTimes(buffer, 60'000, 500'000), (TimeSpan{140'000, 200'000}))
        << "ends at the newest point";

    using Span = std::optional<ValueSpan>;
    for (const auto& [times, volts, amperes] : std::initializer_list<std::tuple<TimeSpan, Span, Span>>{
             {{0, 300'000}, ValueSpan{2.0, 4.0}, ValueSpan{0.2, 0.7}},
             {{140'000, 200'000}, ValueSpan{3.0, 4.0}, ValueSpan{0.2, 0.7}},
             {{100'000, 160'000}, ValueSpan{2.0, 2.0}, ValueSpan{0.7, 0.7}},
             {{101'000, 149'000}, std::nullopt, std::nullopt}}) {
        EXPECT_EQ(valueExtent(buffer, TrendQuantity::Volts, times), volts) << times.fromMs;
        EXPECT_EQ(valueExtent(buffer, TrendQuantity::Amperes, times), amperes) << times.fromMs;
    }

    // Nothing shown; a tenth of the spread either side; a steady reading sits in the middle; a small
    // spread widens to the minimum; readings at the ends of the number range.
    constexpr double kMax = std::numeric_limits<double>::max();
    for (const auto& [extent, low, high] :
         std::initializer_list<std::tuple<Span, double, double>>{{std::nullopt, 0, 1},
                                                                 {ValueSpan{1.0, 2.0}, 0.9, 2.1},
                                                                 {ValueSpan{5.0, 5.0}, 4.995, 5.005},
                                                                 {ValueSpan{0.500, 0.502}, 0.496, 0.506},
                                                                 {ValueSpan{-kMax, kMax}, -kMax, kMax}}) {
        const ValueSpan span = autoscale(extent, 0.01);
        EXPECT_DOUBLE_EQ(span.low, low);
        EXPECT_DOUBLE_EQ(span.high, high);
    }

    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(inBand({4.5, 5.0}, 0, 2), (ValueSpan{4.0, 5.0}));
    EXPECT_EQ(inBand({0.5, 1.5}, 1, 2), (ValueSpan{0.5, 2.5}));
    EXPECT_EQ(inBand({0.5, 1.5}, 1, 3), (ValueSpan{-0.5, 2.5})) << "the middle third";
    EXPECT_EQ(inBand({-kMax, kMax}, 1, 2), (ValueSpan{-kMax, kMax})) << "no room to double";
    EXPECT_EQ(inBand({0, kMax}, 0, 3), (ValueSpan{0, kMax})) << "no room to triple";
    EXPECT_EQ(inBand({1.0, kInf}, 0, 2), (ValueSpan{1.0, kInf}));

    const TimeSpan shown{1000, 5000};
    for (const auto& [timeMs, times, offset] :
         std::initializer_list<std::tuple<qint64, TimeSpan, std::optional<double>>>{
             {1000, shown, 0.0},
             {5000, shown, 400.0},
             {2000, shown, 100.0},
             {999, shown, std::nullopt},
             {5001, shown, std::nullopt},
             {1000, {1000, 1000}, std::nullopt}})
        EXPECT_EQ(markerOffset(timeMs, times, 400.0), offset) << timeMs;
}

TEST(TrendLogFormat, TimesLinesAndHeader)
{
    const qint64 moment = 1'714'572'188'123; // 2024-05-01T14:03:08.123Z
    for (const auto& [ms, offset, text] : std::initializer_list<std::tuple<qint64, int, const char*>>{
             {moment, 0, "2024-05-01T14:03:08.123+00:00"},
             {moment, 7200, "2024-05-01T16:03:08.123+02:00"},
             {moment, -12600, "2024-05-01T10:33:08.123-03:30"},
             {moment + 52'011'877, 0, "2024-05-02T04:30:00.000+00:00"},
             {moment - 123, 34200, "2024-05-01T23:33:08.000+09:30"}})
        EXPECT_EQ(isoTimeWithMs(ms, offset), text);

    // As the displays show them, cut and not rounded; missing readings are empty fields; the output's
    // state after the tick; the totals rounded to six decimals.
    for (const auto& [point, fields] : std::initializer_list<std::pair<TrendPoint, const char*>>{
             {{moment, 12.3456, 1.9999, 0, true, {0.00123456, 12.3456784}},
              "12.345,1.999,ON,0.001235,12.345678"},
             {{moment, -0.0019, 0.0009, 0, true, {-0.0001, 0}}, "-0.001,0.000,ON,-0.000100,0.000000"},
             {{moment, std::nullopt, std::nullopt, 0, true, {}}, ",,ON,0.000000,0.000000"},
             {{moment, 5.0, std::nullopt, 0, false, {}}, "5.000,,OFF,0.000000,0.000000"}})
        EXPECT_EQ(trendLogLine(point, 0), QStringLiteral("2024-05-01T14:03:08.123+00:00,") + fields);

    // The instrument's answer is outside input: a line break in it must not break the header.
    EXPECT_EQ(trendLogHeader({QStringLiteral(" QZ.Inc,ORX-B200,SN7\r\n# forged\tline \n"),
                              QStringLiteral("GPIB 8"), moment, 3600}),
              "# ORX Panel trend log\n"
              "# Instrument: QZ.Inc,ORX-B200,SN7  # forged line\n"
              "# Interface: GPIB 8\n"
              "# Started: 2024-05-01T15:03:08.123+01:00\n"
              "Time,Voltage (V),Current (A),Output,Charge (Ah),Energy (Wh)\n");
}

TEST(DiskSync, EveryRequestIsFollowedBySyncs)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("synced"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    DiskSync sync(file.handle(), dir.path());
    EXPECT_EQ(sync.syncsDone(), 0) << "nothing asked, nothing done";
    file.close(); // it works on its own descriptor
    for (int i = 0; i < 3; ++i)
        sync.request();
    QDeadlineTimer deadline(10'000);
    while (sync.syncsDone() == 0 && !deadline.hasExpired())
        QThread::msleep(1);
    EXPECT_GE(sync.syncsDone(), 1);
    EXPECT_LE(sync.syncsDone(), 3) << "requests made while one runs fold together";
}
