// The editor's field rules, tested directly: limits in single precision, the rule that gives way,
// the fixed bounds, the adjusters' steps and the record number.

#include "app/program_state.h"
#include "editor/field_checks.h"

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
        {0, true, "8.24", "15.000", std::nullopt},
        {0, true, "8.2400001", "15.000", std::nullopt}, // the same single-precision value as the limit
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

enum class Rule
{
    Ovp,
    Ocp,
    Delay,
    Leaving,
};

std::optional<QString> apply(Rule rule, int model, const QString& text)
{
    switch (rule) {
    case Rule::Ovp:
        return checkOvpLevel(text, limitsOf(model));
    case Rule::Ocp:
        return checkOcpLevel(text, limitsOf(model));
    case Rule::Delay:
        return checkDelay(text);
    case Rule::Leaving:
        return levelTextOnLeaving(text);
    }
    return std::nullopt;
}

TEST(EditorLevelRules, ProtectionLevelsDelayAndLeavingAField)
{
    using enum Rule;
    const struct
    {
        Rule rule;
        int model;
        const char* text;
        std::optional<QString> result;
    } cases[] = {
        {Ovp, 0, "30", "22.000"},       {Ovp, 0, "0.5", "1.000"},     {Ovp, 0, "", "1.000"},
        {Ovp, 0, "1", std::nullopt},    {Ovp, 0, "22", std::nullopt}, {Ovp, 1, "33", "32.000"},
        {Ocp, 0, "-1", "0.000"},        {Ocp, 0, "", std::nullopt},   {Ocp, 0, "23", "22.000"},
        {Ocp, 1, "7.7", std::nullopt},  {Ocp, 1, "7.71", "7.700"},    {Delay, 0, "", "1"},
        {Delay, 0, "0.5", "1"},         {Delay, 0, "60000", "59999"}, {Delay, 0, "59999", std::nullopt},
        {Delay, 0, "5x", std::nullopt}, {Leaving, 0, "", "0.000"},    {Leaving, 0, "2.5", "2.500"},
        {Leaving, 0, "12V", "12.000"},  {Leaving, 0, "-0", "0.000"},  {Leaving, 0, "1.23456", "1.235"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(apply(c.rule, c.model, QString::fromLatin1(c.text)), c.result)
            << int(c.rule) << " " << c.model << " " << c.text;
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

} // namespace
