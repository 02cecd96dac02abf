#include "editor/field_checks.h"

#include "base/numbers.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace orx {
namespace {

constexpr double kMaxDelay = 59999;
constexpr double kMaxRecord = 99;

QString limitText(float limit)
{
    return format3(static_cast<double>(limit));
}

bool above(QStringView text, float limit)
{
    return toSingle(leadingNumber(text)) > limit;
}

} // namespace

float toSingle(double value)
{
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::optional<FieldWrite> LimitRecordVoltage(QStringView voltage, QStringView current,
                                             const ModelLimits& limits)
{
    if (leadingNumber(voltage) < 0)
        return FieldWrite{LevelField::Voltage, format3(0)};
    if (above(voltage, limits.voltMaxHigh))
        return FieldWrite{LevelField::Voltage, limitText(limits.voltMaxHigh)};
    if (above(voltage, limits.voltMaxLow) && above(current, limits.currMaxHigh))
        return FieldWrite{LevelField::Current, limitText(limits.currMaxHigh)};
    return std::nullopt;
}

std::optional<FieldWrite> LimitRecordCurrent(QStringView current, QStringView voltage,
                                             const ModelLimits& limits)
{
    if (leadingNumber(current) < 0)
        return FieldWrite{LevelField::Current, format3(0)};
    if (above(current, limits.currMaxLow))
        return FieldWrite{LevelField::Current, limitText(limits.currMaxLow)};
    if (above(current, limits.currMaxHigh) && above(voltage, limits.voltMaxLow))
        return FieldWrite{LevelField::Voltage, limitText(limits.voltMaxLow)};
    return std::nullopt;
}

std::optional<QString> checkOvpLevel(QStringView text, const ModelLimits& limits)
{
    if (leadingNumber(text) < 1)
        return format3(1);
    if (above(text, limits.ovpMax))
        return limitText(limits.ovpMax);
    return std::nullopt;
}

std::optional<QString> checkOcpLevel(QStringView text, const ModelLimits& limits)
{
    if (leadingNumber(text) < 0)
        return format3(0);
    if (above(text, limits.ocpMax))
        return limitText(limits.ocpMax);
    return std::nullopt;
}

std::optional<QString> checkDelay(QStringView text)
{
    const double value = leadingNumber(text);
    if (value < 1)
        return QStringLiteral("1");
    if (value > kMaxDelay)
        return formatWhole(kMaxDelay);
    return std::nullopt;
}

QString levelTextOnLeaving(QStringView text)
{
    return format3(leadingNumber(text));
}

std::optional<QString> steppedLevel(QStringView text, int adjusterValue, float step)
{
    if (adjusterValue == 0)
        return std::nullopt;
    const double value = leadingNumber(text);
    const double by = static_cast<double>(step);
    return format3(adjusterValue == -1 ? value + by : value - by);
}

std::optional<QString> steppedDelay(QStringView text, int adjusterValue)
{
    const double value = leadingNumber(text);
    if (adjusterValue == -1 && value < kMaxDelay)
        return formatWhole(value + 1);
    if (adjusterValue != 0 && adjusterValue != -1 && value > 1)
        return formatWhole(value - 1);
    return std::nullopt;
}

std::optional<QString> steppedRecord(QStringView text, int adjusterValue)
{
    const double value = leadingNumber(text);
    if (adjusterValue == -1)
        return value < kMaxRecord ? std::optional(formatWhole(value + 1)) : std::nullopt;
    if (adjusterValue != 0)
        return formatWhole(value - 1);
    return std::nullopt;
}

QString boundedRecordText(QStringView text)
{
    const double value = leadingNumber(text);
    if (value < 0)
        return QStringLiteral("0");
    if (value > kMaxRecord)
        return formatWhole(kMaxRecord);
    const std::optional<double> number = parseNumber(text);
    return number ? formatWhole(*number) : text.toString();
}

int recordNumberOf(QStringView text)
{
    return static_cast<int>(qBound(0.0, wholeNumber(leadingNumber(text)), kMaxRecord));
}

} // namespace orx
