// The limit rules and the range choice, with the single-precision limits of the model table.

#include "panel/limit_rules.h"

#include "base/program_state.h"

#include <gtest/gtest.h>
#include <optional>

using namespace orx;

namespace {

ModelLimits limitsOfModel(int model)
{
    ProgramState state;
    SetDefaults(state, 8);
    state.ModelIndex = static_cast<qint16>(model);
    return limitsOf(state);
}

const ModelLimits kA100 = limitsOfModel(0);
const ModelLimits kC300 = limitsOfModel(2);
constexpr double w(float limit) // a limit as a field receives it: the single widened to double
{
    return static_cast<double>(limit);
}

} // namespace

TEST(LimitRules, VoltageAndCurrentRules)
{
    using std::nullopt;
    const struct
    {
        const char* name;
        bool voltageChanged; // which rule runs: the field that changed
        double changed, paired;
        const ModelLimits& limits;
        Correction expected;
    } cases[] = {
        {"15 V with 15 A lowers the current", true, 15, 15, kA100, {nullopt, w(10.3f)}},
        {"8.240 typed is above the single 8.24", true, 8.24, 15, kA100, {nullopt, w(10.3f)}},
        {"the single 8.24 itself is not", true, w(8.24f), 15, kA100, {}},
        {"the high-range current is lowered to itself", true, 12, w(10.3f), kA100, {nullopt, w(10.3f)}},
        {"20.600 typed stays (below the single 20.6)", true, 20.6, 1, kA100, {}},
        {"30 V is held at the maximum first", true, 30, 15, kA100, {w(20.6f), nullopt}},
        {"C300 70 V", true, 70, 1, kC300, {w(61.8f), nullopt}},
        {"negative voltage", true, -0.001, 15, kA100, {0.0, nullopt}},
        {"5 V with 15 A is fine", true, 5, 15, kA100, {}},
        {"15 A with 5 V is fine", false, 15, 5, kA100, {}},
        {"15 A with 10 V is lowered", false, 15, 10, kA100, {w(10.3f), nullopt}},
        {"15 A with the single 8.24 counts as high", false, 15, w(8.24f), kA100, {w(10.3f), nullopt}},
        {"25 A is held at the maximum", false, 25, 1, kA100, {w(20.6f), nullopt}},
        {"negative current", false, -2, 1, kA100, {0.0, nullopt}},
        {"C300 5 A at 40 V", false, 5, 40, kC300, {w(3.4f), nullopt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Correction got = c.voltageChanged ? voltageRule(c.changed, c.paired, c.limits)
                                                : currentRule(c.changed, c.paired, c.limits);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(LimitRules, ProtectionLevels)
{
    const struct
    {
        double value;
        std::optional<double> ovp, ocp;
    } cases[] = {
        {0.5, 1.0, std::nullopt},        {-2, 1.0, 0.0},
        {1, std::nullopt, std::nullopt}, {22, std::nullopt, std::nullopt},
        {22.001, w(22.0f), w(22.0f)},    {0, 1.0, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ovpRule(c.value, kA100), c.ovp) << c.value;
        EXPECT_EQ(ocpRule(c.value, kA100), c.ocp) << c.value;
    }
}

TEST(LimitRules, RangeCommandBeforeAVoltage)
{
    const struct
    {
        double volts, amperes;
        const char* expected;
    } cases[] = {
        {15, 10.3, ":VOLT:RANG HIGH"},
        {8.24, 1, ":VOLT:RANG HIGH"},
        {w(8.24f), 1, ""},
        {5, 15, ":VOLT:RANG LOW"},
        {5, 8, ""},
        {5, w(10.3f), ""},
        {w(8.24f), 10.301, ":VOLT:RANG LOW"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rangeCommandFor(c.volts, c.amperes, kA100), QString::fromLatin1(c.expected))
            << c.volts << " V " << c.amperes << " A";
}
