#pragma once
// The rules that hold set-points and protection levels inside the connected model's limits, and the
// choice of the instrument's voltage range. Pure functions of the values and the model's limits:
// the window applies them to its fields, which run the rule again on each correction.
//
// The limits are single-precision table values; each comparison widens them to double, and a limit
// written back is the widened single (8.24f is 8.2399997711...), never a rounded decimal.

#include "base/model_limits.h"

#include <QString>
#include <optional>

namespace orx {

// What a rule changes: a new value for the field that changed and/or for its paired field.
struct Correction
{
    std::optional<double> field;
    std::optional<double> paired;
    bool operator==(const Correction&) const = default;
};

// Voltage field V paired with current field I: V is held within 0..VoltMaxHigh; a voltage above the
// low range with a current of at least CurrMaxHigh lowers the current to CurrMaxHigh.
Correction voltageRule(double volts, double amperes, const ModelLimits& limits);

// Current field I paired with voltage field V: I is held within 0..CurrMaxLow; a current above the high
// range's maximum with a voltage of at least VoltMaxLow is lowered to CurrMaxHigh.
Correction currentRule(double amperes, double volts, const ModelLimits& limits);

// OVP levels are held within 1..OvpMax, OCP levels within 0..OcpMax.
std::optional<double> ovpRule(double volts, const ModelLimits& limits);
std::optional<double> ocpRule(double amperes, const ModelLimits& limits);

// The range command that must precede a voltage set-point (strict comparisons): ":VOLT:RANG HIGH" for a
// voltage above the low range, else ":VOLT:RANG LOW" for a current above the high range's maximum,
// else nothing (the empty text).
QString rangeCommandFor(double volts, double amperes, const ModelLimits& limits);

} // namespace orx
