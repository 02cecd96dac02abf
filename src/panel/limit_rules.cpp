#include "panel/limit_rules.h"

namespace orx {
namespace {

double widened(float limit)
{
    return static_cast<double>(limit);
}

} // namespace

Correction voltageRule(double volts, double amperes, const ModelLimits& limits)
{
    if (volts < 0)
        return {0.0, {}};
    if (volts > widened(limits.voltMaxHigh))
        return {widened(limits.voltMaxHigh), {}};
    if (volts > widened(limits.voltMaxLow) && amperes >= widened(limits.currMaxHigh))
        return {{}, widened(limits.currMaxHigh)};
    return {};
}

Correction currentRule(double amperes, double volts, const ModelLimits& limits)
{
    if (amperes < 0)
        return {0.0, {}};
    if (amperes > widened(limits.currMaxLow))
        return {widened(limits.currMaxLow), {}};
    if (amperes > widened(limits.currMaxHigh) && volts >= widened(limits.voltMaxLow))
        return {widened(limits.currMaxHigh), {}};
    return {};
}

std::optional<double> ovpRule(double volts, const ModelLimits& limits)
{
    if (volts < 1)
        return 1.0;
    if (volts > widened(limits.ovpMax))
        return widened(limits.ovpMax);
    return std::nullopt;
}

std::optional<double> ocpRule(double amperes, const ModelLimits& limits)
{
    if (amperes < 0)
        return 0.0;
    if (amperes > widened(limits.ocpMax))
        return widened(limits.ocpMax);
    return std::nullopt;
}

QString rangeCommandFor(double volts, double amperes, const ModelLimits& limits)
{
    if (volts > widened(limits.voltMaxLow))
        return QStringLiteral(":VOLT:RANG HIGH");
    if (amperes > widened(limits.currMaxHigh))
        return QStringLiteral(":VOLT:RANG LOW");
    return {};
}

} // namespace orx
