#include "memory/memory_rules.h"

#include "base/numbers.h"

#include <algorithm>

namespace orx {

int memoryNumberOf(double value)
{
    return static_cast<int>(std::clamp(wholeNumber(value), 0.0, double(kLastMemory)));
}

QString memoryNumberText(double value)
{
    return formatTwoDigit(memoryNumberOf(value));
}

std::optional<double> heldWithin(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return std::nullopt;
}

std::optional<double> recordRule(double record)
{
    return heldWithin(record, 0, kLastMemory);
}

std::optional<double> delayRule(double delay)
{
    return heldWithin(delay, kMinDelay, kMaxDelay);
}

std::optional<double> cycleRule(double cycles)
{
    return heldWithin(cycles, 0, kMaxCycles);
}

std::optional<double> startMemoryRule(double start, double end)
{
    const double held = heldWithin(start, 0, kLastMemory).value_or(start);
    const double result = held > end ? end : held;
    return result != start ? std::optional(result) : std::nullopt;
}

std::optional<double> endMemoryRule(double end, double start)
{
    const double held = heldWithin(end, 0, kLastMemory).value_or(end);
    const double result = start > held ? start : held;
    return result != end ? std::optional(result) : std::nullopt;
}

bool ceaseLineFirst(double start, double end, int heldStart, int heldEnd)
{
    return !(start <= heldEnd || end <= heldStart);
}

QString memoryListText(QList<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1)
            ++last;
        if (last - i >= 2) {
            parts.append(formatTwoDigit(numbers[i]) + QStringLiteral(" to ") + formatTwoDigit(numbers[last]));
            i = last + 1;
        } else {
            parts.append(formatTwoDigit(numbers[i]));
            ++i;
        }
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace orx
