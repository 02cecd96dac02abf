// The trend's pure rules: the point buffer and its markers, the chart's framing and the log's text;
// and the thread that syncs the log to the disk. (The log file's writes, flushes and failures are
// tested in the window, and by killing a child process mid-log.)

#include "trend/disk_sync.h"
#include "trend/trend_log_format.h"
#include "trend/trend_scale.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

using namespace orx;

namespace {

using Kind = TrendMarkerKind;

TickReadings reading(std::optional<double> volts, std::optional<double> amperes, bool outputOn = true,
                     bool tripped = false, bool answerMissing = false)
{
    return TickReadings{volts, amperes, outputOn, tripped, answerMissing};
}

const TickReadings kClean = reading(5.0, 0.5);

} // namespace

TEST(TrendBuffer, PointsRunsAndMarkers)
{
    struct Expected
    {
        qint64 timeMs;
        bool volts, amperes;
        int run; // runs numbered in order of appearance
    };
    const struct
    {
        const char* name;
        std::function<void(TrendBuffer&)> fill;
        std::vector<Expected> points;
        std::vector<TrendMarker> markers;
    } cases[] = {
        {"clean ticks: one run, no marker",
         [](TrendBuffer& b) {
             for (qint64 t : {1000, 2000, 3000})
                 b.addTick(t, kClean);
         },
         {{1000, true, true, 0}, {2000, true, true, 0}, {3000, true, true, 0}},
         {}},
        {"a tick after which the output is off ends its run",
         [](TrendBuffer& b) {
             b.addTick(1000, kClean);
             b.addTick(2000, reading(5.0, 0.5, false));
             b.addTick(9000, kClean);
         },
         {{1000, true, true, 0}, {2000, true, true, 0}, {9000, true, true, 1}},
         {}},
        {"the output going off between ticks ends the run once",
         [](TrendBuffer& b) {
             b.endRun(); // nothing to end yet
             b.addTick(1000, kClean);
             b.endRun();
             b.endRun();
             b.addTick(5000, kClean);
         },
         {{1000, true, true, 0}, {5000, true, true, 1}},
         {}},
        {"missing answers: the reading is missing and a time-out is marked",
         [](TrendBuffer& b) {
             b.addTick(1000, reading(std::nullopt, 0.5));
             b.addTick(2000, reading(5.0, std::nullopt));
             b.addTick(3000, reading(5.0, 0.5, true, false, true));
         },
         {{1000, false, true, 0}, {2000, true, false, 0}, {3000, true, true, 0}},
         {{1000, Kind::TimeOut}, {2000, Kind::TimeOut}, {3000, Kind::TimeOut}}},
        {"a trip is marked as a trip even with a missing answer",
         [](TrendBuffer& b) { b.addTick(1000, reading(std::nullopt, 0.5, false, true, true)); },
         {{1000, false, true, 0}},
         {{1000, Kind::Trip}}},
        {"older than the keeping time drops off, with its markers",
         [](TrendBuffer& b) {
             b.addTick(999, reading(std::nullopt, 0.5));
             b.addTick(1000, reading(std::nullopt, 0.5));
             b.addTick(11000, kClean); // keeps 10 s: 999 goes, 1000 stays
         },
         {{1000, false, true, 0}, {11000, true, true, 0}},
         {{1000, Kind::TimeOut}}},
        {"at most so many points, even when the clock jumps back",
         [](TrendBuffer& b) {
             for (qint64 t : {50000, 1000, 2000, 3000, 4000, 5000})
                 b.addTick(t, reading(std::nullopt, 0.5));
         },
         {{2000, false, true, 0}, {3000, false, true, 0}, {4000, false, true, 0}, {5000, false, true, 0}},
         {{2000, Kind::TimeOut}, {3000, Kind::TimeOut}, {4000, Kind::TimeOut}, {5000, Kind::TimeOut}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrendBuffer buffer(10'000, 4);
        c.fill(buffer);
        ASSERT_EQ(buffer.points().size(), c.points.size());
        std::vector<quint64> runIds;
        for (size_t i = 0; i < c.points.size(); ++i) {
            const TrendPoint& p = buffer.points()[i];
            EXPECT_EQ(p.timeMs, c.points[i].timeMs);
            EXPECT_EQ(p.volts.has_value(), c.points[i].volts);
            EXPECT_EQ(p.amperes.has_value(), c.points[i].amperes);
            if (runIds.empty() || runIds.back() != p.run)
                runIds.push_back(p.run);
            EXPECT_EQ(int(runIds.size()) - 1, c.points[i].run) << "point " << i;
        }
        EXPECT_EQ(std::vector<TrendMarker>(buffer.markers().begin(), buffer.markers().end()), c.markers);
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

    const struct
    {
        TimeSpan times;
        std::optional<ValueSpan> volts, amperes;
    } extents[] = {
        {{0, 300'000}, ValueSpan{2.0, 4.0}, ValueSpan{0.2, 0.7}},
        {{140'000, 200'000}, ValueSpan{3.0, 4.0}, ValueSpan{0.2, 0.7}},
        {{100'000, 160'000}, ValueSpan{2.0, 2.0}, ValueSpan{0.7, 0.7}},
        {{101'000, 149'000}, std::nullopt, std::nullopt},
    };
    for (const auto& e : extents) {
        SCOPED_TRACE(e.times.fromMs);
        EXPECT_EQ(valueExtent(buffer, TrendQuantity::Volts, e.times), e.volts);
        EXPECT_EQ(valueExtent(buffer, TrendQuantity::Amperes, e.times), e.amperes);
    }

    constexpr double kMax = std::numeric_limits<double>::max();
    const struct
    {
        const char* name;
        std::optional<ValueSpan> extent;
        ValueSpan span;
    } scales[] = {
        {"nothing shown", std::nullopt, {0, 1}},
        {"a tenth of the spread either side", ValueSpan{1.0, 2.0}, {0.9, 2.1}},
        {"a steady reading sits in the middle", ValueSpan{5.0, 5.0}, {4.995, 5.005}},
        {"a small spread widens to the minimum", ValueSpan{0.500, 0.502}, {0.496, 0.506}},
        {"readings at the ends of the number range", ValueSpan{-kMax, kMax}, {-kMax, kMax}},
    };
    for (const auto& s : scales) {
        SCOPED_TRACE(s.name);
        const ValueSpan span = autoscale(s.extent, 0.01);
        EXPECT_DOUBLE_EQ(span.low, s.span.low);
        EXPECT_DOUBLE_EQ(span.high, s.span.high);
    }

    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(inBand({4.5, 5.0}, TrendBand::Upper), (ValueSpan{4.0, 5.0}));
    EXPECT_EQ(inBand({0.5, 1.5}, TrendBand::Lower), (ValueSpan{0.5, 2.5}));
    EXPECT_EQ(inBand({-kMax, kMax}, TrendBand::Lower), (ValueSpan{-kMax, kMax})) << "no room to double";
    EXPECT_EQ(inBand({1.0, kInf}, TrendBand::Upper), (ValueSpan{1.0, kInf}));

    const struct
    {
        qint64 timeMs;
        TimeSpan times;
        std::optional<double> offset;
    } markers[] = {
        {1000, {1000, 5000}, 0.0}, {5000, {1000, 5000}, 400.0},        {2000, {1000, 5000}, 100.0},
        {999, {1000, 5000}, {}},   {5001, {1000, 5000}, std::nullopt}, {1000, {1000, 1000}, std::nullopt},
    };
    for (const auto& m : markers)
        EXPECT_EQ(markerOffset(m.timeMs, m.times, 400.0), m.offset) << m.timeMs;
}

TEST(TrendLogFormat, TimesLinesAndHeader)
{
    const qint64 moment = 1'714'572'188'123; // 2024-05-01T14:03:08.123Z
    const struct
    {
        qint64 ms;
        int offset;
        const char* text;
    } times[] = {
        {moment, 0, "2024-05-01T14:03:08.123+00:00"},
        {moment, 7200, "2024-05-01T16:03:08.123+02:00"},
        {moment, -12600, "2024-05-01T10:33:08.123-03:30"},
        {moment + 52'011'877, 0, "2024-05-02T04:30:00.000+00:00"},
        {moment - 123, 34200, "2024-05-01T23:33:08.000+09:30"},
    };
    for (const auto& t : times)
        EXPECT_EQ(isoTimeWithMs(t.ms, t.offset), t.text);

    const struct
    {
        const char* name;
        TickReadings readings;
        const char* line;
    } lines[] = {
        {"as the displays show them: cut, not rounded", reading(12.3456, 1.9999),
         "2024-05-01T14:03:08.123+00:00,12.345,1.999,ON"},
        {"a small negative reading", reading(-0.0019, 0.0009),
         "2024-05-01T14:03:08.123+00:00,-0.001,0.000,ON"},
        {"missing readings are empty fields", reading(std::nullopt, std::nullopt),
         "2024-05-01T14:03:08.123+00:00,,,ON"},
        {"the output off after the tick", reading(5.0, std::nullopt, false, true),
         "2024-05-01T14:03:08.123+00:00,5.000,,OFF"},
    };
    for (const auto& l : lines)
        EXPECT_EQ(trendLogLine(moment, 0, l.readings), l.line) << l.name;

    // The instrument's answer is outside input: a line break in it must not break the header.
    EXPECT_EQ(trendLogHeader({QStringLiteral(" QZ.Inc,ORX-B200,SN7\r\n# forged\tline \n"),
                              QStringLiteral("GPIB 8"), moment, 3600}),
              "# ORX Panel trend log\n"
              "# Instrument: QZ.Inc,ORX-B200,SN7  # forged line\n"
              "# Interface: GPIB 8\n"
              "# Started: 2024-05-01T15:03:08.123+01:00\n"
              "Time,Voltage (V),Current (A),Output\n");
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
