#pragma once
// Charge and energy delivered while the output is on, counted from the monitoring ticks' readings:
// between two ticks of one stretch of the output being on, the trapezoid of the current (charge) and
// of the power V·I (energy) over the real time between them. Where that time is longer than two
// periods of the monitoring timer, or a reading at either end went missing, nothing is known about
// the stretch between them and nothing is counted: a gap is never bridged by a straight line.

#include <QtGlobal>
#include <optional>

namespace orx {

// The monitoring timer's period, and the longest time between two ticks whose readings still count.
inline constexpr qint64 kTickPeriodMs = 1000;
inline constexpr qint64 kLongestCountedGapMs = 2 * kTickPeriodMs;

struct EnergyTotals
{
    double ampereHours = 0;
    double wattHours = 0;
    bool operator==(const EnergyTotals&) const = default;
};

struct EnergySample
{
    qint64 timeMs = 0; // on a clock that never jumps
    std::optional<double> volts;
    std::optional<double> amperes;
};

// The power V·I of one tick's readings; nothing when either is missing or the product overflows.
std::optional<double> powerOf(std::optional<double> volts, std::optional<double> amperes);

// What the time from one tick to the next adds, both ticks within one stretch of the output being on.
EnergyTotals energyBetween(const EnergySample& earlier, const EnergySample& later);

// The running totals: they go on for as long as the trend watches, however old the points are that
// the chart still holds.
class EnergyMeter
{
public:
    // One tick; when the output is off after it, the next tick begins a new stretch.
    void add(const EnergySample& sample, bool outputOnAfter);
    // The output went off between ticks.
    void endStretch() { m_last.reset(); }
    // Back to zero; counting starts again from the next tick.
    void reset();
    const EnergyTotals& totals() const { return m_totals; }

private:
    std::optional<EnergySample> m_last;
    EnergyTotals m_totals;
};

} // namespace orx
