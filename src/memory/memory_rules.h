#pragma once
// The number rules of the Memory and Auto Mode groups as pure functions: how a memory number, a
// delay, a start or cease memory and a cycle count are held within their limits, the one whole
// number a memory field stands for, and which auto-range line goes to the instrument first.

#include <QList>
#include <QString>
#include <optional>

namespace orx {

inline constexpr int kLastMemory = 99;
inline constexpr double kMinDelay = 1;
inline constexpr double kMaxDelay = 59999;
inline constexpr double kMaxCycles = 99999;

// The memory a field's value names: its whole number (halves to even) held within 0..99. The
// number sent to the instrument and the index of the memory's copy are always this one number.
int memoryNumberOf(double value);
// That memory as its two digits, "00".."99".
QString memoryNumberText(double value);

// The value held within low..high, or nothing when it already lies there.
std::optional<double> heldWithin(double value, double low, double high);

std::optional<double> recordRule(double record); // 0..99
std::optional<double> delayRule(double delay);   // 1..59999
std::optional<double> cycleRule(double cycles);  // 0..99999

// A start memory beside a cease memory: held within 0..99, then never above the cease memory.
// Raising the start past the end pulls the start down: the field being edited gives way.
std::optional<double> startMemoryRule(double start, double end);
// A cease memory beside a start memory: held within 0..99, then never below the start memory.
std::optional<double> endMemoryRule(double end, double start);

// Whether the cease line goes before the start line: only when the new range lies wholly above the
// range the instrument holds, whose end would otherwise refuse the new start.
bool ceaseLineFirst(double start, double end, int heldStart, int heldEnd);

// Memory numbers for a message, in ascending order, runs of three or more joined: "03, 07, 10 to 20".
QString memoryListText(QList<int> numbers);

} // namespace orx
