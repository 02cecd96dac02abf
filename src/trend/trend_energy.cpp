#include "trend/trend_energy.h"

#include <cmath>

namespace orx {
namespace {

constexpr double kMsPerHour = 3'600'000.0;

// The trapezoid of a quantity over `hours`; nothing when it is missing at either end.
std::optional<double> trapezoid(std::optional<double> a, std::optional<double> b, double hours)
{
    if (!a || !b)
        return std::nullopt;
    return (*a + *b) / 2 * hours;
}

} // namespace

std::optional<double> powerOf(std::optional<double> volts, std::optional<double> amperes)
{
    if (!volts || !amperes || !std::isfinite(*volts * *amperes))
        return std::nullopt;
    return *volts * *amperes;
}

EnergyTotals energyBetween(const EnergySample& earlier, const EnergySample& later)
{
    const qint64 ms = later.timeMs - earlier.timeMs;
    if (ms <= 0 || ms > kLongestCountedGapMs)
        return {};
    const double hours = double(ms) / kMsPerHour;
    return EnergyTotals{
        trapezoid(earlier.amperes, later.amperes, hours).value_or(0),
        trapezoid(powerOf(earlier.volts, earlier.amperes), powerOf(later.volts, later.amperes), hours)
            .value_or(0)};
}

void EnergyMeter::add(const EnergySample& sample, bool outputOnAfter)
{
    if (m_last) {
        const EnergyTotals more = energyBetween(*m_last, sample);
        m_totals.ampereHours += more.ampereHours;
        m_totals.wattHours += more.wattHours;
    }
    m_last = sample;
    if (!outputOnAfter)
        m_last.reset();
}

void EnergyMeter::reset()
{
    m_last.reset();
    m_totals = {};
}

} // namespace orx
