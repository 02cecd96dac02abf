// The editor's field rules, tested directly: limits in single precision, the rule that gives way,
// the fixed bounds, the adjusters' steps and the record number.

#include "base/program_state.h"
#include "editor/field_checks.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orx;

namespace {

ModelLimits limitsOfModel(int model)
{
    ProgramState state;
    SetDefaults(state, 8);
    state.ModelIndex = static_cast<qint16>(model);
    return orx::limitsOf(state);
}

constexpr auto V = LevelField::Voltage;
constexpr auto C = LevelField::Current;

// 8.2400001 is the same single-precision value as the ORX-A100's 8.24, so it is not above it.
TEST(EditorSetPointRules, TheFieldThatChangedHoldsThePairInsideTheModel)
{
    // The model, whether the voltage's rule runs (else the current's), the voltage, the current, the write.
    const std::tuple<int, bool, const char*, const char*, std::optional<FieldWrite>> cases[] = {
        {0, true, "25", "0.000", FieldWrite{V, "20.600"}},
        {0, true, "12", "15.000", FieldWrite{C, "10.300"}},
        {0, true, "8.24", "15.000", std::nullopt},
        {0, true, "8.2400001", "15.000", std::nullopt},
        {0, true, "20.601", "0", FieldWrite{V, "20.600"}},
        {0, true, "1e999", "0", FieldWrite{V, "20.600"}},
        {0, true, "-1", "15", FieldWrite{V, "0.000"}},
        {0, true, "-0", "15", std::nullopt},
        {0, false, "12.000", "15", FieldWrite{V, "8.240"}},
        {0, false, "8.000", "15", std::nullopt},
        {0, false, "12", "25", FieldWrite{C, "20.600"}},
        {0, false, "0", "-0.5", FieldWrite{C, "0.000"}},
        {1, true, "31", "0", FieldWrite{V, "30.900"}},
        {1, true, "16", "5", FieldWrite{C, "4.120"}},
        {1, false, "16", "7.3", FieldWrite{C, "7.210"}},
        {2, false, "31", "4", FieldWrite{V, "30.900"}},
    };
    for (const auto& [model, voltageChanged, voltage, current, write] : cases) {
        SCOPED_TRACE(testing::Message() << model << (voltageChanged ? " voltage " : " current ") << voltage
                                        << " V, " << current << " A");
        const QString v = QString::fromLatin1(voltage), a = QString::fromLatin1(current);
        const ModelLimits limits = limitsOfModel(model);
        EXPECT_EQ(voltageChanged ? LimitRecordVoltage(v, a, limits) : LimitRecordCurrent(a, v, limits),
                  write);
    }
}

// The checks of one kind of field, each with the limits of a model where it needs them.
using Check = std::optional<QString> (*)(int model, const QString& text);
struct Checks
{
    static std::optional<QString> ovp(int m, const QString& text)
    {
        return checkOvpLevel(text, limitsOfModel(m));
    }
    static std::optional<QString> ocp(int m, const QString& text)
    {
        return checkOcpLevel(text, limitsOfModel(m));
    }
    static std::optional<QString> delay(int, const QString& text) { return checkDelay(text); }
    static std::optional<QString> leaving(int, const QString& text) { return levelTextOnLeaving(text); }
};

TEST(EditorLevelRules, ProtectionLevelsDelayAndLeavingAField)
{
    const std::tuple<Check, int, const char*, std::optional<QString>> cases[] = {
        {Checks::ovp, 0, "30", "22.000"},
        {Checks::ovp, 0, "0.5", "1.000"},
        {Checks::ovp, 0, "", "1.000"},
        {Checks::ovp, 0, "1", std::nullopt},
        {Checks::ovp, 0, "22", std::nullopt},
        {Checks::ovp, 1, "33", "32.000"},
        {Checks::ocp, 0, "-1", "0.000"},
        {Checks::ocp, 0, "", std::nullopt},
        {Checks::ocp, 0, "23", "22.000"},
        {Checks::ocp, 1, "7.7", std::nullopt},
        {Checks::ocp, 1, "7.71", "7.700"},
        {Checks::delay, 0, "", "1"},
        {Checks::delay, 0, "0.5", "1"},
        {Checks::delay, 0, "60000", "59999"},
        {Checks::delay, 0, "59999", std::nullopt},
        {Checks::delay, 0, "5x", std::nullopt},
        {Checks::leaving, 0, "", "0.000"},
        {Checks::leaving, 0, "2.5", "2.500"},
        {Checks::leaving, 0, "12V", "12.000"},
        {Checks::leaving, 0, "-0", "0.000"},
        {Checks::leaving, 0, "1.23456", "1.235"},
    };
    for (const auto& [check, model, text, result] : cases)
        EXPECT_EQ(check(model, QString::fromLatin1(text)), result) << model << " " << text;
}

// The adjusters' steps; `by` is the chosen step, used by the levels only.
using Step = std::optional<QString> (*)(const QString& text, int adjusterValue, float by);
struct Steps
{
    static std::optional<QString> level(const QString& text, int v, float by)
    {
        return steppedLevel(text, v, by);
    }
    static std::optional<QString> delay(const QString& text, int v, float) { return steppedDelay(text, v); }
    static std::optional<QString> record(const QString& text, int v, float) { return steppedRecord(text, v); }
};

// A value of -1 raises, 1 lowers, 0 is the adjuster at rest. A result beyond a field's bounds is
// brought back by the field's own check (OVP 0.000 becomes 1.000, record -1 becomes 0).
TEST(EditorAdjusterRules, StepsAndTheirBounds)
{
    const std::tuple<Step, const char*, int, float, std::optional<QString>> cases[] = {
        {Steps::level, "1.000", 1, 1.0f, "0.000"},    {Steps::level, "20.600", -1, 0.001f, "20.601"},
        {Steps::level, "", -1, 0.01f, "0.010"},       {Steps::level, "12V", 1, 0.1f, "11.900"},
        {Steps::level, "5", 0, 1.0f, std::nullopt},   {Steps::delay, "59998", -1, 0, "59999"},
        {Steps::delay, "59999", -1, 0, std::nullopt}, {Steps::delay, "2", 1, 0, "1"},
        {Steps::delay, "1", 1, 0, std::nullopt},      {Steps::delay, "", -1, 0, "1"},
        {Steps::delay, "7", 0, 0, std::nullopt},      {Steps::record, "98", -1, 0, "99"},
        {Steps::record, "99", -1, 0, std::nullopt},   {Steps::record, "0", 1, 0, "-1"},
        {Steps::record, "5", 0, 0, std::nullopt},
    };
    for (const auto& [step, text, value, by, result] : cases)
        EXPECT_EQ(step(QString::fromLatin1(text), value, by), result) << text << " " << value;
}

TEST(EditorRecordRule, BoundsFormatsAndSelects)
{
    // The text, the bounded text, and the record number of the bounded text.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"-3", "0", 0}, {"150", "99", 99}, {"05", "5", 5},  {"7", "7", 7},  {"-", "-", 0},
        {"", "", 0},    {"5x", "5x", 5},   {"2.5", "2", 2}, {"-0", "0", 0}, {"99", "99", 99},
    };
    for (const auto& [text, bounded, record] : cases) {
        EXPECT_EQ(boundedRecordText(QString::fromLatin1(text)), QString::fromLatin1(bounded)) << text;
        EXPECT_EQ(recordNumberOf(QString::fromLatin1(bounded)), record) << text;
    }
}

} // namespace
