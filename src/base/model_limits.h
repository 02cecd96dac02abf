#pragma once
// The three ORX models and their limit table. Each limit is the single-precision number nearest to
// the decimal in the instrument's data sheet; comparisons widen it to double (or, in the editor,
// narrow the field value to single precision), so the exact float values matter.

#include <QString>
#include <array>

namespace orx {

inline constexpr int kModelCount = 3;

// Model names as the identity answer gives them, in model-index order.
inline const std::array<QString, kModelCount> kModelNames = {
    QStringLiteral("ORX-A100"), QStringLiteral("ORX-B200"), QStringLiteral("ORX-C300")};

using LimitColumn = std::array<float, kModelCount>;

inline constexpr LimitColumn kVoltMaxLow = {8.24f, 15.45f, 30.9f};
inline constexpr LimitColumn kVoltMaxHigh = {20.6f, 30.9f, 61.8f};
inline constexpr LimitColumn kCurrMaxLow = {20.6f, 7.21f, 6.18f};
inline constexpr LimitColumn kCurrMaxHigh = {10.3f, 4.12f, 3.4f};
inline constexpr LimitColumn kOvpMax = {22.0f, 32.0f, 65.0f};
inline constexpr LimitColumn kOcpMax = {22.0f, 7.7f, 6.6f};

// One column of the limit table: the limits of one model.
struct ModelLimits
{
    float voltMaxLow = 0;  // top of the low voltage range
    float voltMaxHigh = 0; // highest voltage at all
    float currMaxLow = 0;  // highest current at all (low range only)
    float currMaxHigh = 0; // highest current in the high range
    float ovpMax = 0;
    float ocpMax = 0;
};

// Index of a model name (exact match), or -1 for any other text.
int modelIndexOf(const QString& name);
// The same in any letter case, for names an operator types ("orx-b200").
int modelIndexOfAnyCase(const QString& name);

// A model index held within the table: an index outside it reads as the nearest model.
int heldModelIndex(int modelIndex);

// The limits of a model index as the table holds them (held within the table first).
ModelLimits limitsOfModel(int modelIndex);

} // namespace orx
