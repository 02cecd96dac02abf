#pragma once
// What the virtual instrument holds: its active settings and its 100 setting memories, in whole
// millivolts and milliamperes (the instrument's resolution), so that comparisons with the model's
// limits are exact and a limit sent back as "8.240" is the limit itself, not a hair above it.

#include <QString>
#include <QtGlobal>
#include <array>

namespace orx::sim {

inline constexpr int kMemoryCount = 100;
inline constexpr int kMinDelay = 1;     // 100 ms units
inline constexpr int kMaxDelay = 59999; // 100 ms units
inline constexpr int kMaxCycles = 99999;

enum class Protection
{
    Ovp,
    Ocp
};

struct Settings
{
    qint64 voltage = 0;  // mV
    qint64 current = 0;  // mA
    qint64 ovpLevel = 0; // mV
    qint64 ocpLevel = 0; // mA
    bool ovpOn = false;
    bool ocpOn = false;
    int delay = 10; // 100 ms units: the time a memory stays active in the automatic sequence

    bool operator==(const Settings&) const = default;
};

using MemoryBank = std::array<Settings, kMemoryCount>;

// One model's limits in the instrument's resolution: the single-precision table value rounded to
// the nearest thousandth.
struct MilliLimits
{
    qint64 voltMaxLow;
    qint64 voltMaxHigh;
    qint64 currMaxLow;
    qint64 currMaxHigh;
    qint64 ovpMax;
    qint64 ocpMax;
};

// The limits of a model index; an index outside 0..2 is taken as the nearest valid one.
MilliLimits milliLimits(int modelIndex);

// A model index held to 0..2.
int validModelIndex(int modelIndex);

// The settings a new instrument starts with and every memory holds from the factory: 0 V, 1 A,
// both protection levels at the model's maximum, both protections off, a delay of one second.
Settings factorySettings(int modelIndex);

// A value in volts or amperes as whole thousandths, rounded to the nearest; values far beyond any
// limit (or not finite) are held at +/- 10^15 so that later arithmetic cannot overflow.
qint64 toMilli(double value);

// Whole thousandths as the "#0.000" text the instrument answers with.
QString milliText(qint64 milli);

} // namespace orx::sim
