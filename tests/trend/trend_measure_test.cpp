// The trend's measuring rules against values worked out by hand: the charge and energy between ticks,
// the statistics of a span, and the cursor's moment and nearest tick.

#include "trend/trend_cursor.h"
#include "trend/trend_energy.h"
#include "trend/trend_statistics.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace orx;

namespace {

std::optional<double> number(const QString& text)
{
    return text == "-" ? std::nullopt : std::optional(text.toDouble());
}

TrendPoint point(qint64 timeMs, std::optional<double> volts, std::optional<double> amperes)
{
    return TrendPoint{timeMs, volts, amperes, 0, true, {}};
}

} // namespace

// A tick is "<steady ms>:<volts>/<amperes>", "-" for a reading that went missing, "o" after it when
// the output is off after the tick; "|" is the output going off between ticks, "R" the Reset. The
// totals are given in ampere-seconds and watt-seconds.
TEST(EnergyMeter, TrapezoidsOverTheRealTimeWhileTheOutputIsOn)
{
    const struct
    {
        const char* name;
        const char* ticks;
        double ampereSeconds, wattSeconds;
    } cases[] = {
        {"a constant load: 2 A at 10 V for 3 s", "0:10/2 1000:10/2 2000:10/2 3000:10/2", 6, 60},
        {"a step from 1 A to 3 A: the trapezoid across it", "0:10/1 1000:10/1 2000:10/3 3000:10/3", 6, 60},
        {"the real time between ticks, not their count", "0:10/1 1500:10/1 2300:10/1", 2.3, 23},
        {"power is V times I at each tick, not mean times mean", "0:10/1 1000:20/3", 2, 35},
        {"a gap longer than two periods counts nothing", "0:10/1 1000:10/1 3001:10/5 4001:10/5", 6, 60},
        {"two periods exactly still count", "0:10/1 2000:10/3", 4, 40},
        {"output off after a tick: nothing until the next", "0:10/1 1000:10/1o 1500:10/1 2500:10/1", 2, 20},
        {"output off between ticks", "0:10/1 1000:10/1 | 1800:10/1 2800:10/1", 2, 20},
        {"a missing current: no line across it", "0:10/1 1000:10/- 2000:10/1 3000:10/1", 1, 10},
        {"a missing voltage: the charge counts, the energy not", "0:10/1 1000:-/1 2000:10/1", 2, 0},
        {"Reset: counting starts again at the next tick", "0:10/1 1000:10/1 R 2000:10/1 3000:10/1", 1, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EnergyMeter meter;
        for (const QString& tick : QString::fromLatin1(c.ticks).split(u' ')) {
            if (tick == "|") {
                meter.endStretch();
            } else if (tick == "R") {
                meter.reset();
            } else {
                const QStringList readings = QString(tick).remove(u'o').section(u':', 1).split(u'/');
                meter.add({tick.section(u':', 0, 0).toLongLong(), number(readings[0]), number(readings[1])},
                          !tick.endsWith(u'o'));
            }
        }
        EXPECT_NEAR(meter.totals().ampereHours * 3600, c.ampereSeconds, 1e-9);
        EXPECT_NEAR(meter.totals().wattHours * 3600, c.wattSeconds, 1e-9);
    }
}

TEST(TrendStatistics, MinimumMaximumAndMeanOfTheSpanInView)
{
    using Q = TrendQuantity;
    const std::deque<TrendPoint> points{point(1000, 10.0, 1.0),         point(2000, 12.0, std::nullopt),
                                        point(3000, std::nullopt, 2.0), point(4000, 11.0, 3.0),
                                        point(5000, 14.0, 0.5),         point(6000, 1e200, 1e200)};
    using S = std::optional<Statistics>;
    const struct
    {
        TimeSpan times;
        Q quantity;
        S expected;
    } cases[] = {
        {{1000, 5000}, Q::Volts, Statistics{10, 14, 11.75, 4}},
        {{1000, 5000}, Q::Amperes, Statistics{0.5, 3, 1.625, 4}},
        {{1000, 5000}, Q::Watts, Statistics{7, 33, 50.0 / 3, 3}},
        {{2000, 4000}, Q::Volts, Statistics{11, 12, 11.5, 2}},
        {{2000, 4000}, Q::Watts, Statistics{33, 33, 33, 1}},
        {{4000, 4000}, Q::Amperes, Statistics{3, 3, 3, 1}},
        {{1500, 1900}, Q::Volts, std::nullopt},
        {{6000, 6000}, Q::Watts, std::nullopt}, // a power beyond any double is no reading
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.times.fromMs << ".." << c.times.toMs << " " << int(c.quantity));
        const S stats = statisticsOf(points, c.quantity, c.times);
        ASSERT_EQ(stats.has_value(), c.expected.has_value());
        if (stats) {
            EXPECT_EQ(stats->min, c.expected->min);
            EXPECT_EQ(stats->max, c.expected->max);
            EXPECT_DOUBLE_EQ(stats->mean, c.expected->mean);
            EXPECT_EQ(stats->count, c.expected->count);
        }
    }
}

TEST(TrendCursor, TheMomentUnderThePointerAndTheNearestTick)
{
    const TimeSpan shown{1000, 5000};
    for (const auto& [offset, width, time] :
         std::initializer_list<std::tuple<double, double, std::optional<qint64>>>{{0, 400, 1000},
                                                                                  {400, 400, 5000},
                                                                                  {100, 400, 2000},
                                                                                  {-1, 400, std::nullopt},
                                                                                  {401, 400, std::nullopt},
                                                                                  {0, 0, std::nullopt}})
        EXPECT_EQ(timeAtOffset(offset, shown, width), time) << offset;

    const std::deque<TrendPoint> points{point(1000, 1, 1), point(2000, 2, 2), point(4000, 4, 4),
                                        point(9000, 9, 9)};
    for (const auto& [at, times, index] :
         std::initializer_list<std::tuple<qint64, TimeSpan, std::optional<size_t>>>{
             {1400, shown, 0},
             {1500, shown, 0}, // as near to both: the earlier
             {1600, shown, 1},
             {3500, shown, 2},
             {9000, shown, 2}, // the nearest in view, not the nearest of all
             {6000, {5000, 8000}, std::nullopt}})
        EXPECT_EQ(nearestPoint(points, at, times), index) << at;

    const QStringList readout = cursorReadout(point(1000, 12.3456, std::nullopt), true);
    EXPECT_EQ(readout.mid(1), (QStringList{"12.345 V", "no reading (A)", "no reading (W)"}));
    EXPECT_EQ(cursorReadout(point(1000, 12.3456, 0.5), false).mid(1), (QStringList{"12.345 V", "0.500 A"}));
}
