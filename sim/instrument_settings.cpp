#include "sim/instrument_settings.h"

#include "base/model_limits.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace orx::sim {
namespace {

constexpr double kMilliCeiling = 1e15;

size_t column(int modelIndex)
{
    return static_cast<size_t>(validModelIndex(modelIndex));
}

} // namespace

int validModelIndex(int modelIndex)
{
    return std::clamp(modelIndex, 0, kModelCount - 1);
}

qint64 toMilli(double value)
{
    if (std::isnan(value))
        return 0;
    const double scaled = value * 1000.0;
    if (scaled >= kMilliCeiling)
        return static_cast<qint64>(kMilliCeiling);
    if (scaled <= -kMilliCeiling)
        return -static_cast<qint64>(kMilliCeiling);
    return std::llround(scaled);
}

QString milliText(qint64 milli)
{
    const qint64 magnitude = milli < 0 ? -milli : milli;
    const QString text =
        QStringLiteral("%1.%2").arg(magnitude / 1000).arg(magnitude % 1000, 3, 10, QChar(u'0'));
    return milli < 0 ? u'-' + text : text;
}

MilliLimits milliLimits(int modelIndex)
{
    const size_t m = column(modelIndex);
    return {toMilli(kVoltMaxLow[m]),  toMilli(kVoltMaxHigh[m]), toMilli(kCurrMaxLow[m]),
            toMilli(kCurrMaxHigh[m]), toMilli(kOvpMax[m]),      toMilli(kOcpMax[m])};
}

Settings factorySettings(int modelIndex)
{
    const MilliLimits limits = milliLimits(modelIndex);
    Settings s;
    s.voltage = 0;
    s.current = 1000;
    s.ovpLevel = limits.ovpMax;
    s.ocpLevel = limits.ocpMax;
    s.ovpOn = false;
    s.ocpOn = false;
    s.delay = 10;
    return s;
}

} // namespace orx::sim
