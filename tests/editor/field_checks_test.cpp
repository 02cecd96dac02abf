// The editor's field rules, tested directly: limits in single precision, the rule that gives way,
// the fixed bounds, the adjusters' steps and the record number.

#include "app/program_state.h"
#include "editor/field_checks.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>

using namespace orx;

namespace {

ModelLimits limitsOf(int model)
{
    ProgramState state;
    SetDefaults(state, 8);
    state.ModelIndex = static_cast<qint16>(model);
    return currentModelLimits(state);
}

constexpr auto V = LevelField::Voltage;
constexpr auto C = LevelField::Current;

TEST(EditorSetPointRules, TheFieldThatChangedHoldsThePairInsideTheModel)
{
    const struct
    {
        int model;
        bool voltageChanged; // which rule runs: the voltage's or the current's
        const char* voltage;
        const char* current;
        std::optional<FieldWrite> write;
    } cases[] = {
        {0, true, "25", "0.000", FieldWrite{V, "20.600"}},
        {0, true, "12", "15.000", FieldWrite{C, "10.300"}},
        {0, true, "12V", "15", FieldWrite{C, "10.300"}},
        {0, true, "8.24", "15.000", std::nullopt},
        {0, true, "8.2400001", "15.000", std::nullopt}, // the same single-precision value as the limit
        {0, true, "20.6", "10.3", std::nullopt},
        {0, true, "20.601", "0", FieldWrite{V, "20.600"}},
        {0, true, "1e999", "0", FieldWrite{V, "20.600"}},
        {0, true, "-1", "15", FieldWrite{V, "0.000"}},
        {0, true, "-0", "15", std::nullopt},
        {0, true, "", "", std::nullopt},
        {0, false, "12.000", "15", FieldWrite{V, "8.240"}},
        {0, false, "8.000", "15", std::nullopt},
        {0, false, "12", "10.3", std::nullopt},
        {0, false, "12", "25", FieldWrite{C, "20.600"}},
        {0, false, "0", "-0.5", FieldWrite{C, "0.000"}},
        {0, false, "12", "-1e999", FieldWrite{C, "0.000"}},
        {1, true, "31", "0", FieldWrite{V, "30.900"}},
        {1, true, "16", "5", FieldWrite{C, "4.120"}},
        {1, false, "16", "7.3", FieldWrite{C, "7.210"}},
        {2, false, "31", "4", FieldWrite{V, "30.900"}},
        {2, true, "61.8", "3.4", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.model << (c.voltageChanged ? " voltage " : " current ")
                                        << c.voltage << " V, " << c.current << " A");
        const QString v = QString::fromLatin1(c.voltage);
        const QString a = QString::fromLatin1(c.current);
        const ModelLimits limits = limitsOf(c.model);
        EXPECT_EQ(c.voltageChanged ? LimitRecordVoltage(v, a, limits) : LimitRecordCurrent(a, v, limits),
                  c.write);
    }
}

TEST(EditorLevelRules, ProtectionLevelsDelayAndLeavingAField)
{
    using Rule = std::function<std::optional<QString>(QStringView)>;
    const Rule ovp = [](QStringView t) {
        return checkOvpLevel(t, limitsOf(0));
    };
    const Rule ovpB = [](QStringView t) {
        return checkOvpLevel(t, limitsOf(1));
    };
    const Rule ocp = [](QStringView t) {
        return checkOcpLevel(t, limitsOf(0));
    };
    const Rule ocpB = [](QStringView t) {
        return checkOcpLevel(t, limitsOf(1));
    };
    const Rule delay = [](QStringView t) {
        return checkDelay(t);
    };
    const Rule leaving = [](QStringView t) {
        return std::optional(levelTextOnLeaving(t));
    };
    const struct
    {
        const char* rule;
        const Rule& check;
        const char* text;
        std::optional<QString> result;
    } cases[] = {
        {"ovp", ovp, "30", "22.000"},
        {"ovp", ovp, "0.5", "1.000"},
        {"ovp", ovp, "", "1.000"},
        {"ovp", ovp, "1", std::nullopt},
        {"ovp", ovp, "22", std::nullopt},
        {"ovp", ovp, "22.001", "22.000"},
        {"ovp B200", ovpB, "33", "32.000"},
        {"ocp", ocp, "-1", "0.000"},
        {"ocp", ocp, "", std::nullopt},
        {"ocp", ocp, "23", "22.000"},
        {"ocp B200", ocpB, "7.7", std::nullopt},
        {"ocp B200", ocpB, "7.71", "7.700"},
        {"delay", delay, "", "1"},
        {"delay", delay, "0.5", "1"},
        {"delay", delay, "abc", "1"},
        {"delay", delay, "60000", "59999"},
        {"delay", delay, "59999", std::nullopt},
        {"delay", delay, "1", std::nullopt},
        {"delay", delay, "5x", std::nullopt},
        {"leaving", leaving, "", "0.000"},
        {"leaving", leaving, "2.5", "2.500"},
        {"leaving", leaving, "12V", "12.000"},
        {"leaving", leaving, "-0", "0.000"},
        {"leaving", leaving, "1.23456", "1.235"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.check(QString::fromLatin1(c.text)), c.result) << c.rule << " " << c.text;
}

TEST(EditorAdjusterRules, StepsAndTheirBounds)
{
    enum Kind
    {
        Level,
        Delay,
        Record
    };
    const struct
    {
        Kind kind;
        const char* text;
        int value; // -1 raises, 1 lowers, 0 is the adjuster at rest
        float step;
        std::optional<QString> result;
    } cases[] = {
        {Level, "1.000", 1, 1.0f, "0.000"},      // the OVP rule then makes it 1.000
        {Level, "20.600", -1, 0.001f, "20.601"}, // the voltage rule then makes it 20.600
        {Level, "", -1, 0.01f, "0.010"},
        {Level, "12V", 1, 0.1f, "11.900"},
        {Level, "5", 0, 1.0f, std::nullopt},
        {Delay, "59998", -1, 1.0f, "59999"},
        {Delay, "59999", -1, 0.001f, std::nullopt},
        {Delay, "2", 1, 0.001f, "1"},
        {Delay, "1", 1, 1.0f, std::nullopt},
        {Delay, "", -1, 1.0f, "1"},
        {Delay, "7", 0, 1.0f, std::nullopt},
        {Record, "98", -1, 1.0f, "99"},
        {Record, "99", -1, 1.0f, std::nullopt},
        {Record, "0", 1, 1.0f, "-1"}, // the record rule then makes it 0
        {Record, "5", 0, 1.0f, std::nullopt},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const std::optional<QString> result = c.kind == Level   ? steppedLevel(text, c.value, c.step)
                                              : c.kind == Delay ? steppedDelay(text, c.value)
                                                                : steppedRecord(text, c.value);
        EXPECT_EQ(result, c.result) << c.kind << " " << c.text << " " << c.value;
    }
}

TEST(EditorRecordRule, BoundsFormatsAndSelects)
{
    const struct
    {
        const char* text;
        const char* bounded;
        int record; // of the bounded text
    } cases[] = {
        {"-3", "0", 0}, {"150", "99", 99}, {"05", "5", 5},  {"7", "7", 7},  {"-", "-", 0},
        {"", "", 0},    {"5x", "5x", 5},   {"2.5", "3", 3}, {"-0", "0", 0}, {"99", "99", 99},
    };
    for (const auto& c : cases) {
        const QString bounded = boundedRecordText(QString::fromLatin1(c.text));
        EXPECT_EQ(bounded, QString::fromLatin1(c.bounded)) << c.text;
        EXPECT_EQ(recordNumberOf(bounded), c.record) << c.text;
    }
}

TEST(EditorLimits, FollowTheModelAndNarrowWithoutOverflow)
{
    for (int model = 0; model < kModelCount; ++model) {
        const ModelLimits limits = limitsOf(model);
        EXPECT_EQ(limits.voltMaxHigh, kVoltMaxHigh[static_cast<size_t>(model)]);
        EXPECT_EQ(limits.ocpMax, kOcpMax[static_cast<size_t>(model)]);
    }
    EXPECT_TRUE(std::isinf(toSingle(1e300)) && toSingle(1e300) > 0);
    EXPECT_TRUE(std::isinf(toSingle(-DBL_MAX)) && toSingle(-DBL_MAX) < 0);
    EXPECT_EQ(toSingle(8.24), 8.24f);
}

} // namespace
